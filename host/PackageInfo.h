// The package information a package build carries as its PACKAGEINFO resource:
// its flags, the packages it requires and the units it contains. The layout is
// ours; the environment reads it when it loads a package.
//
//   "LDPK"    4 bytes
//   version   16 bits, 1
//   flags     32 bits: TPackageFlag bits, the producer in bits 8 to 15
//   requires  count (8 bits), then each name as an 8-bit length and its bytes
//   contains  count (8 bits), then each unit as flags (8 bits), length and bytes
//
// Numbers are little-endian; nothing follows the last unit. Names are
// identifiers of at most 63 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/SysUtils.h"

namespace ld {

// A package that cannot be loaded or whose information is malformed.
class EPackageError : public Exception {
public:
    explicit EPackageError(std::string message) : Exception(std::move(message)) {}
};

enum TPackageFlag : uint32_t {
    pfDesignOnly = 1,   // only the environment loads it
    pfRunOnly = 2,      // only applications load it
    pfExplicitBuild = 4 // rebuilt only when asked, never implicitly
};
constexpr uint32_t pfProducerShift = 8;
constexpr uint32_t pfProducerMask = 0xFF << pfProducerShift;

enum TUnitFlag : uint8_t {
    ufMainUnit = 1,    // the package's own unit
    ufPackageUnit = 2, // a unit the package contains explicitly
    ufWeakUnit = 4,    // linked weakly: its code stays with the package that uses it
    ufImplicit = 8     // pulled in by another unit, not named by the package
};

struct TPackageUnit {
    uint8_t Flags = ufPackageUnit;
    std::string Name;
};

struct TPackageInfo {
    uint32_t Flags = 0;
    std::vector<std::string> Requires;
    std::vector<TPackageUnit> Contains;

    uint8_t Producer() const { return static_cast<uint8_t>((Flags & pfProducerMask) >> pfProducerShift); }
    bool operator==(const TPackageInfo& other) const;
};

// EPackageError for a name that is not an identifier or for more than 255 entries.
std::string WritePackageInfo(const TPackageInfo& info);
// EPackageError naming the fault and its byte offset for malformed data.
TPackageInfo ReadPackageInfo(std::string_view data);

} // namespace ld
