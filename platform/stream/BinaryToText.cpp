// Binary component stream to text form.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/core/SysUtils.h"
#include "platform/stream/Filer.h"
#include "platform/stream/TextForm.h"

namespace ld {

namespace {

constexpr size_t LineLength = 64;
constexpr size_t BytesPerLine = 32;

class TBinaryToText {
public:
    explicit TBinaryToText(std::string_view data) : FData(data) { FOut.reserve(data.size() * 2); }

    std::string Convert()
    {
        Need(4);
        if (std::memcmp(FData.data(), FilerSignature, 4) != 0)
            Error("the signature TPF0 is missing");
        FPos = 4;
        ConvertObject(0);
        if (FPos != FData.size())
            Error("data follows the root component");
        return std::move(FOut);
    }

private:
    [[noreturn]] void Error(const std::string& what) const
    {
        throw EReadError(Format("Invalid binary form at byte %d: %s", {static_cast<long long>(FPos), what}));
    }

    void Need(size_t n) const
    {
        if (FData.size() - FPos < n)
            Error("unexpected end of the data");
    }

    Byte NextByte() const
    {
        Need(1);
        return static_cast<Byte>(FData[FPos]);
    }
    Byte ReadByte()
    {
        const Byte b = NextByte();
        ++FPos;
        return b;
    }
    template <class T>
    T ReadRaw()
    {
        Need(sizeof(T));
        T v;
        std::memcpy(&v, FData.data() + FPos, sizeof(T));
        FPos += sizeof(T);
        return v;
    }
    std::string_view ReadBytes(size_t n)
    {
        Need(n);
        std::string_view s = FData.substr(FPos, n);
        FPos += n;
        return s;
    }
    std::string_view ReadStr() { return ReadBytes(ReadByte()); }

    // The text form reads a name as an identifier: a letter or an underscore,
    // then letters, digits, underscores and dots. A name it could not read back
    // is refused rather than written.
    static bool IsIdent(std::string_view s)
    {
        auto start = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
        if (s.empty() || !start(s[0]))
            return false;
        for (char c : s.substr(1))
            if (!start(c) && !(c >= '0' && c <= '9') && c != '.')
                return false;
        return true;
    }
    std::string_view ReadName(const char* what)
    {
        const size_t at = FPos;
        const std::string_view s = ReadStr();
        if (!IsIdent(s)) {
            FPos = at;
            Error(Format("%s is not an identifier, so the text form cannot hold it", {what}));
        }
        return s;
    }
    size_t ReadCount(size_t unit)
    {
        const Integer n = ReadRaw<Integer>();
        if (n < 0 || static_cast<size_t>(n) > (FData.size() - FPos) / unit) {
            FPos -= 4;
            Error(Format("a length of %d is beyond the end of the data", {n}));
        }
        return static_cast<size_t>(n);
    }

    void Enter()
    {
        if (++FDepth > MaxNesting)
            Error("objects, lists or collections nest too deeply");
    }

    void Indent() { FOut.append(static_cast<size_t>(2 * FLevel), ' '); }
    void NewLine()
    {
        FOut += "\r\n";
        Indent();
    }

    bool IsIntegerNext() const
    {
        const Byte t = NextByte();
        return t == vaInt8 || t == vaInt16 || t == vaInt32 || t == vaInt64;
    }

    void ConvertObject(int level)
    {
        Enter();
        FLevel = level;
        Byte flags = 0;
        Int64 childPos = 0;
        if ((NextByte() & 0xF0) == 0xF0) {
            flags = ReadByte() & 0x0F;
            if (flags & (1 << ffChildPos)) {
                if (!IsIntegerNext())
                    Error("a child position must be an integer");
                childPos = ReadInteger();
            }
        }
        if (NextByte() == 0)
            Error("a component without a class name");
        const std::string_view className = ReadName("the class name");
        const std::string_view name = NextByte() == 0 ? ReadStr() : ReadName("the component name");
        Indent();
        if (flags & (1 << ffInherited))
            FOut += "inherited ";
        else if (flags & (1 << ffInline))
            FOut += "inline ";
        else
            FOut += "object ";
        if (!name.empty()) {
            FOut += name;
            FOut += ": ";
        }
        FOut += className;
        if (flags & (1 << ffChildPos)) {
            FOut += " [";
            FOut += IntToStr(childPos);
            FOut += ']';
        }
        FOut += "\r\n";
        FLevel = level + 1;
        while (NextByte() != vaNull)
            ConvertProperty();
        ++FPos;
        while (NextByte() != vaNull)
            ConvertObject(level + 1);
        ++FPos;
        FLevel = level;
        Indent();
        FOut += "end\r\n";
        --FDepth;
    }

