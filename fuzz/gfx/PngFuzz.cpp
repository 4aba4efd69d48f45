// The PNG reader must refuse any input with an exception and never crash or
// read past the data.
#include <cstddef>
#include <cstdint>

#include "platform/core/SysUtils.h"
#include "platform/gfx/Png.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        auto surface = ld::ReadPng(data, size);
        (void)ld::WritePng(*surface);
    } catch (const ld::Exception&) {
    }
    return 0;
}
