// TWriter: writes components and values in the binary component stream.
//
// WriteRootComponent writes the signature and the root; a component is its class
// and name, its stored properties (published ones whose value is not the
// declared default, nested objects as dotted names, then DefineProperties), and
// its children as GetChildren reports them.
#pragma once

#include <string>
#include <vector>

#include "platform/core/Collection.h"
#include "platform/stream/Filer.h"

namespace ld {

class TWriter : public TFiler {
    LD_CLASS(TWriter, TFiler)

    explicit TWriter(TStream* stream);
    // Flushes what is buffered.
    ~TWriter() override;

    void DefineProperty(const std::string& name, const TReaderProc& readData, const TWriterProc& writeData,
                        bool hasData) override;
    void DefineBinaryProperty(const std::string& name, const TStreamProc& readData, const TStreamProc& writeData,
                              bool hasData) override;

    void WriteRootComponent(TComponent* root);
    void WriteComponent(TComponent* component);
    // What TComponent::WriteState does: properties, then children.
    void WriteData(TComponent* instance);
    void WriteProperties(TPersistent* instance);
    void WriteSignature();
    void WritePrefix(TFilerFlags flags, Integer childPos);

    void WriteValue(TValueType value);
    void WriteListBegin() { WriteValue(vaList); }
    void WriteListEnd() { WriteValue(vaNull); }
    // The smallest of vaInt8, vaInt16, vaInt32, vaInt64 that holds Value.
    void WriteInteger(Int64 value);
    void WriteBoolean(bool value);
    // vaString up to 255 bytes, vaLString beyond.
    void WriteString(const std::string& value);
    // A short string without a value type; EWriteError beyond 255 bytes.
    void WriteStr(const std::string& value);
    // True, False, nil and Null become their own value types.
    void WriteIdent(const std::string& ident);
    void WriteChar(char value) { WriteString(std::string(1, value)); }
    void WriteFloat(long double value);
    void WriteSingle(float value);
    void WriteCurrency(Int64 value);
    void WriteDate(double value);
    void WriteSet(uint64_t bits, const TEnumInfo& elements);
    void WriteCollection(TCollection* collection);
    void WriteBinary(const void* data, Int64 count);
    void Write(const void* data, Int64 count);
    void FlushBuffer();

    // The dotted prefix of the nested object being written ("Font.").
    const std::string& PropPath() const { return FPropPath; }

private:
    void WriteProperty(TPersistent* instance, const TPropInfo* prop);
    void WritePropName(const std::string& name);
    std::string ComponentReference(TComponent* value) const;
    std::string MethodName(const TMethod& method) const;

    std::vector<Byte> FBuffer;
    std::string FPropPath;
    int FDepth = 0;
};

// Writes Instance as a stored form: the resource header (class name in upper
// case), then the binary component stream.
void WriteComponentResFile(const std::string& fileName, TComponent* instance);
void WriteComponentToStream(TStream* stream, TComponent* instance);

} // namespace ld
