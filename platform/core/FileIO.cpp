#include "platform/core/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/core/SysUtils.h"

namespace ld {

namespace {

// Closes a descriptor when it goes out of scope.
class TDescriptor {
public:
    explicit TDescriptor(int fd) : FFd(fd) {}
    ~TDescriptor()
    {
        if (FFd >= 0)
            ::close(FFd);
    }
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    int Get() const { return FFd; }
    // Closes now and gives the error of the close (0 when none).
    int Close()
    {
        const int result = ::close(FFd) == 0 ? 0 : errno;
        FFd = -1;
        return result;
    }

private:
    int FFd;
};

[[noreturn]] void OpenFailed(const std::string& fileName, int code)
{
    throw EFOpenError(Format("Cannot open file %s: %s", {fileName, SysErrorMessage(code)}));
}

[[noreturn]] void ReadFailed(const std::string& fileName, const std::string& reason)
{
    throw EInOutError(Format("Cannot read file %s: %s", {fileName, reason}));
}

[[noreturn]] void CreateFailed(const std::string& fileName, int code)
{
    throw EFCreateError(Format("Cannot create file %s: %s", {fileName, SysErrorMessage(code)}));
}

[[noreturn]] void WriteFailed(const std::string& fileName, int code)
{
    throw EInOutError(Format("Cannot write file %s: %s", {fileName, SysErrorMessage(code)}));
}

int OpenForReading(const std::string& fileName)
{
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        OpenFailed(fileName, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int code = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        OpenFailed(fileName, code);
    }
    return fd;
}

// Up to Limit bytes; with Whole set, more than Limit is an error. Read in
// steps rather than by the size the file claims: devices and pipes claim none.
std::string ReadUpTo(const std::string& fileName, size_t limit, bool whole)
{
    TDescriptor fd(OpenForReading(fileName));
    std::string data;
    char buffer[65536];
    for (;;) {
        const size_t want = whole ? sizeof buffer : std::min(sizeof buffer, limit - data.size());
        if (want == 0)
            break;
        const ssize_t got = ::read(fd.Get(), buffer, want);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ReadFailed(fileName, SysErrorMessage(errno));
        }
        if (got == 0)
            break;
        if (whole && static_cast<size_t>(got) > limit - data.size())
            ReadFailed(fileName, Format("it holds more than %d bytes", {static_cast<Int64>(limit)}));
        data.append(buffer, static_cast<size_t>(got));
    }
    return data;
}

void WriteAll(int fd, std::string_view data, const std::string& fileName)
{
    while (!data.empty()) {
        const ssize_t put = ::write(fd, data.data(), data.size());
        if (put < 0) {
            if (errno == EINTR)
                continue;
            WriteFailed(fileName, errno);
        }
        data.remove_prefix(static_cast<size_t>(put));
    }
}

// The file a name stands for: a symbolic link's target, so that writing
// replaces the file and keeps the link.
std::string ResolveLink(const std::string& fileName)
{
    struct stat st {};
    if (::lstat(fileName.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return fileName;
    char* resolved = ::realpath(fileName.c_str(), nullptr);
    if (resolved == nullptr)
        return fileName; // a dangling link: replaced by the file itself
    std::string target = resolved;
    std::free(resolved);
    return target;
}

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

std::string SysErrorMessage(int code) { return std::strerror(code); }

std::string ReadFileBytes(const std::string& fileName, size_t maxBytes) { return ReadUpTo(fileName, maxBytes, true); }

std::string ReadFileHead(const std::string& fileName, size_t count) { return ReadUpTo(fileName, count, false); }

void WriteFileAtomically(const std::string& fileName, std::string_view data)
{
    const std::string target = ResolveLink(fileName);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        CreateFailed(fileName, EISDIR);

    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temporary = folder + "." + base + ".XXXXXX";
    TDescriptor fd(::mkstemp(temporary.data()));
    if (fd.Get() < 0)
        CreateFailed(fileName, errno);
    try {
        if (::fchmod(fd.Get(), exists ? existing.st_mode & 07777 : NewFileMode()) != 0)
            WriteFailed(fileName, errno);
        WriteAll(fd.Get(), data, fileName);
        if (const int code = fd.Close(); code != 0)
            WriteFailed(fileName, code);
        if (::rename(temporary.c_str(), target.c_str()) != 0)
            WriteFailed(fileName, errno);
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
}

} // namespace ld
