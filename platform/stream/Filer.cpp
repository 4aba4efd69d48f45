#include "platform/stream/Filer.h"

#include "platform/core/SysUtils.h"

namespace ld {

TClass TFiler::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TFiler>("TFiler", TObject::StaticClass());
    return &info;
}

std::string ValueTypeName(Byte value)
{
    static const char* const names[] = {"vaNull",  "vaList",     "vaInt8",     "vaInt16",  "vaInt32",   "vaExtended",
                                        "vaString", "vaIdent",   "vaFalse",    "vaTrue",   "vaBinary",  "vaSet",
                                        "vaLString", "vaNil",    "vaCollection", "vaSingle", "vaCurrency", "vaDate",
                                        "vaWString", "vaInt64",  "vaUTF8String", "vaDouble"};
    if (value <= vaLast)
        return names[value];
    return Format("value type %d", {value});
}

} // namespace ld

#include <cfloat>
#include <cmath>
#include <cstring>
#include <vector>

namespace ld {

long double ExtendedToFloat(const Byte b[10])
{
    if constexpr (LDBL_MANT_DIG == 64 && sizeof(long double) >= 10) {
        long double v = 0;
        std::memcpy(&v, b, 10);
        return v;
    } else {
        uint64_t mantissa = 0;
        for (int i = 7; i >= 0; --i)
            mantissa = (mantissa << 8) | b[i];
        const int exponent = ((b[9] & 0x7F) << 8) | b[8];
        const bool negative = (b[9] & 0x80) != 0;
        long double v;
        if (exponent == 0 && mantissa == 0)
            v = 0;
        else if (exponent == 0x7FFF)
            v = (mantissa << 1) == 0 ? HUGE_VALL : NAN;
        else
            v = std::ldexp(static_cast<long double>(mantissa), exponent - 16383 - 63);
        return negative ? -v : v;
    }
}

void FloatToExtended(long double value, Byte b[10])
{
    if constexpr (LDBL_MANT_DIG == 64 && sizeof(long double) >= 10) {
        std::memset(b, 0, 10);
        std::memcpy(b, &value, 10);
    } else {
        std::memset(b, 0, 10);
        const bool negative = std::signbit(value);
        if (negative)
            value = -value;
        uint64_t mantissa = 0;
        int exponent = 0;
        if (std::isinf(value)) {
            exponent = 0x7FFF;
            mantissa = 0x8000000000000000ull;
        } else if (std::isnan(value)) {
            exponent = 0x7FFF;
            mantissa = 0xC000000000000000ull;
        } else if (value != 0) {
            int e = 0;
            const long double m = std::frexp(value, &e);
            mantissa = static_cast<uint64_t>(std::ldexp(m, 64));
            exponent = e - 1 + 16383;
        }
        for (int i = 0; i < 8; ++i)
            b[i] = static_cast<Byte>(mantissa >> (8 * i));
        b[8] = static_cast<Byte>(exponent);
        b[9] = static_cast<Byte>(((exponent >> 8) & 0x7F) | (negative ? 0x80 : 0));
    }
}

namespace {
std::vector<TFindGlobalComponent>& GlobalFinders()
{
    static std::vector<TFindGlobalComponent> finders;
    return finders;
}
} // namespace

void RegisterFindGlobalComponentProc(TFindGlobalComponent proc) { GlobalFinders().push_back(proc); }

void UnregisterFindGlobalComponentProc(TFindGlobalComponent proc)
{
    auto& f = GlobalFinders();
    for (auto it = f.begin(); it != f.end(); ++it)
        if (*it == proc) {
            f.erase(it);
            return;
        }
}

TComponent* FindGlobalComponent(const std::string& name)
{
    for (TFindGlobalComponent f : GlobalFinders())
        if (TComponent* c = f(name))
            return c;
    return nullptr;
}

} // namespace ld
