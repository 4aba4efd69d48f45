#include "apps/designer/RecentFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace ld {

namespace {

// A list this long holds MaxEntries paths of MaxPathLength; more is no list of ours.
constexpr std::streamsize MaxFileBytes = 64 * 1024;

bool IsUsablePath(const std::string& line)
{
    if (line.empty() || line.size() > TRecentFiles::MaxPathLength)
        return false;
    return std::none_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 32; });
}

std::string Absolute(const std::string& path)
{
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

} // namespace

TRecentFiles::TRecentFiles(std::string file) : FFile(std::move(file))
{
    if (FFile.empty())
        return;
    std::ifstream in(FFile, std::ios::binary);
    if (!in)
        return;
    std::string text(static_cast<size_t>(MaxFileBytes), '\0');
    in.read(text.data(), MaxFileBytes);
    text.resize(static_cast<size_t>(in.gcount()));
    FEntries = Parse(text);
}

std::string TRecentFiles::DefaultFile()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path folder;
    if (config != nullptr && config[0] == '/')
        folder = config;
    else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0')
        folder = std::filesystem::path(home) / ".config";
    else
        return {};
    return (folder / "launchdeck" / "recent").string();
}

std::vector<std::string> TRecentFiles::Parse(const std::string& text)
{
    std::vector<std::string> entries;
    size_t start = 0;
    while (start < text.size() && entries.size() < MaxEntries) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (IsUsablePath(line) && std::find(entries.begin(), entries.end(), line) == entries.end())
            entries.push_back(line);
        start = end + 1;
    }
    return entries;
}

void TRecentFiles::Add(const std::string& path)
{
    const std::string entry = Absolute(path);
    if (!IsUsablePath(entry))
        return;
    std::erase(FEntries, entry);
    FEntries.insert(FEntries.begin(), entry);
    if (FEntries.size() > MaxEntries)
        FEntries.resize(MaxEntries);
    Write();
}

void TRecentFiles::Remove(const std::string& path)
{
    if (std::erase(FEntries, Absolute(path)) > 0)
        Write();
}

// Written beside the list and renamed over it, so a reader never sees half a list.
void TRecentFiles::Write() const
{
    if (FFile.empty())
        return;
    std::error_code ec;
    const std::filesystem::path file(FFile);
    std::filesystem::create_directories(file.parent_path(), ec);
    const std::string temporary = FFile + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        for (const std::string& entry : FEntries)
            out << entry << '\n';
        out.close();
        if (!out) {
            std::remove(temporary.c_str());
            return;
        }
    }
    std::filesystem::rename(temporary, file, ec);
    if (ec)
        std::remove(temporary.c_str());
}

} // namespace ld
