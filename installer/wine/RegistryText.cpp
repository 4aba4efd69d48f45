#include "installer/wine/RegistryText.h"

#include "installer/wine/Codepage.h"

namespace ld::deckinstall {

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool OnlyBlanksFrom(std::string_view text, size_t pos)
{
    for (; pos < text.size(); ++pos)
        if (!IsBlank(text[pos]))
            return false;
    return true;
}

char16_t SimpleEscape(char c)
{
    switch (c) {
    case 'a': return 0x07;
    case 'b': return 0x08;
    case 'e': return 0x1B;
    case 'f': return 0x0C;
    case 'n': return 0x0A;
    case 'r': return 0x0D;
    case 't': return 0x09;
    case 'v': return 0x0B;
    default: return 0;
    }
}

// A raw byte above 127: a UTF-8 sequence when it is one, else a Latin-1 character.
size_t AppendRawCharacter(std::string_view line, size_t pos, std::u16string& text)
{
    uint32_t code = 0;
    const size_t length = DecodeUtf8Char(line, pos, code);
    if (length == 0) {
        text += static_cast<char16_t>(static_cast<unsigned char>(line[pos]));
        return 1;
    }
    if (code >= 0x10000) {
        code -= 0x10000;
        text += static_cast<char16_t>(0xD800 + (code >> 10));
        text += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
        text += static_cast<char16_t>(code);
    }
    return length;
}

std::string HexOf(uint32_t value, int minDigits)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), digits[value & 15]);
        value >>= 4;
    } while (value != 0);
    while (static_cast<int>(text.size()) < minDigits)
        text.insert(text.begin(), '0');
    return text;
}

std::string OctalOf(uint32_t value, int minDigits)
{
    std::string text;
    do {
        text.insert(text.begin(), static_cast<char>('0' + (value & 7)));
        value >>= 3;
    } while (value != 0);
    while (static_cast<int>(text.size()) < minDigits)
        text.insert(text.begin(), '0');
    return text;
}

bool IsAsciiHexDigit(char16_t c)
{
    return c < 0x80 && HexDigit(static_cast<char>(c)) >= 0;
}

// "(N):" after "str" or "hex": N in hex, at most 8 digits.
bool ParseTypeNumber(std::string_view text, size_t& pos, uint32_t& type)
{
    if (pos >= text.size() || text[pos] != '(')
        return false;
    ++pos;
    size_t digits = 0;
    type = 0;
    while (pos < text.size() && HexDigit(text[pos]) >= 0 && digits < 8) {
        type = type * 16 + static_cast<uint32_t>(HexDigit(text[pos]));
        ++pos;
        ++digits;
    }
    if (digits == 0 || pos + 1 >= text.size() || text[pos] != ')' || text[pos + 1] != ':')
        return false;
    pos += 2;
    return true;
}

bool ParseHexBytes(std::string_view text, size_t pos, std::string& bytes, std::string& error)
{
    for (;;) {
        while (pos < text.size() && IsBlank(text[pos]))
            ++pos;
        if (pos >= text.size())
            return true;
        int value = 0;
        size_t digits = 0;
        while (pos < text.size() && HexDigit(text[pos]) >= 0 && digits < 2) {
            value = value * 16 + HexDigit(text[pos]);
            ++pos;
            ++digits;
        }
        if (digits == 0) {
            error = "bad hex data";
            return false;
        }
        bytes += static_cast<char>(value);
        while (pos < text.size() && IsBlank(text[pos]))
            ++pos;
        if (pos >= text.size())
            return true;
        if (text[pos] != ',') {
            error = "bad hex data";
            return false;
        }
        ++pos;
    }
}

bool ParseStringData(std::string_view text, size_t pos, uint32_t type, TRegistryData& data, std::string& error)
{
    std::u16string value;
    if (!ParseEscaped(text, pos, '"', value, error))
        return false;
    if (!OnlyBlanksFrom(text, pos)) {
        error = "text after the closing quote";
        return false;
    }
    value += u'\0';
    data.Type = type;
    data.Bytes = WideToBytes(value);
    return true;
}

bool IsStringType(uint32_t type)
{
    return type == 1 || type == 2 || type == 7;
}

} // namespace

