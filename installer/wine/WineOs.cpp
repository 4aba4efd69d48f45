#include "installer/wine/WineOs.h"

#include "installer/wine/Codepage.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ld::deckinstall {

namespace fs = std::filesystem;

namespace {

// Windows' read-only attribute: no write permission bit at all. Checked by mode,
// so that it holds for root too, as it does under Wine.
bool IsReadOnly(const fs::path& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return false;
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(path.c_str(), W_OK) != 0;
}

// False with errno set when the file cannot be read (EISDIR for a folder,
// EINVAL for anything else but a regular file).
bool ReadBytes(const fs::path& path, std::string& bytes)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    int reason = 0;
    if (fstat(fd, &info) != 0)
        reason = errno;
    else if (!S_ISREG(info.st_mode))
        reason = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    if (reason != 0) {
        close(fd);
        errno = reason;
        return false;
    }
    bytes.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            const int reason = got < 0 ? errno : 0;
            close(fd);
            errno = reason;
            return got == 0;
        }
        bytes.append(buffer, static_cast<size_t>(got));
    }
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// A temporary file in the target's folder renamed over the target: a reader sees
// the old or the new content, never a part.
bool WriteAtomically(const fs::path& target, std::string_view bytes, mode_t mode)
{
    std::string pattern = (target.parent_path() / ("." + target.filename().string() + ".deckinstall-XXXXXX")).string();
    const int fd = mkstemp(pattern.data());
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, bytes) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    if (!written || !closed || rename(pattern.c_str(), target.c_str()) != 0) {
        unlink(pattern.c_str());
        return false;
    }
    return true;
}

mode_t ModeOf(const fs::path& path, mode_t fallback)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return fallback;
    return info.st_mode & 07777;
}

mode_t DefaultFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Where a write to Path lands: the file a symbolic link points to, if it is one.
fs::path WriteTarget(const fs::path& path)
{
    std::error_code error;
    const fs::path resolved = fs::canonical(path, error);
    return error ? path : resolved;
}

