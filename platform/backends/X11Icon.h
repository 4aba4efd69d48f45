// The program's main icon (its icon group MAINICON) as a window manager
// takes it: _NET_WM_ICON's list of images, each its width, its height and
// its pixels as 32-bit ARGB values. Icon images are packed bitmaps (with the
// transparency mask after the colours) or PNG files.
#pragma once

#include <vector>

#include "platform/core/Resources.h"

namespace ld::x11 {

// The images of the module's MAINICON, largest first; empty when the module
// has none. A malformed image is left out.
std::vector<unsigned long> MainIconProperty(HMODULE module);

// One icon resource's pixels; raises EInvalidGraphic when it is malformed.
std::vector<unsigned long> IconImageProperty(const uint8_t* data, size_t size);

} // namespace ld::x11
