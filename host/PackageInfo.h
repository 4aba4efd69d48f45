// The package information a package build carries as its PACKAGEINFO resource:
// its flags, the packages it requires and the units it contains. The layout is
// ours; the environment reads it when it loads a package.
//
//   "LDPK"    4 bytes
//   version   16 bits, 2 (1 is read too: it has no imports)
//   flags     32 bits: TPackageFlag bits, the producer in bits 8 to 15
//   requires  count (8 bits), then each name as an 8-bit length and its bytes
//   contains  count (8 bits), then each unit as flags (8 bits), length and bytes
//   imports   count (8 bits), then each name as requires: libraries other than
//             packages that the build links (a host's run-time library)
//
// Numbers are little-endian; nothing follows the last import. Names are
// identifiers of at most 63 bytes.
//
// The package-options resource (PACKAGEOPTIONS) that a host's compiler writes:
//
//   header    16 bits version 1, 16 bits count of the texts that follow
//   texts     each a 16-bit length and its bytes: the unit-alias list, then
//             the package description
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
// The producers a package's flags name (0: the compiler names none).
constexpr uint8_t ppDelphi = 1;

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
    std::vector<std::string> Imports;

    uint8_t Producer() const { return static_cast<uint8_t>((Flags & pfProducerMask) >> pfProducerShift); }
    bool operator==(const TPackageInfo& other) const;
};

// EPackageError for a name that is not an identifier or for more than 255 entries.
std::string WritePackageInfo(const TPackageInfo& info);
// EPackageError naming the fault and its byte offset for malformed data.
TPackageInfo ReadPackageInfo(std::string_view data);

struct TPackageOptions {
    std::vector<std::string> Texts;
    bool operator==(const TPackageOptions&) const = default;
};

// EPackageError for more than 65535 texts or a text longer than 65535 bytes.
std::string WritePackageOptions(const TPackageOptions& options);
// EPackageError naming the fault and its byte offset for malformed data.
TPackageOptions ReadPackageOptions(std::string_view data);

} // namespace ld
