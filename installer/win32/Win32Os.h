// The installer's system calls on Windows: the real advapi32, kernel32 and user32
// "A" calls.
#pragma once

#include "installer/core/InstallerOs.h"

namespace ld::deckinstall {

class TWin32Os final : public TInstallerOs {
public:
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
};

} // namespace ld::deckinstall
