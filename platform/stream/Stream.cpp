#include "platform/stream/Stream.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/core/FileIO.h"
#include "platform/core/SysUtils.h"

namespace ld {

TClass TStream::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TStream>("TStream", TObject::StaticClass());
    return &info;
}
TClass TCustomMemoryStream::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TCustomMemoryStream>("TCustomMemoryStream", TStream::StaticClass());
    return &info;
}
TClass TMemoryStream::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TMemoryStream>("TMemoryStream", TCustomMemoryStream::StaticClass());
    return &info;
}
TClass TPointerStream::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TPointerStream>("TPointerStream", TCustomMemoryStream::StaticClass());
    return &info;
}
TClass TStringStream::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TStringStream>("TStringStream", TStream::StaticClass());
    return &info;
}
TClass TResourceStream::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TResourceStream>("TResourceStream", TCustomMemoryStream::StaticClass());
    return &info;
}

TResourceStream::TResourceStream(HMODULE instance, const TResName& name, const TResName& type)
{
    HRSRC res = FindResource(instance, name, type);
    if (!res)
        throw EResNotFound(Format("Resource %s not found", {name.IsId() ? name.ToString() : name.Name}));
    SetPointer(static_cast<const Byte*>(LoadResource(instance, res)), SizeofResource(instance, res));
}

Int64 TResourceStream::Write(const void*, Int64)
{
    throw EStreamError("Cannot write to a resource stream");
}

TClass TFileStream::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TFileStream>("TFileStream", TStream::StaticClass());
    return &info;
}