    void ConvertProperty()
    {
        if (NextByte() == 0)
            Error("a property without a name");
        const size_t at = FPos;
        const std::string_view name = ReadName("a property name");
        // These would read as the end of the properties.
        for (const char* keyword : {"end", "object", "inherited", "inline"})
            if (SameText(name, keyword)) {
                FPos = at;
                Error(Format("a property named %s would read as a keyword in the text form", {std::string(name)}));
            }
        Indent();
        FOut += name;
        FOut += " = ";
        ConvertValue();
        FOut += "\r\n";
    }

    Int64 ReadInteger()
    {
        switch (ReadByte()) {
        case vaInt8:
            return ReadRaw<int8_t>();
        case vaInt16:
            return ReadRaw<int16_t>();
        case vaInt32:
            return ReadRaw<int32_t>();
        default:
            return ReadRaw<int64_t>();
        }
    }

    // The text form has numbers only: an infinity or a NaN written as text would
    // not read back as the value it was. The error names the value type's byte.
    void CheckFinite(long double v, Byte type, size_t at)
    {
        if (std::isinf(v) || std::isnan(v)) {
            FPos = at;
            Error(Format("a %s holds %s, which the text form cannot hold",
                         {ValueTypeName(type), std::string(std::isnan(v) ? "a NaN" : "an infinity")}));
        }
    }

    // An x87 extended value whose integer bit is clear while its exponent is not
    // zero (an unnormal or a pseudo-infinity or -NaN) is no number at all.
    void CheckExtendedEncoding(const Byte b[10], size_t at)
    {
        const unsigned exponent = ((b[9] & 0x7Fu) << 8) | b[8];
        if (exponent != 0 && (b[7] & 0x80) == 0) {
            FPos = at;
            Error("a vaExtended holds an invalid 80-bit value (its integer bit is clear)");
        }
    }

    void WriteFloat(long double v, const char* suffix)
    {
        char buffer[128];
        int n = std::snprintf(buffer, sizeof buffer, "%.18Lf", v);
        if (n < 0 || n >= static_cast<int>(sizeof buffer))
            n = std::snprintf(buffer, sizeof buffer, "%.18Le", v); // beyond fixed notation's reach
        FOut.append(buffer, static_cast<size_t>(n));
        FOut += suffix;
    }

    // Writes text bytes in quoted runs, with control characters and the
    // apostrophe as #nn; long strings go on lines of their own, cut every 64.
    void WriteString(std::string_view s)
    {
        if (s.empty()) {
            FOut += "''";
            return;
        }
        const bool multiLine = s.size() > LineLength;
        if (multiLine)
            ++FLevel;
        size_t i = 0;
        while (i < s.size()) {
            if (multiLine)
                NewLine();
            const size_t end = std::min(s.size(), i + LineLength);
            bool inString = false;
            for (; i < end; ++i) {
                const unsigned char c = static_cast<unsigned char>(s[i]);
                if (c >= ' ' && c != '\'') {
                    if (!inString) {
                        FOut += '\'';
                        inString = true;
                    }
                    FOut += static_cast<char>(c);
                } else {
                    if (inString) {
                        FOut += '\'';
                        inString = false;
                    }
                    FOut += '#';
                    FOut += IntToStr(c);
                }
            }
            if (inString)
                FOut += '\'';
            if (i < s.size())
                FOut += " +";
        }
        if (multiLine)
            --FLevel;
    }

    // A string of code points (wide forms): those above 255 become #n.
    void WriteWide(const std::vector<uint32_t>& units)
    {
        std::string bytes;
        bool wide = false;
        for (uint32_t u : units)
            wide |= u > 255;
        if (!wide) {
            for (uint32_t u : units)
                bytes += static_cast<char>(u);
            WriteString(bytes);
            return;
        }
        if (units.empty()) {
            FOut += "''";
            return;
        }
        bool inString = false;
        for (uint32_t u : units) {
            if (u >= ' ' && u != '\'' && u < 128) {
                if (!inString) {
                    FOut += '\'';
                    inString = true;
                }
                FOut += static_cast<char>(u);
            } else {
                if (inString) {
                    FOut += '\'';
                    inString = false;
                }
                FOut += '#';
                FOut += IntToStr(u);
            }
        }
        if (inString)
            FOut += '\'';
    }

    void ConvertBinary()
    {
        const size_t count = ReadCount(1);
        const std::string_view bytes = ReadBytes(count);
        static const char hex[] = "0123456789ABCDEF";
        FOut += '{';
        ++FLevel;
        const bool multiLine = count >= BytesPerLine;
        for (size_t i = 0; i < count; i += BytesPerLine) {
            if (multiLine)
                NewLine();
            const size_t end = std::min(count, i + BytesPerLine);
            for (size_t k = i; k < end; ++k) {
                const unsigned char c = static_cast<unsigned char>(bytes[k]);
                FOut += hex[c >> 4];
                FOut += hex[c & 15];
            }
        }
        --FLevel;
        FOut += '}';
    }

