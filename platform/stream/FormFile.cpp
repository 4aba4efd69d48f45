// Form files: format detection, the resource header, and reading or writing a
// component through whichever form a file is in.
#include <cstring>

#include "platform/core/SysUtils.h"
#include "platform/stream/Reader.h"
#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"

namespace ld {

namespace {

constexpr uint16_t ResourceFlags = 0x1030;
constexpr uint16_t RT_RCDATA_ID = 10;

std::string ReadAll(TStream* stream)
{
    const Int64 left = stream->Remaining();
    if (left < 0 || left > (Int64(1) << 31))
        throw EReadError("A stored form larger than 2 GB cannot be read");
    std::string data(static_cast<size_t>(left), '\0');
    stream->ReadBuffer(data.data(), left);
    return data;
}

void WriteAll(TStream* stream, const std::string& data)
{
    stream->WriteBuffer(data.data(), static_cast<Int64>(data.size()));
}

} // namespace

TStreamFormat DetectFormat(std::string_view data)
{
    if (data.empty())
        return TStreamFormat::Unknown;
    const unsigned char c = static_cast<unsigned char>(data[0]);
    if (c == 0xFF)
        return TStreamFormat::Resource;
    if (data.size() >= 4 && std::memcmp(data.data(), FilerSignature, 4) == 0)
        return TStreamFormat::Binary;
    if (c == 'o' || c == 'O' || c == 'i' || c == 'I' || c == ' ' || c == '\r' || c == '\n' || c == '\t')
        return TStreamFormat::Text;
    if (data.size() >= 3 && data.substr(0, 3) == "\xEF\xBB\xBF")
        return TStreamFormat::Text;
    return TStreamFormat::Unknown;
}

TStreamFormat TestStreamFormat(TStream* stream)
{
    const Int64 pos = stream->GetPosition();
    char head[4] = {};
    const Int64 n = stream->Read(head, 4);
    stream->SetPosition(pos);
    return DetectFormat(std::string_view(head, static_cast<size_t>(n > 0 ? n : 0)));
}

std::string ResourceHeader(std::string_view rootClassName, uint32_t streamSize)
{
    std::string h;
    h += '\xFF';
    h += static_cast<char>(RT_RCDATA_ID & 0xFF);
    h += static_cast<char>(RT_RCDATA_ID >> 8);
    h += UpperCase(rootClassName);
    h += '\0';
    h += static_cast<char>(ResourceFlags & 0xFF);
    h += static_cast<char>(ResourceFlags >> 8);
    for (int i = 0; i < 4; ++i)
        h += static_cast<char>((streamSize >> (8 * i)) & 0xFF);
    return h;
}

std::string_view StripResourceHeader(std::string_view data)
{
    size_t pos = 0;
    auto need = [&](size_t n, const char* what) {
        if (data.size() - pos < n)
            throw EReadError(Format("Invalid resource header at byte %d: %s", {static_cast<long long>(pos), what}));
    };
    need(3, "the header is cut short");
    if (static_cast<unsigned char>(data[0]) != 0xFF)
        throw EReadError("Invalid resource header at byte 0: it must start with FF");
    const unsigned type = static_cast<unsigned char>(data[1]) | (static_cast<unsigned char>(data[2]) << 8);
    pos = 3;
    if (type != RT_RCDATA_ID)
        throw EReadError(Format("Invalid resource header at byte 1: resource type %d is not RCDATA", {type}));
    need(1, "the resource name is missing");
    if (static_cast<unsigned char>(data[pos]) == 0xFF) {
        need(3, "the resource number is cut short");
        pos += 3;
    } else {
        const size_t end = data.find('\0', pos);
        if (end == std::string_view::npos)
            throw EReadError(Format("Invalid resource header at byte %d: the resource name does not end",
                                    {static_cast<long long>(pos)}));
        pos = end + 1;
    }
    need(6, "the flags and size are missing");
    pos += 2;
    uint32_t size = 0;
    for (int i = 0; i < 4; ++i)
        size |= static_cast<uint32_t>(static_cast<unsigned char>(data[pos + i])) << (8 * i);
    pos += 4;
    if (size > data.size() - pos)
        throw EReadError(Format("Invalid resource header at byte %d: a size of %u is beyond the end of the data",
                                {static_cast<long long>(pos - 4), size}));
    return data.substr(pos, size);
}

std::string RootClassName(std::string_view binary)
{
    size_t pos = 4;
    if (binary.size() < 5 || std::memcmp(binary.data(), FilerSignature, 4) != 0)
        throw EReadError("Invalid stream format: the signature TPF0 is missing");
    const unsigned char prefix = static_cast<unsigned char>(binary[pos]);
    if ((prefix & 0xF0) == 0xF0) {
        ++pos;
        if (prefix & (1 << ffChildPos)) {
            if (pos >= binary.size())
                throw EReadError("Invalid stream format: cut short in the root's prefix");
            const unsigned char t = static_cast<unsigned char>(binary[pos]);
            pos += 1 + (t == vaInt8 ? 1 : t == vaInt16 ? 2 : t == vaInt32 ? 4 : t == vaInt64 ? 8 : 0);
        }
    }
    if (pos >= binary.size() || pos + 1 + static_cast<unsigned char>(binary[pos]) > binary.size())
        throw EReadError("Invalid stream format: the root's class name is cut short");
    return std::string(binary.substr(pos + 1, static_cast<unsigned char>(binary[pos])));
}

std::string ToBinaryStream(std::string_view data)
{
    switch (DetectFormat(data)) {
    case TStreamFormat::Binary:
        return std::string(data);
    case TStreamFormat::Resource:
        return std::string(StripResourceHeader(data));
    case TStreamFormat::Text:
        return TextToBinary(data);
    default:
        throw EReadError("Invalid stream format: neither a binary nor a text form");
    }
}

void ObjectBinaryToText(TStream* input, TStream* output) { WriteAll(output, BinaryToText(ReadAll(input))); }

void ObjectTextToBinary(TStream* input, TStream* output) { WriteAll(output, TextToBinary(ReadAll(input))); }

void ObjectResourceToText(TStream* input, TStream* output)
{
    const std::string data = ReadAll(input);
    WriteAll(output, BinaryToText(StripResourceHeader(data)));
}

void ObjectTextToResource(TStream* input, TStream* output)
{
    const std::string binary = TextToBinary(ReadAll(input));
    WriteAll(output, ResourceHeader(RootClassName(binary), static_cast<uint32_t>(binary.size())) + binary);
}

TComponent* ReadComponentFromStream(TStream* stream, TComponent* instance)
{
    const std::string data = ReadAll(stream);
    std::vector<TTextMark> marks;
    const std::string binary =
        DetectFormat(data) == TStreamFormat::Text ? TextToBinary(data, &marks) : ToBinaryStream(data);
    TPointerStream bytes(binary.data(), static_cast<Int64>(binary.size()));
    TReader reader(&bytes);
    reader.SetTextMarks(&marks);
    TComponent* root = reader.ReadRootComponent(instance);
    return root;
}

TComponent* ReadComponentRes(HMODULE module, const std::string& resName, TComponent* instance)
{
    TResourceStream stream(module, resName, RT_RCDATA);
    return ReadComponentFromStream(&stream, instance);
}

TComponent* ReadComponentResFile(const std::string& fileName, TComponent* instance)
{
    TFileStream file(fileName, fmOpenRead);
    return ReadComponentFromStream(&file, instance);
}

void WriteComponentToStream(TStream* stream, TComponent* instance)
{
    TMemoryStream binary;
    {
        TWriter writer(&binary);
        writer.WriteRootComponent(instance);
    }
    const std::string header = ResourceHeader(instance->ClassName(), static_cast<uint32_t>(binary.GetSize()));
    stream->WriteBuffer(header.data(), static_cast<Int64>(header.size()));
    binary.SaveToStream(stream);
}

void WriteComponentResFile(const std::string& fileName, TComponent* instance)
{
    // The whole form first: a component that cannot be stored must not cost the
    // file that was there.
    TMemoryStream form;
    WriteComponentToStream(&form, instance);
    TFileStream file(fileName, fmCreate);
    form.SaveToStream(&file);
}

} // namespace ld
