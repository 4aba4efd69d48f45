// The designer's list of recent files is read from a file anyone may have
// edited: whatever it holds, the list has at most MaxEntries distinct paths of
// printable characters, none too long, and written out it reads back the same.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "apps/designer/RecentFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> entries = ld::TRecentFiles::Parse(text);
    if (entries.size() > ld::TRecentFiles::MaxEntries)
        std::abort();
    std::string written;
    for (const std::string& entry : entries) {
        if (entry.empty() || entry.size() > ld::TRecentFiles::MaxPathLength ||
            std::any_of(entry.begin(), entry.end(), [](char c) { return static_cast<unsigned char>(c) < 32; }) ||
            std::count(entries.begin(), entries.end(), entry) != 1)
            std::abort();
        written += entry + "\n";
    }
    if (ld::TRecentFiles::Parse(written) != entries)
        std::abort();
    return 0;
}
