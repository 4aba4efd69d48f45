// The installer's system calls on a Wine prefix: HKEY_LOCAL_MACHINE is the
// prefix's system.reg, HKEY_CURRENT_USER its user.reg, and Windows paths reach the
// Linux files through the prefix's drives. A registry file is written back only
// when it changed, at each change, atomically.
#pragma once

#include "installer/core/InstallerOs.h"
#include "installer/wine/RegistryFile.h"
#include "installer/wine/WinePrefix.h"

#include <map>
#include <memory>
#include <ostream>

namespace ld::deckinstall {

class TWineOs final : public TInstallerOs {
public:
    // Reads both registry files; throws ERegistryFileError for a malformed one and
    // EWinePrefixError for one that cannot be read.
    TWineOs(TWinePrefix prefix, std::ostream& out, std::ostream& err);

    const TWinePrefix& Prefix() const { return FPrefix; }

    bool OpenKey(TRootKey root, const std::string& path, TKeyHandle& key) override;
    TQueryResult QueryValue(TKeyHandle key, const std::string& name, TRegValueData& data) override;
    bool SetStringValue(TKeyHandle key, const std::string& name, const std::string& text) override;
    std::vector<std::string> ValueNames(TKeyHandle key) override;
    bool DeleteValue(TKeyHandle key, const std::string& name) override;
    void CloseKey(TKeyHandle key) override;

    bool IsFile(const std::string& path) override;
    bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) override;
    bool RemoveFile(const std::string& path) override;
    std::vector<std::string> FindNames(const std::string& pattern) override;
    std::string SystemFolder() override;
    std::string ProgramFileName() override;

    bool ReadWholeFile(const std::string& path, std::string& bytes) override;
    bool WriteWholeFile(const std::string& path, const std::string& bytes) override;

    bool SameTextIgnoreCase(const std::string& a, const std::string& b) override;
    void ShowMessage(const std::string& text, const std::string& caption, TMessageKind kind) override;

private:
    struct THive {
        std::filesystem::path FileName;
        std::unique_ptr<TRegistryFile> File;
        bool Writable = false;
    };
    struct TOpenKey {
        THive* Hive = nullptr;
        std::u16string Path;
    };

    THive LoadHive(const std::filesystem::path& fileName);
    bool SaveHive(THive& hive);
    std::u16string KeyPath(TRootKey root, const std::string& path) const;
    TOpenKey* FindKey(TKeyHandle key);

    TWinePrefix FPrefix;
    std::ostream& FOut;
    std::ostream& FErr;
    THive FMachine;
    THive FUser;
    std::map<TKeyHandle, TOpenKey> FOpenKeys;
    TKeyHandle FNextKey = 1;
};

// Windows wildcard matching without regard to case: "*", "?", and a final ".*"
// that also matches a name without an extension.
bool MatchesWildcard(std::u16string_view name, std::u16string_view pattern);

} // namespace ld::deckinstall