std::u16string BytesToWide(std::string_view bytes)
{
    std::u16string wide(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < wide.size(); ++i)
        wide[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return wide;
}

std::string WideToBytes(std::u16string_view wide)
{
    std::string bytes(wide.size() * 2, '\0');
    for (size_t i = 0; i < wide.size(); ++i) {
        bytes[2 * i] = static_cast<char>(wide[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(wide[i] >> 8);
    }
    return bytes;
}

bool ParseEscaped(std::string_view line, size_t& pos, char delimiter, std::u16string& text, std::string& error)
{
    for (;;) {
        if (pos >= line.size()) {
            error = std::string("missing closing ") + delimiter;
            return false;
        }
        const char c = line[pos];
        if (c == delimiter) {
            ++pos;
            return true;
        }
        if (static_cast<unsigned char>(c) >= 0x80) {
            pos += AppendRawCharacter(line, pos, text);
            continue;
        }
        if (c != '\\') {
            text += static_cast<char16_t>(c);
            ++pos;
            continue;
        }
        ++pos;
        if (pos >= line.size()) {
            error = "escape at the end of the line";
            return false;
        }
        const char e = line[pos];
        if (const char16_t simple = SimpleEscape(e)) {
            text += simple;
            ++pos;
        } else if (e == 'x') {
            ++pos;
            uint32_t value = 0;
            size_t digits = 0;
            while (pos < line.size() && digits < 4 && HexDigit(line[pos]) >= 0) {
                value = value * 16 + static_cast<uint32_t>(HexDigit(line[pos]));
                ++pos;
                ++digits;
            }
            if (digits == 0) {
                error = "\\x without hex digits";
                return false;
            }
            text += static_cast<char16_t>(value);
        } else if (e >= '0' && e <= '7') {
            uint32_t value = 0;
            size_t digits = 0;
            while (pos < line.size() && digits < 3 && line[pos] >= '0' && line[pos] <= '7') {
                value = value * 8 + static_cast<uint32_t>(line[pos] - '0');
                ++pos;
                ++digits;
            }
            text += static_cast<char16_t>(value);
        } else if (static_cast<unsigned char>(e) >= 0x80) {
            pos += AppendRawCharacter(line, pos, text);
        } else {
            text += static_cast<char16_t>(e);
            ++pos;
        }
    }
}

std::string EscapeText(std::u16string_view text, const char* specials)
{
    static const char simple[33] = ".......abtnvfr.............e....";
    std::string out;
    out.reserve(text.size() + 8);
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool nextIsHex = i + 1 < text.size() && IsAsciiHexDigit(text[i + 1]);
        const bool nextIsOctal = i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '7';
        if (c > 127) {
            out += "\\x" + HexOf(c, nextIsHex ? 4 : 1);
        } else if (c < 32) {
            if (simple[c] != '.') {
                out += '\\';
                out += simple[c];
            } else {
                out += "\\" + OctalOf(c, nextIsOctal ? 3 : 1);
            }
        } else if (c == '\\' || c == specials[0] || c == specials[1]) {
            out += '\\';
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

bool DataContinues(std::string_view line)
{
    size_t end = line.size();
    while (end > 0 && IsBlank(line[end - 1]))
        --end;
    return end > 0 && line[end - 1] == '\\';
}

bool ParseValueData(std::string_view text, TRegistryData& data, std::string& error)
{
    size_t pos = 0;
    if (text.starts_with("\""))
        return ParseStringData(text, 1, 1, data, error);
    if (text.starts_with("str:\""))
        return ParseStringData(text, 5, 1, data, error);
    if (text.starts_with("str(")) {
        pos = 3;
        uint32_t type = 0;
        if (!ParseTypeNumber(text, pos, type) || pos >= text.size() || text[pos] != '"') {
            error = "bad str(N): form";
            return false;
        }
        return ParseStringData(text, pos + 1, type, data, error);
    }
    if (text.starts_with("dword:")) {
        pos = 6;
        uint32_t value = 0;
        size_t digits = 0;
        while (pos < text.size() && HexDigit(text[pos]) >= 0 && digits < 8) {
            value = value * 16 + static_cast<uint32_t>(HexDigit(text[pos]));
            ++pos;
            ++digits;
        }
        if (digits == 0 || !OnlyBlanksFrom(text, pos)) {
            error = "bad dword data";
            return false;
        }
        data.Type = 4;
        data.Bytes = std::string{static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                                 static_cast<char>((value >> 16) & 0xFF), static_cast<char>(value >> 24)};
        return true;
    }
    if (text.starts_with("hex:")) {
        data.Type = 3;
        data.Bytes.clear();
        return ParseHexBytes(text, 4, data.Bytes, error);
    }
    if (text.starts_with("hex(")) {
        pos = 3;
        if (!ParseTypeNumber(text, pos, data.Type)) {
            error = "bad hex(N): form";
            return false;
        }
        data.Bytes.clear();
        return ParseHexBytes(text, pos, data.Bytes, error);
    }
    error = "unknown value type";
    return false;
}

std::string FormatValue(std::u16string_view name, const TRegistryData& data)
{
    std::string line = name.empty() ? std::string("@=") : "\"" + EscapeText(name, "\"\"") + "\"=";
    const std::string_view bytes = data.Bytes;
    const bool wellFormedString = IsStringType(data.Type) && bytes.size() >= 2 && bytes.size() % 2 == 0 &&
                                  bytes[bytes.size() - 1] == 0 && bytes[bytes.size() - 2] == 0;
    if (wellFormedString) {
        if (data.Type == 2)
            line += "str(2):";
        else if (data.Type == 7)
            line += "str(7):";
        const std::u16string text = BytesToWide(bytes.substr(0, bytes.size() - 2));
        return line + "\"" + EscapeText(text, "\"\"") + "\"\n";
    }
    if (data.Type == 4 && bytes.size() == 4) {
        uint32_t value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | static_cast<unsigned char>(bytes[static_cast<size_t>(i)]);
        return line + "dword:" + HexOf(value, 8) + "\n";
    }
    line += data.Type == 3 ? std::string("hex:") : "hex(" + HexOf(data.Type, 1) + "):";
    size_t count = line.size();
    for (size_t i = 0; i < bytes.size(); ++i) {
        line += HexOf(static_cast<unsigned char>(bytes[i]), 2);
        count += 2;
        if (i + 1 < bytes.size()) {
            line += ',';
            if (++count > 76) {
                line += "\\\n  ";
                count = 2;
            }
        }
    }
    return line + "\n";
}

} // namespace ld::deckinstall
