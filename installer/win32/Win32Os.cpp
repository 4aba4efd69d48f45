#include "installer/win32/Win32Os.h"

#include "installer/core/PathText.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace ld::deckinstall {

namespace {

HKEY RootKeyOf(TRootKey root)
{
    return root == TRootKey::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

HKEY KeyOf(TKeyHandle key)
{
    return reinterpret_cast<HKEY>(key);
}

class TFileHandle {
public:
    explicit TFileHandle(HANDLE handle) : FHandle(handle) {}
    ~TFileHandle()
    {
        if (Valid())
            CloseHandle(FHandle);
    }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    bool Valid() const { return FHandle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return FHandle; }
    bool Close()
    {
        const bool closed = !Valid() || CloseHandle(FHandle) != 0;
        FHandle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE FHandle;
};

bool WriteAll(HANDLE file, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace

bool TWin32Os::OpenKey(TRootKey root, const std::string& path, TKeyHandle& key)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExA(RootKeyOf(root), path.c_str(), 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS)
        return false;
    key = reinterpret_cast<TKeyHandle>(opened);
    return true;
}

TQueryResult TWin32Os::QueryValue(TKeyHandle key, const std::string& name, TRegValueData& data)
{
    DWORD type = 0;
    DWORD size = 0;
    LONG result = RegQueryValueExA(KeyOf(key), name.c_str(), nullptr, &type, nullptr, &size);
    if (result == ERROR_FILE_NOT_FOUND)
        return TQueryResult::NotFound;
    if (result != ERROR_SUCCESS)
        return TQueryResult::Failed;
    for (;;) {
        data.Bytes.assign(size, '\0');
        result = RegQueryValueExA(KeyOf(key), name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(data.Bytes.data()), &size);
        if (result != ERROR_MORE_DATA)
            break;
    }
    if (result != ERROR_SUCCESS)
        return TQueryResult::Failed;
    data.Bytes.resize(size);
    data.Type = type;
    return TQueryResult::Ok;
}

bool TWin32Os::SetStringValue(TKeyHandle key, const std::string& name, const std::string& text)
{
    return RegSetValueExA(KeyOf(key), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

std::vector<std::string> TWin32Os::ValueNames(TKeyHandle key)
{
    std::vector<std::string> names;
    DWORD count = 0;
    DWORD longest = 0;
    if (RegQueryInfoKeyA(KeyOf(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longest,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::string buffer(longest + 1, '\0');
    for (DWORD index = 0; index < count; ++index) {
        DWORD length = static_cast<DWORD>(buffer.size());
        if (RegEnumValueA(KeyOf(key), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.emplace_back(buffer.data(), length);
    }
    return names;
}

bool TWin32Os::DeleteValue(TKeyHandle key, const std::string& name)
{
    return RegDeleteValueA(KeyOf(key), name.c_str()) == ERROR_SUCCESS;
}

void TWin32Os::CloseKey(TKeyHandle key)
{
    RegCloseKey(KeyOf(key));
}

bool TWin32Os::IsFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool TWin32Os::CopyFileTo(const std::string& from, const std::string& to, bool failIfExists)
{
    return CopyFileA(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE) != 0;
}

bool TWin32Os::RemoveFile(const std::string& path)
{
    return DeleteFileA(path.c_str()) != 0;
}

std::vector<std::string> TWin32Os::FindNames(const std::string& pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.emplace_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::string TWin32Os::SystemFolder()
{
    std::string buffer(MAX_PATH, '\0');
    UINT length = GetSystemDirectoryA(buffer.data(), MAX_PATH);
    // A longer folder is read whole rather than cut at 260 characters.
    if (length >= MAX_PATH) {
        buffer.assign(length + 1, '\0');
        length = GetSystemDirectoryA(buffer.data(), length + 1);
    }
    buffer.resize(length < buffer.size() ? length : 0);
    return buffer;
}

std::string TWin32Os::ProgramFileName()
{
    std::string buffer(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::string();
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.assign(buffer.size() * 2, '\0');
    }
}

bool TWin32Os::ReadWholeFile(const std::string& path, std::string& bytes)
{
    TFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 || size.QuadPart > 0x7FFFFFFF)
        return false;
    bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr))
            return false;
        if (read == 0)
            break;
        done += read;
    }
    bytes.resize(done);
    return true;
}

bool TWin32Os::WriteWholeFile(const std::string& path, const std::string& bytes)
{
    // The file must be one we may write (a read-only file may not); the new
    // content then goes to a temporary file that replaces it in one step.
    {
        TFileHandle probe(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe.Valid())
            return false;
    }
    std::string folder = FolderPart(path);
    if (folder.empty())
        folder = ".";
    char temporary[MAX_PATH + 16] = {};
    if (folder.size() >= MAX_PATH - 14 || GetTempFileNameA(folder.c_str(), "ldi", 0, temporary) == 0)
        return false;
    TFileHandle file(CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const bool written = file.Valid() && WriteAll(file.Get(), bytes) && FlushFileBuffers(file.Get());
    const bool closed = file.Close();
    if (!written || !closed ||
        !MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temporary);
        return false;
    }
    return true;
}

bool TWin32Os::SameTextIgnoreCase(const std::string& a, const std::string& b)
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

void TWin32Os::ShowMessage(const std::string& text, const std::string& caption, TMessageKind kind)
{
    const UINT style = kind == TMessageKind::Information ? MB_OK | MB_ICONINFORMATION
                                                         : MB_OK | MB_ICONERROR | MB_TASKMODAL;
    MessageBoxA(nullptr, text.c_str(), caption.c_str(), style);
}

} // namespace ld::deckinstall