Int64 TStream::GetSize()
{
    const Int64 pos = Seek(0, soCurrent);
    const Int64 size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

void TStream::SetSize(Int64) { throw EStreamError("Stream size cannot be changed"); }

void TStream::ReadBuffer(void* buffer, Int64 count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, Int64 count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError("Stream write error");
}

Int64 TStream::CopyFrom(TStream* source, Int64 count)
{
    if (count == 0) {
        source->SetPosition(0);
        count = source->GetSize();
    }
    Byte buffer[65536];
    Int64 left = count;
    while (left > 0) {
        const Int64 n = std::min<Int64>(left, sizeof buffer);
        source->ReadBuffer(buffer, n);
        WriteBuffer(buffer, n);
        left -= n;
    }
    return count;
}

// TCustomMemoryStream

void TCustomMemoryStream::SetPointer(const Byte* memory, Int64 size)
{
    FMemory = memory;
    FSize = size;
}

Int64 TCustomMemoryStream::Read(void* buffer, Int64 count)
{
    if (count <= 0 || FPosition >= FSize)
        return 0;
    const Int64 n = std::min(count, FSize - FPosition);
    std::memcpy(buffer, FMemory + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

Int64 TCustomMemoryStream::Write(const void*, Int64) { return 0; }

Int64 TCustomMemoryStream::Seek(Int64 offset, TSeekOrigin origin)
{
    Int64 base = origin == soBeginning ? 0 : origin == soCurrent ? FPosition : FSize;
    FPosition = std::max<Int64>(0, base + offset);
    return FPosition;
}

// TMemoryStream

void TMemoryStream::Reserve(Int64 capacity)
{
    if (capacity > static_cast<Int64>(FBuffer.size())) {
        size_t grown = std::max<size_t>(static_cast<size_t>(capacity), FBuffer.size() * 2);
        FBuffer.resize(std::max<size_t>(grown, 256));
        FMemory = FBuffer.data();
    }
}

Int64 TMemoryStream::Write(const void* buffer, Int64 count)
{
    if (count <= 0)
        return 0;
    Reserve(FPosition + count);
    std::memcpy(FBuffer.data() + FPosition, buffer, static_cast<size_t>(count));
    FPosition += count;
    FSize = std::max(FSize, FPosition);
    return count;
}

void TMemoryStream::SetSize(Int64 newSize)
{
    if (newSize < 0)
        throw EStreamError("Stream size cannot be negative");
    Reserve(newSize);
    if (newSize > FSize)
        std::memset(FBuffer.data() + FSize, 0, static_cast<size_t>(newSize - FSize));
    FSize = newSize;
    FPosition = std::min(FPosition, FSize);
}

void TMemoryStream::Clear()
{
    FBuffer.clear();
    FMemory = nullptr;
    FSize = FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* stream)
{
    stream->SetPosition(0);
    const Int64 size = stream->GetSize();
    SetSize(size);
    if (size > 0)
        stream->ReadBuffer(FBuffer.data(), size);
    FPosition = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName)
{
    TFileStream file(fileName, fmOpenRead);
    LoadFromStream(&file);
}

void TMemoryStream::SaveToStream(TStream* stream)
{
    if (FSize > 0)
        stream->WriteBuffer(FBuffer.data(), FSize);
}

void TMemoryStream::SaveToFile(const std::string& fileName)
{
    TFileStream file(fileName, fmCreate);
    SaveToStream(&file);
}

// TStringStream

Int64 TStringStream::Read(void* buffer, Int64 count)
{
    const Int64 size = GetSize();
    if (count <= 0 || FPosition >= size)
        return 0;
    const Int64 n = std::min(count, size - FPosition);
    std::memcpy(buffer, FData.data() + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

Int64 TStringStream::Write(const void* buffer, Int64 count)
{
    if (count <= 0)
        return 0;
    if (FPosition + count > GetSize())
        FData.resize(static_cast<size_t>(FPosition + count));
    std::memcpy(FData.data() + FPosition, buffer, static_cast<size_t>(count));
    FPosition += count;
    return count;
}

Int64 TStringStream::Seek(Int64 offset, TSeekOrigin origin)
{
    Int64 base = origin == soBeginning ? 0 : origin == soCurrent ? FPosition : GetSize();
    FPosition = std::max<Int64>(0, base + offset);
    return FPosition;
}

void TStringStream::SetSize(Int64 newSize)
{
    if (newSize < 0)
        throw EStreamError("Stream size cannot be negative");
    FData.resize(static_cast<size_t>(newSize));
    FPosition = std::min(FPosition, newSize);
}

// TFileStream

TFileStream::TFileStream(const std::string& fileName, Word mode) : FFileName(fileName)
{
    const char* how = "rb";
    if (mode == fmCreate)
        how = "w+b";
    else if ((mode & 3) == fmOpenWrite || (mode & 3) == fmOpenReadWrite)
        how = "r+b";
    FFile = std::fopen(fileName.c_str(), how);
    // A folder opens for reading but reads as nothing: refused here, with a reason.
    struct stat st {};
    if (FFile != nullptr && fstat(fileno(FFile), &st) == 0 && S_ISDIR(st.st_mode)) {
        std::fclose(FFile);
        FFile = nullptr;
        errno = EISDIR;
    }
    if (FFile == nullptr) {
        const std::string reason = SysErrorMessage(errno);
        if (mode == fmCreate)
            throw EFCreateError(Format("Cannot create file %s: %s", {fileName, reason}));
        throw EFOpenError(Format("Cannot open file %s: %s", {fileName, reason}));
    }
}

TFileStream::~TFileStream()
{
    if (FFile != nullptr)
        std::fclose(FFile);
}

Int64 TFileStream::Read(void* buffer, Int64 count)
{
    if (count <= 0)
        return 0;
    return static_cast<Int64>(std::fread(buffer, 1, static_cast<size_t>(count), FFile));
}

Int64 TFileStream::Write(const void* buffer, Int64 count)
{
    if (count <= 0)
        return 0;
    return static_cast<Int64>(std::fwrite(buffer, 1, static_cast<size_t>(count), FFile));
}

Int64 TFileStream::Seek(Int64 offset, TSeekOrigin origin)
{
    const int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
    if (std::fseek(FFile, static_cast<long>(offset), whence) != 0)
        return std::ftell(FFile);
    return std::ftell(FFile);
}

void TFileStream::SetSize(Int64 newSize)
{
    std::fflush(FFile);
    if (ftruncate(fileno(FFile), static_cast<off_t>(newSize)) != 0)
        throw EStreamError(Format("Cannot change the size of file %s", {FFileName}));
}

} // namespace ld
