// The class library's run-time basics: the exception hierarchy every layer raises,
// Format and the integer/string conversions, ASCII case mapping and identifiers.
#pragma once

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/core/Types.h"

namespace ld {

// Every failure the class library reports; Message() is the text a user sees.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const std::string& Message() const { return FMessage; }
    void SetMessage(std::string message) { FMessage = std::move(message); }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

#define LD_EXCEPTION(Name, Base)                                   \
    class Name : public Base {                                     \
    public:                                                        \
        explicit Name(std::string message) : Base(std::move(message)) {} \
    }

LD_EXCEPTION(EListError, Exception);
LD_EXCEPTION(EStringListError, Exception);
LD_EXCEPTION(EConvertError, Exception);
LD_EXCEPTION(EInvalidCast, Exception);
LD_EXCEPTION(EInvalidOperation, Exception);
LD_EXCEPTION(EInvalidPointer, Exception);
LD_EXCEPTION(EOutOfMemory, Exception);
LD_EXCEPTION(EOutOfResources, Exception);
LD_EXCEPTION(EComponentError, Exception);
LD_EXCEPTION(EResNotFound, Exception);
LD_EXCEPTION(EInOutError, Exception);
LD_EXCEPTION(EAbort, Exception);
LD_EXCEPTION(EWin32Error, Exception);
LD_EXCEPTION(EStreamError, Exception);
LD_EXCEPTION(EFCreateError, EStreamError);
LD_EXCEPTION(EFOpenError, EStreamError);
LD_EXCEPTION(EFilerError, EStreamError);
LD_EXCEPTION(EReadError, EFilerError);
LD_EXCEPTION(EWriteError, EFilerError);
// Raised by a reader for a class a stored form names that is not registered,
// so it is a read error too.
LD_EXCEPTION(EClassNotFound, EReadError);
LD_EXCEPTION(EMethodNotFound, EFilerError);
LD_EXCEPTION(EInvalidImage, EFilerError);
// The text form's parser: a read error that names the line.
LD_EXCEPTION(EParserError, EReadError);

#undef LD_EXCEPTION

// One argument of Format: an integer or a string (the open array of the original).
struct TVarRec {
    enum class Kind { Integer, String };
    TVarRec(int v) : kind(Kind::Integer), integer(v) {}
    TVarRec(long v) : kind(Kind::Integer), integer(v) {}
    TVarRec(long long v) : kind(Kind::Integer), integer(v) {}
    TVarRec(unsigned v) : kind(Kind::Integer), integer(v) {}
    TVarRec(unsigned long v) : kind(Kind::Integer), integer(static_cast<Int64>(v)) {}
    TVarRec(unsigned long long v) : kind(Kind::Integer), integer(static_cast<Int64>(v)) {}
    TVarRec(const char* v) : kind(Kind::String), string(v ? v : "") {}
    TVarRec(std::string_view v) : kind(Kind::String), string(v) {}
    TVarRec(const std::string& v) : kind(Kind::String), string(v) {}
    Kind kind;
    Int64 integer = 0;
    std::string_view string;
};

// Format with %[index:][-][width][.precision] and d, u, x (upper-case hex), s, %.
// A directive that does not match its argument raises EConvertError.
std::string Format(std::string_view format, std::initializer_list<TVarRec> args);

std::string IntToStr(Int64 value);
std::string IntToHex(Int64 value, Integer digits);
// Decimal with optional sign, or hex after '$' or "0x"; leading blanks allowed.
// Raises EConvertError "'%s' is not a valid integer value".
Integer StrToInt(std::string_view text);
Integer StrToIntDef(std::string_view text, Integer fallback);
bool TryStrToInt(std::string_view text, Integer& value);
bool TryStrToInt64(std::string_view text, Int64& value);

// a * b / c rounded to the nearest integer, halves away from zero, as the
// system's MulDiv: -1 when c is 0 or the result does not fit 32 bits.
Integer MulDiv(Integer a, Integer b, Integer c);

// ASCII only: bytes above 127 are left as they are.
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
Integer CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
std::string Trim(std::string_view text);

// A letter or underscore, then letters, digits or underscores.
bool IsValidIdent(std::string_view ident);

} // namespace ld
