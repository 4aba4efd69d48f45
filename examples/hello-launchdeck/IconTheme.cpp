#include "IconTheme.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "platform/core/SysUtils.h"

namespace hello {
namespace {

namespace fs = std::filesystem;

std::string Env(const char* name, const std::string& fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        if (!part.empty())
            parts.push_back(part);
    return parts;
}

// Where icon themes live, the user's own first.
std::vector<fs::path> IconFolders()
{
    const std::string home = Env("HOME", "");
    std::vector<fs::path> folders;
    if (!home.empty()) {
        folders.push_back(fs::path(Env("XDG_DATA_HOME", home + "/.local/share")) / "icons");
        folders.push_back(fs::path(home) / ".icons");
    }
    for (const std::string& dir : Split(Env("XDG_DATA_DIRS", "/usr/local/share:/usr/share"), ':'))
        folders.push_back(fs::path(dir) / "icons");
    return folders;
}

// The keys of a theme's index.theme, by section: {"Icon Theme", {"Inherits", ...}}.
using TIndex = std::map<std::string, std::map<std::string, std::string>>;

TIndex ReadIndex(const fs::path& file)
{
    TIndex index;
    std::ifstream in(file);
    std::string section;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > 2 && line.front() == '[' && line.back() == ']')
            section = line.substr(1, line.size() - 2);
        else if (const size_t eq = line.find('='); eq != std::string::npos)
            index[section][line.substr(0, eq)] = line.substr(eq + 1);
    }
    return index;
}

// Finds Name at Size pixels in one theme: its folders of fixed-size pictures of
// that size, as its index lists them. Inherits collects the themes it names.
fs::path FindInTheme(const std::string& theme, const std::string& name, int size, std::vector<std::string>& inherits)
{
    for (const fs::path& base : IconFolders()) {
        const fs::path root = base / theme;
        const TIndex index = ReadIndex(root / "index.theme");
        const auto header = index.find("Icon Theme");
        if (header == index.end())
            continue;
        for (const std::string& parent : Split(header->second.count("Inherits") ? header->second.at("Inherits") : "", ','))
            inherits.push_back(parent);
        for (const std::string& dir : Split(header->second.count("Directories") ? header->second.at("Directories") : "", ',')) {
            const auto entry = index.find(dir);
            if (entry == index.end())
                continue;
            const auto& keys = entry->second;
            const bool fixed = !keys.count("Type") || keys.at("Type") != "Scalable";
            const bool single = !keys.count("Scale") || keys.at("Scale") == "1";
            if (!fixed || !single || !keys.count("Size") || keys.at("Size") != std::to_string(size))
                continue;
            const fs::path file = root / dir / (name + ".png");
            if (fs::is_regular_file(file))
                return file;
        }
    }
    return {};
}

} // namespace

fs::path FindThemeIcon(const std::string& name, int size)
{
    // The user's theme and every theme it inherits, breadth first, each once;
    // hicolor last, as every theme implies it.
    std::vector<std::string> themes{Env("HELLO_ICON_THEME", "default")};
    for (size_t i = 0; i < themes.size(); ++i) {
        std::vector<std::string> inherits;
        if (fs::path file = FindInTheme(themes[i], name, size, inherits); !file.empty())
            return file;
        for (const std::string& parent : inherits)
            if (std::find(themes.begin(), themes.end(), parent) == themes.end() && parent != "hicolor")
                themes.push_back(parent);
        if (i + 1 == themes.size() && themes.back() != "hicolor")
            themes.push_back("hicolor");
    }
    std::string searched;
    for (const fs::path& folder : IconFolders())
        searched += (searched.empty() ? "" : ", ") + folder.string();
    std::string names;
    for (const std::string& theme : themes)
        names += (names.empty() ? "" : ", ") + theme;
    throw ld::Exception("no " + std::to_string(size) + "x" + std::to_string(size) + " icon \"" + name +
                        "\" in the icon themes " + names + " (looked in " + searched +
                        "; Debian installs one with adwaita-icon-theme)");
}

} // namespace hello
