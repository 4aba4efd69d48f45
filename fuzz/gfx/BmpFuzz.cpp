// The bitmap reader must refuse any input with an exception and never crash,
// read out of bounds or allocate from an unchecked size.
#include <cstddef>
#include <cstdint>

#include "platform/core/SysUtils.h"
#include "platform/gfx/Bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        auto surface = ld::ReadBmp(data, size);
        // What was read must be writable again.
        (void)ld::WriteBmp(*surface, 32);
    } catch (const ld::Exception&) {
    }
    try {
        (void)ld::ReadDib(data, size);
    } catch (const ld::Exception&) {
    }
    return 0;
}
