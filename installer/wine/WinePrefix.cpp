#include "installer/wine/WinePrefix.h"

#include "installer/wine/Codepage.h"

#include <cctype>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace ld::deckinstall {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> SplitParts(const std::string& rest)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : rest) {
        if (c == '\\') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}

bool SameName(const std::string& a, const std::string& b)
{
    return SameTextWide(Utf8ToWide(a), Utf8ToWide(b));
}

bool Exists(const fs::path& path)
{
    std::error_code error;
    return fs::symlink_status(path, error).type() != fs::file_type::not_found && !error;
}

// The entry of Folder named like Name in another case, or empty.
std::string FindNameIgnoringCase(const fs::path& folder, const std::string& name)
{
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error)
        return std::string();
    for (const fs::directory_entry& entry : it) {
        const std::string candidate = entry.path().filename().string();
        if (SameName(candidate, name))
            return candidate;
    }
    return std::string();
}

std::string HexOf(unsigned long long value)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), digits[value & 15]);
        value >>= 4;
    } while (value != 0);
    return text;
}

} // namespace

TWinePrefix::TWinePrefix(fs::path folder) : FFolder(fs::absolute(std::move(folder)).lexically_normal())
{
    std::error_code error;
    if (!fs::is_directory(FFolder, error))
        throw EWinePrefixError("no Wine prefix at " + FFolder.string() + " (set WINEPREFIX to the prefix folder)");
    for (const char* name : {"system.reg", "user.reg"})
        if (!fs::is_regular_file(FFolder / name, error))
            throw EWinePrefixError(FFolder.string() + " is not a Wine prefix: it has no " + name);
    if (!fs::is_directory(FFolder / "dosdevices", error))
        throw EWinePrefixError(FFolder.string() + " is not a Wine prefix: it has no dosdevices folder");
}

fs::path TWinePrefix::DefaultFolder()
{
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0')
        return fs::path(prefix);
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        const passwd* entry = getpwuid(getuid());
        home = entry != nullptr ? entry->pw_dir : "/";
    }
    return fs::path(home) / ".wine";
}

fs::path TWinePrefix::DriveTarget(char letter) const
{
    const char name[3] = {static_cast<char>(std::tolower(static_cast<unsigned char>(letter))), ':', '\0'};
    return FFolder / "dosdevices" / name;
}

fs::path TWinePrefix::ResolveParts(fs::path base, const std::string& rest, bool allowRedirect) const
{
    std::vector<std::string> parts;
    for (const std::string& part : SplitParts(rest)) {
        if (part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    // A 32-bit program's C:\windows\system32 is the prefix's syswow64.
    if (allowRedirect && FWin64 && parts.size() >= 2 && SameName(parts[0], "windows") &&
        SameName(parts[1], "system32"))
        parts[1] = "syswow64";
    // Most paths are written in the case they have on disk: one look-up then.
    fs::path exact = base;
    for (const std::string& part : parts)
        exact /= part;
    if (Exists(exact))
        return exact;
    fs::path path = std::move(base);
    bool matching = true;
    for (const std::string& part : parts) {
        if (matching && !Exists(path / part)) {
            const std::string other = FindNameIgnoringCase(path, part);
            if (!other.empty()) {
                path /= other;
                continue;
            }
            matching = false; // what follows cannot exist either
        }
        path /= part;
    }
    return path;
}

fs::path TWinePrefix::ToLinuxPath(const std::string& windowsPath) const
{
    std::string path = AnsiToUtf8(windowsPath);
    for (char& c : path)
        if (c == '/')
            c = '\\';
    const std::string unixForm = "\\\\?\\unix\\";
    if (path.size() >= unixForm.size() && SameName(path.substr(0, unixForm.size()), unixForm))
        return ResolveParts("/", path.substr(unixForm.size()), false);
    if (path.rfind("\\\\", 0) == 0)
        return fs::path(); // network and device paths are no drive of the prefix
    if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') {
        const fs::path target = DriveTarget(path[0]);
        if (!Exists(target))
            return fs::path();
        const bool isC = std::tolower(static_cast<unsigned char>(path[0])) == 'c';
        return ResolveParts(target, path.substr(2), isC);
    }
    std::error_code error;
    const fs::path current = fs::current_path(error);
    if (path.rfind('\\', 0) == 0) {
        // The root of the current folder's drive.
        const std::string currentWindows = ToWindowsPath(current);
        if (currentWindows.size() >= 2 && currentWindows[1] == ':')
            return ResolveParts(DriveTarget(currentWindows[0]), path, currentWindows[0] == 'C');
        return ResolveParts("/", path, false);
    }
    return ResolveParts(current, path, false);
}

std::string TWinePrefix::ToWindowsPath(const fs::path& linuxPath) const
{
    std::error_code error;
    const fs::path path = fs::weakly_canonical(linuxPath, error);
    const std::string text = (error ? linuxPath : path).string();
    char bestLetter = 0;
    std::string bestTarget;
    for (const fs::directory_entry& entry : fs::directory_iterator(FFolder / "dosdevices", error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() != 2 || name[1] != ':' || !std::isalpha(static_cast<unsigned char>(name[0])))
            continue;
        std::error_code linkError;
        const std::string target = fs::canonical(entry.path(), linkError).string();
        if (linkError)
            continue;
        const bool inside = text == target || target == "/" || text.rfind(target + "/", 0) == 0;
        if (inside && (bestLetter == 0 || target.size() > bestTarget.size())) {
            bestLetter = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
            bestTarget = target;
        }
    }
    std::string windows;
    if (bestLetter != 0) {
        std::string rest = text.substr(bestTarget == "/" ? 1 : bestTarget.size());
        if (!rest.empty() && rest[0] == '/')
            rest.erase(0, 1);
        windows = std::string(1, bestLetter) + ":\\" + rest;
    } else {
        windows = "\\\\?\\unix" + text;
    }
    for (char& c : windows)
        if (c == '/')
            c = '\\';
    return Utf8ToAnsi(windows);
}

fs::path TWinePrefix::ServerFolder() const
{
    struct stat info {};
    if (stat(FFolder.c_str(), &info) != 0)
        return fs::path();
    return fs::path("/tmp/.wine-" + std::to_string(getuid())) /
           ("server-" + HexOf(static_cast<unsigned long long>(info.st_dev)) + "-" +
            HexOf(static_cast<unsigned long long>(info.st_ino)));
}

bool TWinePrefix::ServerRunning() const
{
    const fs::path folder = ServerFolder();
    if (folder.empty())
        return false;
    const int fd = open((folder / "lock").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    const bool locked = fcntl(fd, F_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
    close(fd);
    return locked;
}

} // namespace ld::deckinstall
