#include "host/PackageInfo.h"

namespace ld {

namespace {

constexpr char Magic[4] = {'L', 'D', 'P', 'K'};
constexpr uint16_t Version = 2;
constexpr uint16_t OptionsVersion = 1;
constexpr size_t MaxNameLength = 63;

bool IsValidName(std::string_view name) { return name.size() <= MaxNameLength && IsValidIdent(name); }

void PutName(std::string& out, const std::string& name)
{
    if (!IsValidName(name))
        throw EPackageError(Format("Invalid name in package information: \"%s\"", {name}));
    out += static_cast<char>(name.size());
    out += name;
}

void PutCount(std::string& out, size_t count, const char* what)
{
    if (count > 255)
        throw EPackageError(Format("Too many %s in package information (%d)", {what, static_cast<Int64>(count)}));
    out += static_cast<char>(count);
}

// Reads the layout front to back; every read checks what is left first.
class TInfoReader {
public:
    explicit TInfoReader(std::string_view data, const char* what = "package information") : FData(data), FWhat(what) {}

    uint32_t Number(size_t bytes, const char* what)
    {
        Need(bytes, what);
        uint32_t value = 0;
        for (size_t i = 0; i < bytes; ++i)
            value |= static_cast<uint32_t>(static_cast<unsigned char>(FData[FPos + i])) << (8 * i);
        FPos += bytes;
        return value;
    }

    std::string Bytes(size_t length, const char* what)
    {
        Need(length, what);
        std::string bytes(FData.substr(FPos, length));
        FPos += length;
        return bytes;
    }

    std::string Name(const char* what)
    {
        const size_t at = FPos;
        const size_t length = Number(1, what);
        Need(length, what);
        std::string name(FData.substr(FPos, length));
        if (!IsValidName(name))
            Fail(at, Format("invalid %s name", {what}));
        FPos += length;
        return name;
    }

    void ExpectMagic()
    {
        Need(sizeof Magic, "signature");
        if (FData.substr(0, sizeof Magic) != std::string_view(Magic, sizeof Magic))
            Fail(0, "not package information (signature missing)");
        FPos = sizeof Magic;
    }

    void ExpectEnd()
    {
        if (FPos != FData.size())
            Fail(FPos, "data after the end");
    }

    size_t Pos() const { return FPos; }
    [[noreturn]] void Fail(size_t at, const std::string& fault)
    {
        throw EPackageError(Format("Malformed %s at byte %d: %s", {FWhat, static_cast<Int64>(at), fault}));
    }

private:
    void Need(size_t bytes, const char* what)
    {
        if (FData.size() - FPos < bytes)
            Fail(FPos, Format("%s cut short", {what}));
    }

    std::string_view FData;
    const char* FWhat;
    size_t FPos = 0;
};

} // namespace

bool TPackageInfo::operator==(const TPackageInfo& other) const
{
    if (Flags != other.Flags || Requires != other.Requires || Imports != other.Imports ||
        Contains.size() != other.Contains.size())
        return false;
    for (size_t i = 0; i < Contains.size(); ++i)
        if (Contains[i].Flags != other.Contains[i].Flags || Contains[i].Name != other.Contains[i].Name)
            return false;
    return true;
}

std::string WritePackageInfo(const TPackageInfo& info)
{
    std::string out(Magic, sizeof Magic);
    out += static_cast<char>(Version & 0xFF);
    out += static_cast<char>(Version >> 8);
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((info.Flags >> (8 * i)) & 0xFF);
    PutCount(out, info.Requires.size(), "required packages");
    for (const std::string& name : info.Requires)
        PutName(out, name);
    PutCount(out, info.Contains.size(), "units");
    for (const TPackageUnit& unit : info.Contains) {
        out += static_cast<char>(unit.Flags);
        PutName(out, unit.Name);
    }
    PutCount(out, info.Imports.size(), "imported libraries");
    for (const std::string& name : info.Imports)
        PutName(out, name);
    return out;
}

TPackageInfo ReadPackageInfo(std::string_view data)
{
    TInfoReader in(data);
    in.ExpectMagic();
    const size_t versionAt = in.Pos();
    const uint32_t version = in.Number(2, "version");
    if (version != Version && version != 1)
        in.Fail(versionAt, Format("unknown version %d", {version}));
    TPackageInfo info;
    info.Flags = in.Number(4, "flags");
    const uint32_t requireCount = in.Number(1, "required package count");
    for (uint32_t i = 0; i < requireCount; ++i)
        info.Requires.push_back(in.Name("required package"));
    const uint32_t contains = in.Number(1, "unit count");
    for (uint32_t i = 0; i < contains; ++i) {
        TPackageUnit unit;
        unit.Flags = static_cast<uint8_t>(in.Number(1, "unit flags"));
        unit.Name = in.Name("unit");
        info.Contains.push_back(std::move(unit));
    }
    if (version >= 2) {
        const uint32_t imports = in.Number(1, "import count");
        for (uint32_t i = 0; i < imports; ++i)
            info.Imports.push_back(in.Name("imported library"));
    }
    in.ExpectEnd();
    return info;
}

std::string WritePackageOptions(const TPackageOptions& options)
{
    auto put16 = [](std::string& out, size_t n) {
        out += static_cast<char>(n & 0xFF);
        out += static_cast<char>((n >> 8) & 0xFF);
    };
    if (options.Texts.size() > 0xFFFF)
        throw EPackageError("Too many texts in package options");
    std::string out;
    put16(out, OptionsVersion);
    put16(out, options.Texts.size());
    for (const std::string& text : options.Texts) {
        if (text.size() > 0xFFFF)
            throw EPackageError("A text of package options is longer than 65535 bytes");
        put16(out, text.size());
        out += text;
    }
    return out;
}

TPackageOptions ReadPackageOptions(std::string_view data)
{
    TInfoReader in(data, "package options");
    const size_t versionAt = in.Pos();
    const uint32_t version = in.Number(2, "version");
    if (version != OptionsVersion)
        in.Fail(versionAt, Format("unknown version %d", {version}));
    const uint32_t count = in.Number(2, "text count");
    TPackageOptions options;
    for (uint32_t i = 0; i < count; ++i) {
        const size_t length = in.Number(2, "text length");
        options.Texts.push_back(in.Bytes(length, "text"));
    }
    in.ExpectEnd();
    return options;
}

} // namespace ld
