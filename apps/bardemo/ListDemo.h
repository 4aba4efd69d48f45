// The bar demo's lists: sheets holding lists with icons of the Adwaita theme,
// saved as PNG files.
#pragma once

#include <filesystem>

namespace ld {

class THeadlessBackend;

// Writes list_large.png, list_small.png, list_fullselect.png (a hot item
// raised, pressed, and pressed with the pointer gone) and list_scrolled.png
// into Out. A missing icon file raises an exception that names it.
void RunListDemo(THeadlessBackend& backend, const std::filesystem::path& out);

} // namespace ld
