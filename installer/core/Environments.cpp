#include "installer/core/Environments.h"

#include "installer/core/PathText.h"
#include "installer/core/Registry.h"

namespace ld::deckinstall {

const char* const FinalMessageCaption = "Launchdeck for Delphi Setup";

TEnvironmentTable MakeEnvironmentTable()
{
    return {{
        {"Delphi 3", "Software\\Borland\\Delphi\\3.0", "delphi3.cnt",
         "LaunchdeckPackageD3.dpl", "LibD3", "Software\\Borland\\Delphi\\3.0\\Library", "SearchPath",
         "Software\\Borland\\Delphi\\3.0\\Known Packages", false, {}, 0},
        {"Delphi 4", "Software\\Borland\\Delphi\\4.0", "delphi4.cnt",
         "LaunchdeckPackageD4.bpl", "LibD4", "Software\\Borland\\Delphi\\4.0\\Library", "Search Path",
         "Software\\Borland\\Delphi\\4.0\\Known Packages", false, {}, 0},
        {"Delphi 5", "Software\\Borland\\Delphi\\5.0", "delphi5.cnt",
         "LaunchdeckPackageD5.bpl", "LibD5", "Software\\Borland\\Delphi\\5.0\\Library", "Search Path",
         "Software\\Borland\\Delphi\\5.0\\Known Packages", false, {}, 0},
        {"C++Builder 3", "Software\\Borland\\C++Builder\\3.0", "bcb3.cnt",
         "LaunchdeckPackageCB3.bpl", "LibCB3", "Software\\Borland\\C++Builder\\3.0\\Library", "Search Path",
         "Software\\Borland\\C++Builder\\3.0\\Known Packages", false, {}, 0},
    }};
}

TInstallContext MakeInstallContext(TInstallerOs& os)
{
    std::string installDir = LowerCaseAscii(AddBackslash(ExtractFilePath(os.ProgramFileName())));
    std::string systemDir = AddBackslash(os.SystemFolder());
    return TInstallContext{os, std::move(installDir), std::move(systemDir)};
}

void DetectEnvironments(TInstallerOs& os, TEnvironmentTable& environments)
{
    TRegistry registry(os, TRootKey::LocalMachine);
    for (TEnvironment& environment : environments) {
        if (!registry.OpenKey(environment.BaseKey))
            continue;
        environment.IsFound = true;
        environment.RootDir = AddBackslash(registry.ReadString("RootDir"));
        registry.CloseKey();
    }
}

std::string StatusLine(const std::string& envName, int installedParts)
{
    switch (installedParts) {
    case ipComponent:
        return envName + ": Component installed.";
    case ipHelp:
        return envName + ": Help installed.";
    case ipComponent | ipHelp:
        return envName + ": Component & help installed.";
    default:
        return std::string();
    }
}

std::string BuildSummary(const TEnvironmentTable& environments)
{
    std::string summary;
    for (const TEnvironment& environment : environments) {
        const std::string line = StatusLine(environment.EnvName, environment.InstalledParts);
        if (!line.empty())
            summary += line + "\r\n";
    }
    // Found environments where nothing could be installed read the same as none.
    if (summary.empty())
        return "Delphi 3, Delphi 4, Delphi 5 or C++Builder 3 not found.";
    return summary;
}

std::string FinalMessageText(const std::string& summary)
{
    // LF CR LF CR, in this order: the text the installer has always shown.
    return "Installation of Launchdeck for Delphi complete.\n\r\n\r" + summary;
}

} // namespace ld::deckinstall
