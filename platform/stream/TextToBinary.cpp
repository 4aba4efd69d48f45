// Text form to binary component stream.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/core/SysUtils.h"
#include "platform/stream/Filer.h"
#include "platform/stream/TextForm.h"

namespace ld {

namespace {

enum class Tok { End, Symbol, Ident, String, Integer, Float, Char };

class TTextToBinary {
public:
    TTextToBinary(std::string_view text, std::vector<TTextMark>* marks) : FText(text), FMarks(marks)
    {
        FOut.reserve(text.size());
        // A UTF-8 byte order mark is not part of the form.
        if (FText.size() >= 3 && FText.substr(0, 3) == "\xEF\xBB\xBF")
            FPos = 3;
        Next();
    }

    std::string Convert()
    {
        FOut.append(FilerSignature, 4);
        ConvertObject();
        if (FTok != Tok::End)
            Error("text follows the final end");
        return std::move(FOut);
    }

    // Objects one after another, each behind its own signature, then a null.
    std::string ConvertList()
    {
        if (FTok == Tok::End)
            Error("'object' expected but end of file found");
        while (FTok != Tok::End) {
            FOut.append(FilerSignature, 4);
            ConvertObject();
        }
        Byte1(vaNull);
        return std::move(FOut);
    }

private:
    // Where the bytes about to be written come from.
    void Mark()
    {
        if (FMarks != nullptr)
            FMarks->push_back({static_cast<Int64>(FOut.size()), FTokenLine});
    }

    [[noreturn]] void Error(const std::string& what) const
    {
        throw EParserError(Format("%s on line %d", {what, FTokenLine}));
    }

    // Lexer

    static bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
    static bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9') || c == '.'; }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static bool IsHex(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

    void SkipBlanks()
    {
        while (FPos < FText.size() && static_cast<unsigned char>(FText[FPos]) <= ' ') {
            if (FText[FPos] == '\n')
                ++FLine;
            ++FPos;
        }
    }

    // Reads a #nn or #$hh character code.
    uint32_t ReadCharCode()
    {
        ++FPos; // '#'
        uint32_t code = 0;
        size_t start = FPos;
        if (FPos < FText.size() && FText[FPos] == '$') {
            start = ++FPos;
            while (FPos < FText.size() && IsHex(FText[FPos])) {
                code = code * 16 + static_cast<uint32_t>(std::strtol(std::string(1, FText[FPos]).c_str(), nullptr, 16));
                if (code > 0xFFFF)
                    Error("a character code above 65535");
                ++FPos;
            }
        } else {
            while (FPos < FText.size() && IsDigit(FText[FPos])) {
                code = code * 10 + static_cast<uint32_t>(FText[FPos] - '0');
                if (code > 0xFFFF)
                    Error("a character code above 65535");
                ++FPos;
            }
        }
        if (FPos == start)
            Error("a character code expected after #");
        return code;
    }

    void Next()
    {
        SkipBlanks();
        FTokenLine = FLine;
        FTokenText.clear();
        FUnits.clear();
        if (FPos >= FText.size()) {
            FTok = Tok::End;
            return;
        }
        const char c = FText[FPos];
        if (IsIdentStart(c)) {
            const size_t start = FPos;
            while (FPos < FText.size() && IsIdentChar(FText[FPos]))
                ++FPos;
            FTokenText.assign(FText.substr(start, FPos - start));
            FTok = Tok::Ident;
            return;
        }
        if (c == '\'' || c == '#') {
            // Quoted runs and character codes, side by side, make one string.
            while (FPos < FText.size() && (FText[FPos] == '\'' || FText[FPos] == '#')) {
                if (FText[FPos] == '#') {
                    FUnits.push_back(ReadCharCode());
                    continue;
                }
                ++FPos;
                for (;;) {
                    if (FPos >= FText.size() || FText[FPos] == '\r' || FText[FPos] == '\n')
                        Error("unterminated string");
                    if (FText[FPos] == '\'') {
                        if (FPos + 1 < FText.size() && FText[FPos + 1] == '\'') {
                            FUnits.push_back('\'');
                            FPos += 2;
                            continue;
                        }
                        ++FPos;
                        break;
                    }
                    FUnits.push_back(static_cast<unsigned char>(FText[FPos++]));
                }
            }
            FTok = Tok::String;
            return;
        }
        if (c == '$') {
            const size_t start = ++FPos;
            while (FPos < FText.size() && IsHex(FText[FPos]))
                ++FPos;
            if (FPos == start)
                Error("hex digits expected after $");
            FTokenText = "$" + std::string(FText.substr(start, FPos - start));
            FTok = Tok::Integer;
            return;
        }
        if (IsDigit(c) || ((c == '-' || c == '+') && FPos + 1 < FText.size() && IsDigit(FText[FPos + 1]))) {
            const size_t start = FPos++;
            bool isFloat = false;
            while (FPos < FText.size()) {
                const char d = FText[FPos];
                if (IsDigit(d)) {
                    ++FPos;
                } else if (d == '.' || d == 'e' || d == 'E') {
                    isFloat = true;
                    ++FPos;
                    if ((d == 'e' || d == 'E') && FPos < FText.size() && (FText[FPos] == '-' || FText[FPos] == '+'))
                        ++FPos;
                } else {
                    break;
                }
            }
            FTokenText.assign(FText.substr(start, FPos - start));
            FFloatType = 0;
            if (FPos < FText.size()) {
                const char suffix = static_cast<char>(FText[FPos] | 0x20);
                if (suffix == 's' || suffix == 'c' || suffix == 'd') {
                    FFloatType = suffix;
                    FFloatSuffix = FText[FPos];
                    isFloat = true;
                    ++FPos;
                }
            }
            FTok = isFloat ? Tok::Float : Tok::Integer;
            return;
        }
        FTokenText.assign(1, c);
        ++FPos;
        FTok = Tok::Char;
    }