    void ConvertFloat(Byte type)
    {
        const size_t at = FPos++;
        long double v;
        if (type == vaExtended) {
            Need(10);
            const Byte* bytes = reinterpret_cast<const Byte*>(FData.data() + FPos);
            CheckExtendedEncoding(bytes, at);
            v = ExtendedToFloat(bytes);
            FPos += 10;
        } else if (type == vaSingle) {
            v = ReadRaw<float>();
        } else {
            v = ReadRaw<double>();
        }
        CheckFinite(v, type, at);
        WriteFloat(v, type == vaSingle ? "s" : type == vaDate ? "d" : "");
    }

    void ConvertCollection()
    {
        Enter();
        FOut += '<';
        ++FLevel;
        while (NextByte() != vaNull) {
            NewLine();
            FOut += "item";
            if (IsIntegerNext()) {
                FOut += " [";
                FOut += IntToStr(ReadInteger());
                FOut += ']';
            }
            FOut += "\r\n";
            if (ReadByte() != vaList) {
                --FPos;
                Error("a collection item must be a list");
            }
            ++FLevel;
            while (NextByte() != vaNull)
                ConvertProperty();
            ++FPos;
            --FLevel;
            Indent();
            FOut += "end";
        }
        ++FPos;
        --FLevel;
        FOut += '>';
        --FDepth;
    }

    void ConvertValue()
    {
        const Byte t = NextByte();
        switch (t) {
        case vaList:
            ++FPos;
            Enter();
            FOut += '(';
            ++FLevel;
            while (NextByte() != vaNull) {
                NewLine();
                ConvertValue();
            }
            ++FPos;
            --FLevel;
            FOut += ')';
            --FDepth;
            break;
        case vaInt8:
        case vaInt16:
        case vaInt32:
        case vaInt64:
            FOut += IntToStr(ReadInteger());
            break;
        case vaExtended:
        case vaSingle:
        case vaDate:
        case vaDouble:
            ConvertFloat(t);
            break;
        case vaCurrency:
            ++FPos;
            WriteFloat(static_cast<long double>(ReadRaw<int64_t>()), "c");
            break;
        case vaString:
            ++FPos;
            WriteString(ReadStr());
            break;
        case vaLString:
            ++FPos;
            WriteString(ReadBytes(ReadCount(1)));
            break;
        case vaWString: {
            ++FPos;
            const size_t n = ReadCount(2);
            std::vector<uint32_t> units(n);
            for (size_t i = 0; i < n; ++i)
                units[i] = ReadRaw<uint16_t>();
            WriteWide(units);
            break;
        }
        case vaUTF8String: {
            ++FPos;
            const std::string_view s = ReadBytes(ReadCount(1));
            std::vector<uint32_t> units;
            for (size_t i = 0; i < s.size();) {
                const unsigned char b = static_cast<unsigned char>(s[i]);
                uint32_t cp = b;
                size_t len = b < 0xC0 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
                if (len > 1)
                    cp = b & (0x7F >> len);
                len = std::min(len, s.size() - i);
                for (size_t k = 1; k < len; ++k)
                    cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
                // The text form holds UTF-16 code units (#n up to 65535), as the
                // wide string the value is read into: beyond them, a surrogate pair.
                if (cp > 0x10FFFF)
                    cp = 0xFFFD;
                if (cp > 0xFFFF) {
                    units.push_back(0xD800 + ((cp - 0x10000) >> 10));
                    units.push_back(0xDC00 + ((cp - 0x10000) & 0x3FF));
                } else {
                    units.push_back(cp);
                }
                i += len;
            }
            WriteWide(units);
            break;
        }
        case vaIdent:
            ++FPos;
            FOut += ReadName("an identifier value");
            break;
        case vaFalse:
            ++FPos;
            FOut += "False";
            break;
        case vaTrue:
            ++FPos;
            FOut += "True";
            break;
        case vaNil:
            ++FPos;
            FOut += "nil";
            break;
        case vaNull:
            ++FPos;
            FOut += "Null";
            break;
        case vaBinary:
            ++FPos;
            ConvertBinary();
            break;
        case vaSet: {
            ++FPos;
            FOut += '[';
            bool first = true;
            for (;;) {
                if (NextByte() == 0) {
                    ++FPos;
                    break;
                }
                const std::string_view element = ReadName("a set element");
                if (!first)
                    FOut += ", ";
                FOut += element;
                first = false;
            }
            FOut += ']';
            break;
        }
        case vaCollection:
            ++FPos;
            ConvertCollection();
            break;
        default:
            Error(Format("unknown value type %d", {t}));
        }
    }

    std::string_view FData;
    size_t FPos = 0;
    std::string FOut;
    int FLevel = 0;
    int FDepth = 0;
};

} // namespace

std::string BinaryToText(std::string_view binary) { return TBinaryToText(binary).Convert(); }

} // namespace ld
