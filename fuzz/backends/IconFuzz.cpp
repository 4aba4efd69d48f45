// The reader of icon images (a packed bitmap with its mask, or a PNG) must
// refuse any input with an exception and never crash or read past the data.
#include <cstddef>
#include <cstdint>

#include "platform/backends/X11Icon.h"
#include "platform/core/SysUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        (void)ld::x11::IconImageProperty(data, size);
    } catch (const ld::Exception&) {
    }
    return 0;
}
