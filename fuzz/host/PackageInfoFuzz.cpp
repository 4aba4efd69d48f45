// The package information and package options readers must refuse any
// malformed input with an EPackageError and never crash or read out of bounds;
// what they accept must write back to the same bytes (the first layout of the
// package information writes back as the current one, holding the same).
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
        const std::string written = ld::WritePackageInfo(info);
        const bool firstLayout = size > 4 && data[4] == 1;
        if (firstLayout ? !(ld::ReadPackageInfo(written) == info) : written != bytes)
            std::abort();
    } catch (const ld::EPackageError&) {
    }
    try {
        const ld::TPackageOptions options = ld::ReadPackageOptions(bytes);
        if (ld::WritePackageOptions(options) != bytes)
            std::abort();
    } catch (const ld::EPackageError&) {
    }
    return 0;
}
