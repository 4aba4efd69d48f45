// Streams of bytes: the abstract TStream, memory, file and string streams.
// ReadBuffer and WriteBuffer move exactly the count asked for or raise
// EReadError "Stream read error" / EWriteError "Stream write error".
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/core/Object.h"
#include "platform/core/Resources.h"

namespace ld {

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
    LD_CLASS(TStream, TObject)

    // Moves at most Count bytes; returns how many moved.
    virtual Int64 Read(void* buffer, Int64 count) = 0;
    virtual Int64 Write(const void* buffer, Int64 count) = 0;
    virtual Int64 Seek(Int64 offset, TSeekOrigin origin) = 0;

    Int64 GetPosition() { return Seek(0, soCurrent); }
    void SetPosition(Int64 pos) { Seek(pos, soBeginning); }
    virtual Int64 GetSize();
    virtual void SetSize(Int64 newSize);
    // Bytes from the position to the end.
    Int64 Remaining() { return GetSize() - GetPosition(); }

    void ReadBuffer(void* buffer, Int64 count);
    void WriteBuffer(const void* buffer, Int64 count);
    // Copies Count bytes from Source (all of it from its start when Count is 0).
    Int64 CopyFrom(TStream* source, Int64 count);
};

// A stream over a block of memory it does not own (SetPointer) or owns (TMemoryStream).
class TCustomMemoryStream : public TStream {
    LD_CLASS(TCustomMemoryStream, TStream)

    Int64 Read(void* buffer, Int64 count) override;
    Int64 Write(const void* buffer, Int64 count) override;
    Int64 Seek(Int64 offset, TSeekOrigin origin) override;
    Int64 GetSize() override { return FSize; }
    const Byte* Memory() const { return FMemory; }

protected:
    void SetPointer(const Byte* memory, Int64 size);
    const Byte* FMemory = nullptr;
    Int64 FSize = 0;
    Int64 FPosition = 0;
};

class TMemoryStream : public TCustomMemoryStream {
    LD_CLASS(TMemoryStream, TCustomMemoryStream)

    TMemoryStream() = default;
    Int64 Write(const void* buffer, Int64 count) override;
    void SetSize(Int64 newSize) override;
    void Clear();
    Byte* Data() { return FBuffer.data(); }
    // The contents as a string of bytes.
    std::string DataString() const { return std::string(FBuffer.begin(), FBuffer.begin() + FSize); }
    void LoadFromStream(TStream* stream);
    void LoadFromFile(const std::string& fileName);
    void SaveToStream(TStream* stream);
    void SaveToFile(const std::string& fileName);

private:
    void Reserve(Int64 capacity);
    std::vector<Byte> FBuffer;
};

// Reads a block of memory owned by someone else (a resource, a test's bytes).
class TPointerStream : public TCustomMemoryStream {
    LD_CLASS(TPointerStream, TCustomMemoryStream)

    TPointerStream(const void* memory, Int64 size) { SetPointer(static_cast<const Byte*>(memory), size); }
    Int64 Write(const void*, Int64) override { return 0; }
};

// A stream over a string it owns.
class TStringStream : public TStream {
    LD_CLASS(TStringStream, TStream)

    explicit TStringStream(std::string data = {}) : FData(std::move(data)) {}
    Int64 Read(void* buffer, Int64 count) override;
    Int64 Write(const void* buffer, Int64 count) override;
    Int64 Seek(Int64 offset, TSeekOrigin origin) override;
    Int64 GetSize() override { return static_cast<Int64>(FData.size()); }
    void SetSize(Int64 newSize) override;
    const std::string& DataString() const { return FData; }

private:
    std::string FData;
    Int64 FPosition = 0;
};

// Reads a resource of a module. EResNotFound "Resource %s not found" when the
// module has none of that name and type.
class TResourceStream : public TCustomMemoryStream {
    LD_CLASS(TResourceStream, TCustomMemoryStream)

    TResourceStream(HMODULE instance, const TResName& name, const TResName& type);
    Int64 Write(const void*, Int64) override;
};

enum : Word {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmCreate = 0xFFFF,
};

class TFileStream : public TStream {
    LD_CLASS(TFileStream, TStream)

    // fmCreate makes or truncates the file (EFCreateError "Cannot create file
    // %s: %s", the second the system's reason); the open modes need it to exist
    // and not be a folder (EFOpenError "Cannot open file %s: %s").
    TFileStream(const std::string& fileName, Word mode);
    ~TFileStream() override;
    Int64 Read(void* buffer, Int64 count) override;
    Int64 Write(const void* buffer, Int64 count) override;
    Int64 Seek(Int64 offset, TSeekOrigin origin) override;
    void SetSize(Int64 newSize) override;
    const std::string& FileName() const { return FFileName; }

private:
    std::string FFileName;
    FILE* FFile = nullptr;
};

} // namespace ld