    bool IsChar(char c) const { return FTok == Tok::Char && FTokenText[0] == c; }
    bool IsKeyword(const char* word) const { return FTok == Tok::Ident && SameText(FTokenText, word); }
    void ExpectChar(char c)
    {
        if (!IsChar(c))
            Error(Format("'%s' expected but %s found", {std::string(1, c), Describe()}));
        Next();
    }
    std::string Describe() const
    {
        switch (FTok) {
        case Tok::End:
            return "end of file";
        case Tok::String:
            return "a string";
        case Tok::Integer:
        case Tok::Float:
            return "number " + FTokenText;
        default:
            return "'" + FTokenText + "'";
        }
    }
    std::string ExpectIdent(const char* what)
    {
        if (FTok != Tok::Ident)
            Error(Format("%s expected but %s found", {what, Describe()}));
        if (FTokenText.size() > 255)
            Error("a name longer than 255 characters");
        std::string s = std::move(FTokenText);
        Next();
        return s;
    }

    void Enter()
    {
        if (++FDepth > MaxNesting)
            Error("objects, lists or collections nest too deeply");
    }

    // Output

    void Byte1(Byte b) { FOut += static_cast<char>(b); }
    template <class T>
    void Raw(T v)
    {
        char bytes[sizeof(T)];
        std::memcpy(bytes, &v, sizeof(T));
        FOut.append(bytes, sizeof(T));
    }
    void ShortStr(const std::string& s)
    {
        if (s.size() > 255)
            Error("a name longer than 255 characters");
        Byte1(static_cast<Byte>(s.size()));
        FOut += s;
    }
    void WriteInteger(Int64 v)
    {
        if (v >= INT8_MIN && v <= INT8_MAX) {
            Byte1(vaInt8);
            Raw(static_cast<int8_t>(v));
        } else if (v >= INT16_MIN && v <= INT16_MAX) {
            Byte1(vaInt16);
            Raw(static_cast<int16_t>(v));
        } else if (v >= INT32_MIN && v <= INT32_MAX) {
            Byte1(vaInt32);
            Raw(static_cast<int32_t>(v));
        } else {
            Byte1(vaInt64);
            Raw(v);
        }
    }
    Int64 TokenInteger()
    {
        Int64 v = 0;
        if (!TryStrToInt64(FTokenText, v))
            Error(Format("invalid integer %s", {FTokenText}));
        // $FFFFFFFF is a 32-bit pattern, as the host writes colours.
        if (FTokenText[0] == '$' && v > INT32_MAX && v <= static_cast<Int64>(UINT32_MAX))
            v = static_cast<int32_t>(static_cast<uint32_t>(v));
        return v;
    }
    void WriteStringValue(const std::vector<uint32_t>& units)
    {
        bool wide = false;
        for (uint32_t u : units)
            wide |= u > 255;
        if (wide) {
            Byte1(vaWString);
            Raw(static_cast<Integer>(units.size()));
            for (uint32_t u : units)
                Raw(static_cast<uint16_t>(u));
            return;
        }
        if (units.size() <= 255) {
            Byte1(vaString);
            Byte1(static_cast<Byte>(units.size()));
        } else {
            if (units.size() > static_cast<size_t>(INT32_MAX))
                Error("a string too long to store");
            Byte1(vaLString);
            Raw(static_cast<Integer>(units.size()));
        }
        for (uint32_t u : units)
            FOut += static_cast<char>(u);
    }

