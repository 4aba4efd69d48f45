// The four development environments the installer knows, their detection and the
// summary of what was installed where.
#pragma once

#include "installer/core/InstallerOs.h"

#include <array>
#include <string>

namespace ld::deckinstall {

constexpr int ipComponent = 1; // bit of InstalledParts: the package is registered
constexpr int ipHelp = 2;      // bit of InstalledParts: the help is installed

struct TEnvironment {
    // Detection and help (constant).
    const char* EnvName;
    const char* BaseKey;
    const char* ContentsFile;
    // Package registration (constant).
    const char* PackageFile;
    const char* LibFolder;
    const char* LibraryKey;
    const char* SearchPathValue;
    const char* KnownPackagesKey;
    // Found by the run.
    bool IsFound = false;
    std::string RootDir;
    int InstalledParts = 0;
};

using TEnvironmentTable = std::array<TEnvironment, 4>;

// The table in its fixed order: Delphi 3, Delphi 4, Delphi 5, C++Builder 3.
TEnvironmentTable MakeEnvironmentTable();

// What the steps share for one run: the system, the distribution folder (lower
// case, with backslash) and the system folder (with backslash).
struct TInstallContext {
    TInstallerOs& Os;
    std::string InstallDir;
    std::string SystemDir;
};

TInstallContext MakeInstallContext(TInstallerOs& os);

void DetectEnvironments(TInstallerOs& os, TEnvironmentTable& environments);

std::string StatusLine(const std::string& envName, int installedParts);
std::string BuildSummary(const TEnvironmentTable& environments);
std::string FinalMessageText(const std::string& summary);

extern const char* const FinalMessageCaption;

} // namespace ld::deckinstall
