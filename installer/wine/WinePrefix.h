// A Wine prefix seen from Linux: where it is, its drives, how Windows paths of a
// 32-bit program map to Linux paths and back, and whether its wineserver runs.
#pragma once

#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>

namespace ld::deckinstall {

// The prefix cannot be used; the message says why.
class EWinePrefixError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TWinePrefix {
public:
    // The folder must hold system.reg, user.reg and dosdevices.
    explicit TWinePrefix(std::filesystem::path folder);
    // WINEPREFIX, else ~/.wine.
    static std::filesystem::path DefaultFolder();

    const std::filesystem::path& Folder() const { return FFolder; }
    std::filesystem::path SystemRegistryFile() const { return FFolder / "system.reg"; }
    std::filesystem::path UserRegistryFile() const { return FFolder / "user.reg"; }

    // A win64 prefix shows a 32-bit program Software\Wow6432Node and syswow64.
    void SetWin64(bool win64) { FWin64 = win64; }
    bool IsWin64() const { return FWin64; }

    // The Linux path of an 8-bit Windows path. Parts that exist are matched without
    // regard to case; the rest is kept as given. Empty when the path names no
    // drive of the prefix.
    std::filesystem::path ToLinuxPath(const std::string& windowsPath) const;
    // The Windows path of a Linux path: the drive whose target holds it (the
    // longest match), else the \\?\unix form.
    std::string ToWindowsPath(const std::filesystem::path& linuxPath) const;

    // A running wineserver keeps the registry in memory and would overwrite what we
    // write when it saves.
    bool ServerRunning() const;
    std::filesystem::path ServerFolder() const;

private:
    std::filesystem::path DriveTarget(char letter) const;
    std::filesystem::path ResolveParts(std::filesystem::path base, const std::string& rest, bool allowRedirect) const;

    std::filesystem::path FFolder;
    bool FWin64 = false;
};

} // namespace ld::deckinstall