bool MatchFolded(std::u16string_view name, std::u16string_view pattern)
{
    size_t n = 0;
    size_t p = 0;
    size_t starP = std::u16string_view::npos;
    size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (starP != std::u16string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

std::u16string ToWide(const std::string& ansi)
{
    return AnsiToWide(ansi);
}

} // namespace

bool MatchesWildcard(std::u16string_view name, std::u16string_view pattern)
{
    const std::u16string foldedName = FoldCase(name);
    const std::u16string foldedPattern = FoldCase(pattern);
    if (MatchFolded(foldedName, foldedPattern))
        return true;
    if (foldedPattern.ends_with(u".*") && foldedName.find(u'.') == std::u16string::npos)
        return MatchFolded(foldedName, std::u16string_view(foldedPattern).substr(0, foldedPattern.size() - 2));
    return false;
}

TWineOs::TWineOs(TWinePrefix prefix, std::ostream& out, std::ostream& err)
    : FPrefix(std::move(prefix)), FOut(out), FErr(err)
{
    FMachine = LoadHive(FPrefix.SystemRegistryFile());
    FUser = LoadHive(FPrefix.UserRegistryFile());
    const std::string& arch = FMachine.File->Architecture();
    std::error_code error;
    FPrefix.SetWin64(arch == "win64" ||
                     (arch.empty() && fs::is_directory(FPrefix.Folder() / "drive_c" / "windows" / "syswow64", error)));
}

TWineOs::THive TWineOs::LoadHive(const fs::path& fileName)
{
    std::string text;
    if (!ReadBytes(fileName, text))
        throw EWinePrefixError("cannot read " + fileName.string() + ": " + std::strerror(errno));
    THive hive;
    hive.FileName = fileName;
    hive.File = std::make_unique<TRegistryFile>(std::move(text), fileName.string());
    // Full access is refused for a hive we may not change.
    hive.Writable = !IsReadOnly(fileName);
    return hive;
}

bool TWineOs::SaveHive(THive& hive)
{
    const fs::path target = WriteTarget(hive.FileName);
    return WriteAtomically(target, hive.File->Serialize(), ModeOf(target, 0644));
}

std::u16string TWineOs::KeyPath(TRootKey root, const std::string& path) const
{
    std::u16string wide = ToWide(path);
    while (!wide.empty() && wide.front() == u'\\')
        wide.erase(0, 1);
    while (!wide.empty() && wide.back() == u'\\')
        wide.pop_back();
    if (root != TRootKey::LocalMachine || !FPrefix.IsWin64())
        return wide;
    // A 32-bit program's HKEY_LOCAL_MACHINE\Software is Software\Wow6432Node.
    const size_t first = wide.find(u'\\');
    const std::u16string head = wide.substr(0, first);
    if (!SameTextWide(head, u"Software"))
        return wide;
    const std::u16string rest = first == std::u16string::npos ? std::u16string() : wide.substr(first + 1);
    if (SameTextWide(rest.substr(0, rest.find(u'\\')), u"Wow6432Node"))
        return wide;
    return head + u"\\Wow6432Node" + (rest.empty() ? std::u16string() : u"\\" + rest);
}

TWineOs::TOpenKey* TWineOs::FindKey(TKeyHandle key)
{
    const auto found = FOpenKeys.find(key);
    return found == FOpenKeys.end() ? nullptr : &found->second;
}

bool TWineOs::OpenKey(TRootKey root, const std::string& path, TKeyHandle& key)
{
    THive& hive = root == TRootKey::LocalMachine ? FMachine : FUser;
    const std::u16string keyPath = KeyPath(root, path);
    if (!hive.Writable || !hive.File->KeyExists(keyPath))
        return false;
    key = FNextKey++;
    FOpenKeys[key] = TOpenKey{&hive, keyPath};
    return true;
}

TQueryResult TWineOs::QueryValue(TKeyHandle key, const std::string& name, TRegValueData& data)
{
    const TOpenKey* open = FindKey(key);
    if (open == nullptr)
        return TQueryResult::Failed;
    TRegistryData stored;
    if (!open->Hive->File->QueryValue(open->Path, ToWide(name), stored))
        return TQueryResult::NotFound;
    data.Type = stored.Type;
    // The "A" call converts string data to the code page, zero bytes included.
    if (stored.Type == REG_SZ || stored.Type == REG_EXPAND_SZ || stored.Type == REG_MULTI_SZ)
        data.Bytes = WideToAnsi(BytesToWide(stored.Bytes));
    else
        data.Bytes = stored.Bytes;
    return TQueryResult::Ok;
}

bool TWineOs::SetStringValue(TKeyHandle key, const std::string& name, const std::string& text)
{
    TOpenKey* open = FindKey(key);
    if (open == nullptr)
        return false;
    TRegistryData data;
    data.Type = REG_SZ;
    data.Bytes = WideToBytes(ToWide(text) + u'\0');
    open->Hive->File->SetValue(open->Path, ToWide(name), data, FileTimeNow());
    return SaveHive(*open->Hive);
}

std::vector<std::string> TWineOs::ValueNames(TKeyHandle key)
{
    const TOpenKey* open = FindKey(key);
    std::vector<std::string> names;
    if (open != nullptr)
        for (const std::u16string& name : open->Hive->File->ValueNames(open->Path))
            names.push_back(WideToAnsi(name));
    return names;
}

bool TWineOs::DeleteValue(TKeyHandle key, const std::string& name)
{
    TOpenKey* open = FindKey(key);
    if (open == nullptr || !open->Hive->File->DeleteValue(open->Path, ToWide(name), FileTimeNow()))
        return false;
    return SaveHive(*open->Hive);
}

void TWineOs::CloseKey(TKeyHandle key)
{
    FOpenKeys.erase(key);
}

bool TWineOs::IsFile(const std::string& path)
{
    const fs::path linux = FPrefix.ToLinuxPath(path);
    std::error_code error;
    return !linux.empty() && fs::is_regular_file(linux, error);
}

bool TWineOs::CopyFileTo(const std::string& from, const std::string& to, bool failIfExists)
{
    const fs::path source = FPrefix.ToLinuxPath(from);
    const fs::path target = FPrefix.ToLinuxPath(to);
    std::error_code error;
    if (source.empty() || target.empty() || !fs::is_regular_file(source, error))
        return false;
    if (fs::exists(target, error)) {
        if (failIfExists || !fs::is_regular_file(target, error) || IsReadOnly(target) ||
            fs::equivalent(source, target, error))
            return false;
    } else if (!fs::is_directory(target.parent_path(), error)) {
        return false;
    }
    std::string bytes;
    if (!ReadBytes(source, bytes))
        return false;
    const fs::path written = WriteTarget(target);
    // Like the system's copy: content, attributes and time of last change.
    if (!WriteAtomically(written, bytes, ModeOf(source, DefaultFileMode())))
        return false;
    const fs::file_time_type time = fs::last_write_time(source, error);
    if (!error)
        fs::last_write_time(written, time, error);
    return true;
}

bool TWineOs::RemoveFile(const std::string& path)
{
    const fs::path linux = FPrefix.ToLinuxPath(path);
    std::error_code error;
    if (linux.empty() || fs::is_directory(linux, error) || !fs::exists(fs::symlink_status(linux, error)))
        return false;
    if (IsReadOnly(linux))
        return false;
    return unlink(linux.c_str()) == 0;
}

std::vector<std::string> TWineOs::FindNames(const std::string& pattern)
{
    const size_t slash = pattern.rfind('\\');
    const std::string folder = slash == std::string::npos ? std::string(".") : pattern.substr(0, slash + 1);
    const std::u16string namePattern = ToWide(slash == std::string::npos ? pattern : pattern.substr(slash + 1));
    std::vector<std::string> names;
    const fs::path linux = FPrefix.ToLinuxPath(folder);
    std::error_code error;
    if (linux.empty() || !fs::is_directory(linux, error))
        return names;
    for (const fs::directory_entry& entry : fs::directory_iterator(linux, error)) {
        const std::u16string name = Utf8ToWide(entry.path().filename().string());
        if (MatchesWildcard(name, namePattern))
            names.push_back(WideToAnsi(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string TWineOs::SystemFolder()
{
    return "C:\\windows\\system32";
}

std::string TWineOs::ProgramFileName()
{
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return FPrefix.ToWindowsPath(error ? fs::path() : self);
}

bool TWineOs::ReadWholeFile(const std::string& path, std::string& bytes)
{
    const fs::path linux = FPrefix.ToLinuxPath(path);
    return !linux.empty() && ReadBytes(linux, bytes);
}

bool TWineOs::WriteWholeFile(const std::string& path, const std::string& bytes)
{
    const fs::path linux = FPrefix.ToLinuxPath(path);
    std::error_code error;
    if (linux.empty())
        return false;
    if (fs::exists(linux, error)) {
        if (!fs::is_regular_file(linux, error) || IsReadOnly(linux))
            return false;
    } else if (!fs::is_directory(linux.parent_path(), error)) {
        return false;
    }
    const fs::path target = WriteTarget(linux);
    return WriteAtomically(target, bytes, ModeOf(target, DefaultFileMode()));
}

bool TWineOs::SameTextIgnoreCase(const std::string& a, const std::string& b)
{
    return SameTextWide(ToWide(a), ToWide(b));
}

void TWineOs::ShowMessage(const std::string& text, const std::string& caption, TMessageKind kind)
{
    std::ostream& stream = kind == TMessageKind::Information ? FOut : FErr;
    stream << caption << '\n' << text << '\n';
    stream.flush();
}

} // namespace ld::deckinstall
