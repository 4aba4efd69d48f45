#include "platform/core/SysUtils.h"

#include <cctype>
#include <climits>

namespace ld {

namespace {

[[noreturn]] void FormatError(std::string_view format)
{
    throw EConvertError("Format '" + std::string(format) + "' invalid or incompatible with argument");
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

std::string UnsignedDigits(uint64_t value, unsigned base)
{
    static const char digits[] = "0123456789ABCDEF";
    char buffer[32];
    int n = 0;
    do {
        buffer[n++] = digits[value % base];
        value /= base;
    } while (value != 0);
    std::string out;
    while (n > 0)
        out += buffer[--n];
    return out;
}

// A directive's number: digits, or '*' taking the next argument.
Integer ReadDirectiveNumber(std::string_view format, size_t& i, std::initializer_list<TVarRec> args, size_t& next)
{
    if (i < format.size() && format[i] == '*') {
        ++i;
        if (next >= args.size() || args.begin()[next].kind != TVarRec::Kind::Integer)
            FormatError(format);
        return static_cast<Integer>(args.begin()[next++].integer);
    }
    Integer n = 0;
    while (i < format.size() && IsDigit(format[i])) {
        n = n * 10 + (format[i] - '0');
        if (n > 100000)
            FormatError(format);
        ++i;
    }
    return n;
}

std::string Pad(std::string body, Integer width, bool left)
{
    if (width > 0 && static_cast<Integer>(body.size()) < width) {
        const std::string fill(static_cast<size_t>(width) - body.size(), ' ');
        body = left ? body + fill : fill + body;
    }
    return body;
}

std::string ZeroExtend(std::string digits, Integer precision)
{
    if (precision > 0 && static_cast<Integer>(digits.size()) < precision)
        digits.insert(0, static_cast<size_t>(precision) - digits.size(), '0');
    return digits;
}

} // namespace

std::string Format(std::string_view format, std::initializer_list<TVarRec> args)
{
    std::string out;
    size_t next = 0;
    size_t i = 0;
    while (i < format.size()) {
        const char c = format[i++];
        if (c != '%') {
            out += c;
            continue;
        }
        if (i >= format.size())
            FormatError(format);
        if (format[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // An index prefix "n:" selects the argument and continues from there.
        const size_t save = i;
        const size_t saveNext = next;
        if (i < format.size() && (IsDigit(format[i]) || format[i] == '*')) {
            const Integer n = ReadDirectiveNumber(format, i, args, next);
            if (i < format.size() && format[i] == ':') {
                ++i;
                if (n < 0)
                    FormatError(format);
                next = static_cast<size_t>(n);
            } else {
                i = save;
                next = saveNext;
            }
        }
        bool left = false;
        if (i < format.size() && format[i] == '-') {
            left = true;
            ++i;
        }
        Integer width = ReadDirectiveNumber(format, i, args, next);
        Integer precision = -1;
        if (i < format.size() && format[i] == '.') {
            ++i;
            precision = ReadDirectiveNumber(format, i, args, next);
        }
        if (i >= format.size() || next >= args.size())
            FormatError(format);
        const char type = AsciiLower(format[i++]);
        const TVarRec& arg = args.begin()[next++];
        std::string body;
        switch (type) {
        case 'd':
            if (arg.kind != TVarRec::Kind::Integer)
                FormatError(format);
            if (arg.integer < 0)
                body = "-" + ZeroExtend(UnsignedDigits(0 - static_cast<uint64_t>(arg.integer), 10), precision);
            else
                body = ZeroExtend(UnsignedDigits(static_cast<uint64_t>(arg.integer), 10), precision);
            break;
        case 'u':
        case 'x': {
            if (arg.kind != TVarRec::Kind::Integer)
                FormatError(format);
            // A negative 32-bit argument shows as its unsigned 32-bit pattern.
            uint64_t v = static_cast<uint64_t>(arg.integer);
            if (arg.integer < 0 && arg.integer >= INT32_MIN)
                v = static_cast<uint32_t>(arg.integer);
            body = ZeroExtend(UnsignedDigits(v, type == 'x' ? 16 : 10), precision);
            break;
        }
        case 's':
            if (arg.kind != TVarRec::Kind::String)
                FormatError(format);
            body = std::string(arg.string);
            if (precision >= 0 && static_cast<Integer>(body.size()) > precision)
                body.resize(static_cast<size_t>(precision));
            break;
        default:
            FormatError(format);
        }
        out += Pad(std::move(body), width, left);
    }
    return out;
}

std::string IntToStr(Int64 value) { return Format("%d", {static_cast<long long>(value)}); }

std::string IntToHex(Int64 value, Integer digits)
{
    return ZeroExtend(UnsignedDigits(static_cast<uint64_t>(value), 16), digits);
}

bool TryStrToInt64(std::string_view text, Int64& value)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    unsigned base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return false;
    uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = AsciiUpper(text[i]);
        unsigned d;
        if (IsDigit(c))
            d = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = static_cast<unsigned>(c - 'A' + 10);
        else
            return false;
        if (magnitude > (UINT64_MAX - d) / base)
            return false;
        magnitude = magnitude * base + d;
    }
    if (base == 16) {
        // Hex is a bit pattern: $FFFFFFFF is -1 as a 32-bit value would be read.
        value = static_cast<Int64>(magnitude);
        if (negative)
            value = -value;
        return true;
    }
    if (negative) {
        if (magnitude > static_cast<uint64_t>(INT64_MAX) + 1)
            return false;
        value = static_cast<Int64>(0 - magnitude);
    } else {
        if (magnitude > static_cast<uint64_t>(INT64_MAX))
            return false;
        value = static_cast<Int64>(magnitude);
    }
    return true;
}

bool TryStrToInt(std::string_view text, Integer& value)
{
    Int64 wide = 0;
    if (!TryStrToInt64(text, wide))
        return false;
    const bool hex = text.find('$') != std::string_view::npos || text.find('x') != std::string_view::npos ||
                     text.find('X') != std::string_view::npos;
    if (hex && wide >= 0 && wide <= static_cast<Int64>(UINT32_MAX)) {
        value = static_cast<Integer>(static_cast<uint32_t>(wide));
        return true;
    }
    if (wide < INT32_MIN || wide > INT32_MAX)
        return false;
    value = static_cast<Integer>(wide);
    return true;
}

Integer StrToInt(std::string_view text)
{
    Integer value = 0;
    if (!TryStrToInt(text, value))
        throw EConvertError(Format("'%s' is not a valid integer value", {text}));
    return value;
}

Integer MulDiv(Integer a, Integer b, Integer c)
{
    if (c == 0)
        return -1;
    const int64_t product = int64_t(a) * b;
    const int64_t magnitude = (product < 0 ? -product : product) + (c < 0 ? -int64_t(c) : int64_t(c)) / 2;
    const int64_t quotient = magnitude / (c < 0 ? -int64_t(c) : int64_t(c));
    const int64_t result = ((product < 0) != (c < 0)) ? -quotient : quotient;
    if (result > INT32_MAX || result < INT32_MIN)
        return -1;
    return Integer(result);
}

Integer StrToIntDef(std::string_view text, Integer fallback)
{
    Integer value = 0;
    return TryStrToInt(text, value) ? value : fallback;
}

std::string UpperCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = AsciiUpper(c);
    return out;
}

std::string LowerCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = AsciiLower(c);
    return out;
}

Integer CompareText(std::string_view a, std::string_view b)
{
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const int d = static_cast<unsigned char>(AsciiUpper(a[i])) - static_cast<unsigned char>(AsciiUpper(b[i]));
        if (d != 0)
            return d;
    }
    return static_cast<Integer>(a.size()) - static_cast<Integer>(b.size());
}

bool SameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    return true;
}

std::string Trim(std::string_view text)
{
    size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ')
        --e;
    return std::string(text.substr(b, e - b));
}

bool IsValidIdent(std::string_view ident)
{
    if (ident.empty())
        return false;
    auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!alpha(ident[0]))
        return false;
    for (char c : ident)
        if (!alpha(c) && !IsDigit(c))
            return false;
    return true;
}

} // namespace ld