    // Grammar

    void ConvertObject()
    {
        Enter();
        Mark();
        Byte flags = 0;
        if (IsKeyword("inherited"))
            flags |= 1 << ffInherited;
        else if (IsKeyword("inline"))
            flags |= 1 << ffInline;
        else if (!IsKeyword("object"))
            Error(Format("'object' expected but %s found", {Describe()}));
        Next();
        std::string name;
        int classLine = FTokenLine;
        std::string className = ExpectIdent("a class name");
        if (IsChar(':')) {
            Next();
            name = std::move(className);
            classLine = FTokenLine;
            className = ExpectIdent("a class name");
        }
        if (className.size() > MaxClassNameLength) {
            FTokenLine = classLine;
            Error(Format("a class name longer than %d characters", {static_cast<long long>(MaxClassNameLength)}));
        }
        bool hasPos = false;
        Int64 pos = 0;
        if (IsChar('[')) {
            Next();
            if (FTok != Tok::Integer)
                Error(Format("a child position expected but %s found", {Describe()}));
            pos = TokenInteger();
            Next();
            ExpectChar(']');
            hasPos = true;
            flags |= 1 << ffChildPos;
        }
        if (flags != 0)
            Byte1(static_cast<Byte>(0xF0 | flags));
        if (hasPos)
            WriteInteger(pos);
        ShortStr(className);
        ShortStr(name);
        while (!IsKeyword("end") && !IsKeyword("object") && !IsKeyword("inherited") && !IsKeyword("inline")) {
            if (FTok == Tok::End)
                Error("'end' expected but end of file found");
            ConvertProperty();
        }
        Byte1(vaNull);
        while (!IsKeyword("end")) {
            if (FTok == Tok::End)
                Error("'end' expected but end of file found");
            ConvertObject();
        }
        Byte1(vaNull);
        Next();
        --FDepth;
    }

    void ConvertProperty()
    {
        Mark();
        const std::string name = ExpectIdent("a property name");
        ShortStr(name);
        ExpectChar('=');
        ConvertValue();
    }

    void ConvertValue()
    {
        switch (FTok) {
        case Tok::Integer:
            WriteInteger(TokenInteger());
            Next();
            return;
        case Tok::Float:
            WriteFloatToken();
            Next();
            return;
        case Tok::String: {
            std::vector<uint32_t> units = std::move(FUnits);
            Next();
            while (IsChar('+')) {
                Next();
                if (FTok != Tok::String)
                    Error(Format("a string expected after + but %s found", {Describe()}));
                units.insert(units.end(), FUnits.begin(), FUnits.end());
                Next();
            }
            WriteStringValue(units);
            return;
        }
        case Tok::Ident: {
            if (SameText(FTokenText, "False"))
                Byte1(vaFalse);
            else if (SameText(FTokenText, "True"))
                Byte1(vaTrue);
            else if (SameText(FTokenText, "nil"))
                Byte1(vaNil);
            else if (SameText(FTokenText, "Null"))
                Byte1(vaNull);
            else {
                Byte1(vaIdent);
                ShortStr(FTokenText);
            }
            Next();
            return;
        }
        case Tok::Char:
            break;
        default:
            Error(Format("a value expected but %s found", {Describe()}));
        }
        const char c = FTokenText[0];
        if (c == '[') {
            Next();
            Byte1(vaSet);
            if (!IsChar(']')) {
                for (;;) {
                    ShortStr(ExpectIdent("a set element"));
                    if (IsChar(']'))
                        break;
                    ExpectChar(',');
                }
            }
            Next();
            Byte1(0);
        } else if (c == '(') {
            Enter();
            Next();
            Byte1(vaList);
            while (!IsChar(')')) {
                if (FTok == Tok::End)
                    Error("')' expected but end of file found");
                ConvertValue();
            }
            Next();
            Byte1(vaNull);
            --FDepth;
        } else if (c == '{') {
            ConvertBinary();
        } else if (c == '<') {
            Enter();
            Next();
            Byte1(vaCollection);
            while (!IsChar('>')) {
                if (!IsKeyword("item"))
                    Error(Format("'item' expected but %s found", {Describe()}));
                Next();
                if (IsChar('[')) {
                    Next();
                    if (FTok != Tok::Integer)
                        Error(Format("an item index expected but %s found", {Describe()}));
                    WriteInteger(TokenInteger());
                    Next();
                    ExpectChar(']');
                }
                Byte1(vaList);
                while (!IsKeyword("end")) {
                    if (FTok == Tok::End)
                        Error("'end' expected but end of file found");
                    ConvertProperty();
                }
                Next();
                Byte1(vaNull);
            }
            Next();
            Byte1(vaNull);
            --FDepth;
        } else {
            Error(Format("a value expected but %s found", {Describe()}));
        }
    }

