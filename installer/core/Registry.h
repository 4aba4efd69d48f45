// A registry object over one root key, in the manner of the class library's
// TRegistry: keys are opened without being created and always for full access.
#pragma once

#include "installer/core/InstallerOs.h"

#include <string>
#include <vector>

namespace ld::deckinstall {

class TRegistry {
public:
    TRegistry(TInstallerOs& os, TRootKey root) : FOs(os), FRootKey(root) {}
    ~TRegistry() { CloseKey(); }
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    // Opens Path under the root key, closing the key that was open. False when the
    // key is missing or full access is refused.
    bool OpenKey(const std::string& path);
    void CloseKey();

    // Missing or empty: "". Another type than REG_SZ or REG_EXPAND_SZ raises
    // "Invalid data type for '%s'"; a refused read "Failed to get data for '%s'".
    std::string ReadString(const std::string& name);
    // Raises "Failed to set data for '%s'" when the system refuses.
    void WriteString(const std::string& name, const std::string& value);
    std::vector<std::string> GetValueNames();
    // Reports nothing: a value that could not be deleted simply stays.
    void DeleteValue(const std::string& name);

private:
    TInstallerOs& FOs;
    TRootKey FRootKey;
    TKeyHandle FCurrentKey = 0;
    bool FKeyOpen = false;
};

} // namespace ld::deckinstall
