// The package information reader must refuse any malformed input with an
// EPackageError and never crash or read out of bounds; what it accepts must
// write back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "host/PackageInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const ld::TPackageInfo info = ld::ReadPackageInfo(bytes);
        if (ld::WritePackageInfo(info) != bytes)
            std::abort();
    } catch (const ld::EPackageError&) {
    }
    return 0;
}