    // A value the binary form cannot hold in the type the suffix names is refused
    // (what rounds to an infinity there); one too small for the type becomes zero.
    void WriteFloatToken()
    {
        char* end = nullptr;
        const long double v = std::strtold(FTokenText.c_str(), &end);
        if (end == FTokenText.c_str() || *end != '\0')
            Error(Format("invalid number %s", {FTokenText}));
        switch (FFloatType) {
        case 's': {
            const float single = static_cast<float>(v);
            if (std::isinf(single))
                OutOfRange("a single");
            Byte1(vaSingle);
            Raw(single);
            break;
        }
        case 'c': {
            // The text holds the stored 64-bit integer (the value times 10000).
            const long double scaled = std::nearbyint(v);
            if (!(scaled >= -0x1p63L && scaled < 0x1p63L))
                OutOfRange("a currency");
            Byte1(vaCurrency);
            Raw(static_cast<int64_t>(scaled));
            break;
        }
        case 'd': {
            const double date = static_cast<double>(v);
            if (std::isinf(date))
                OutOfRange("a date");
            Byte1(vaDate);
            Raw(date);
            break;
        }
        default: {
            if (std::isinf(v))
                OutOfRange("an extended float");
            Byte1(vaExtended);
            Byte b[10];
            FloatToExtended(v, b);
            FOut.append(reinterpret_cast<const char*>(b), 10);
        }
        }
    }

    [[noreturn]] void OutOfRange(const char* type) const
    {
        const std::string suffix = FFloatType != 0 ? std::string(1, FFloatSuffix) : std::string();
        Error(Format("number %s is out of the range of %s", {FTokenText + suffix, type}));
    }

    // The lexer stopped at '{': hex digits and blanks up to '}'.
    void ConvertBinary()
    {
        std::string bytes;
        int nibbles = 0;
        unsigned value = 0;
        for (;;) {
            if (FPos >= FText.size())
                Error("'}' expected but end of file found");
            const char d = FText[FPos++];
            if (d == '}')
                break;
            if (d == '\n')
                ++FLine;
            if (static_cast<unsigned char>(d) <= ' ')
                continue;
            if (!IsHex(d)) {
                FTokenLine = FLine;
                Error(Format("invalid hex digit '%s' in binary data", {std::string(1, d)}));
            }
            value = value * 16 + static_cast<unsigned>(IsDigit(d) ? d - '0' : (d | 0x20) - 'a' + 10);
            if (++nibbles == 2) {
                bytes += static_cast<char>(value);
                nibbles = 0;
                value = 0;
            }
        }
        if (nibbles != 0)
            Error("an odd number of hex digits in binary data");
        if (bytes.size() > static_cast<size_t>(INT32_MAX))
            Error("binary data too long to store");
        Byte1(vaBinary);
        Raw(static_cast<Integer>(bytes.size()));
        FOut += bytes;
        Next();
    }

    std::string_view FText;
    size_t FPos = 0;
    int FLine = 1;
    int FTokenLine = 1;
    Tok FTok = Tok::End;
    std::string FTokenText;
    std::vector<uint32_t> FUnits;
    char FFloatType = 0;   // 's', 'c', 'd' or 0
    char FFloatSuffix = 0; // the suffix as written
    std::string FOut;
    int FDepth = 0;
    std::vector<TTextMark>* FMarks;
};

} // namespace

std::string TextToBinary(std::string_view text, std::vector<TTextMark>* marks)
{
    if (marks != nullptr)
        marks->clear();
    return TTextToBinary(text, marks).Convert();
}

std::string TextToComponentList(std::string_view text) { return TTextToBinary(text, nullptr).ConvertList(); }

} // namespace ld
