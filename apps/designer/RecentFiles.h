// The designer's recent files: the forms last opened or saved, newest first,
// kept one path a line in $XDG_CONFIG_HOME/launchdeck/recent (else
// ~/.config/launchdeck/recent). The list is a convenience: a missing, unreadable
// or malformed file gives what can be used of it (lines that are empty, too
// long or hold control characters are passed over), and a list that cannot be
// written is kept for this session only.
#pragma once

#include <string>
#include <vector>

namespace ld {

class TRecentFiles {
public:
    static constexpr size_t MaxEntries = 8;
    // Longer lines are no paths this list wrote.
    static constexpr size_t MaxPathLength = 4096;

    // Reads the list kept in File (empty: no file, the list lives in memory).
    explicit TRecentFiles(std::string file);

    // Where the list is kept by default: under $XDG_CONFIG_HOME, else $HOME/.config;
    // "" when neither is set.
    static std::string DefaultFile();
    // The entries of a list file's text.
    static std::vector<std::string> Parse(const std::string& text);

    const std::vector<std::string>& Entries() const { return FEntries; }
    // Puts Path first (absolute, once) and writes the list.
    void Add(const std::string& path);
    // Takes Path out (a file that could not be opened) and writes the list.
    void Remove(const std::string& path);

private:
    void Write() const;

    std::string FFile;
    std::vector<std::string> FEntries;
};

} // namespace ld
