// Icons by name from the user's icon theme, as a desktop finds them: the theme
// the system names "default" and the themes it inherits, then "hicolor", each
// looked up in ~/.local/share/icons, ~/.icons and the data folders of
// XDG_DATA_DIRS.
#pragma once

#include <filesystem>
#include <string>

namespace hello {

// The PNG file of icon Name (such as "user-home") drawn at Size x Size pixels.
// Raises ld::Exception naming the icon, the themes and the folders searched
// when the theme has no such file.
std::filesystem::path FindThemeIcon(const std::string& name, int size);

} // namespace hello
