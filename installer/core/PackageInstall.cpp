#include "installer/core/PackageInstall.h"

#include "installer/core/PathText.h"
#include "installer/core/Registry.h"

#include <vector>

namespace ld::deckinstall {

namespace {

const char* const FallbackLibFolder = "Lib";
const char* const PackageDescription = "Launchdeck";
const char* const RegistrationWord = "LAUNCHDECKPACKAGE";
const char* const StaleFilePattern = "launchdeckpackage*.*";
const char* const MarkerFiles[] = {"classes.dcu", "dcc32.exe", "vcl.lib"};

bool HoldsMarkerFile(TInstallerOs& os, const std::string& folder)
{
    for (const char* marker : MarkerFiles)
        if (os.IsFile(folder + marker))
            return true;
    return false;
}

// Every folder of the distribution that may hold a build being installed, in this
// run or by the environments still to come.
bool IsDistributionPackageFolder(TInstallContext& context, const std::string& folder)
{
    const std::string wanted = NormaliseFolder(folder);
    std::vector<std::string> folders{FallbackLibFolder};
    for (const TEnvironment& environment : MakeEnvironmentTable())
        folders.emplace_back(environment.LibFolder);
    for (const std::string& libFolder : folders)
        if (context.Os.SameTextIgnoreCase(NormaliseFolder(context.InstallDir + libFolder), wanted))
            return true;
    return false;
}

void DeleteStaleFiles(TInstallContext& context, const std::string& folder, const std::vector<std::string>& names)
{
    if (IsDistributionPackageFolder(context, folder))
        return;
    for (const std::string& name : names)
        context.Os.RemoveFile(folder + name); // a sub-folder or a file in use stays
}

} // namespace

std::optional<std::string> FindPackagePath(TInstallContext& context, const TEnvironment& environment)
{
    const std::string own = context.InstallDir + environment.LibFolder + "\\" + environment.PackageFile;
    if (context.Os.IsFile(own))
        return own;
    const std::string fallback = context.InstallDir + FallbackLibFolder + "\\" + environment.PackageFile;
    if (context.Os.IsFile(fallback))
        return fallback;
    return std::nullopt;
}

void InstallPackage(TInstallContext& context, TEnvironment& environment)
{
    const std::optional<std::string> packagePath = FindPackagePath(context, environment);
    if (!packagePath)
        return;
    if (!RemoveKnownPackageEntries(context, environment.KnownPackagesKey))
        return;
    {
        TRegistry registry(context.Os, TRootKey::CurrentUser);
        if (!registry.OpenKey(environment.KnownPackagesKey))
            return;
        registry.WriteString(*packagePath, PackageDescription);
        registry.CloseKey();
    }
    if (!UpdateSearchPath(context, environment))
        return;
    // Not tested: a copy in use in the system folder does not undo the registration.
    context.Os.CopyFileTo(*packagePath, context.SystemDir + environment.PackageFile, false);
    environment.InstalledParts |= ipComponent;
}

bool RemoveKnownPackageEntries(TInstallContext& context, const std::string& key)
{
    TRegistry registry(context.Os, TRootKey::CurrentUser);
    if (!registry.OpenKey(key))
        return false;
    for (const std::string& name : registry.GetValueNames())
        if (UpperCaseAscii(name).find(RegistrationWord) != std::string::npos)
            registry.DeleteValue(name);
    registry.CloseKey();
    return true;
}

bool UpdateSearchPath(TInstallContext& context, const TEnvironment& environment)
{
    TRegistry registry(context.Os, TRootKey::CurrentUser);
    if (!registry.OpenKey(environment.LibraryKey))
        return false;
    std::string searchText = registry.ReadString(environment.SearchPathValue);
    const std::optional<std::string> packagePath = FindPackagePath(context, environment);
    if (!packagePath) {
        registry.CloseKey();
        return false;
    }
    const std::string packageDir = RemoveBackslash(FolderPart(*packagePath));
    CleanSearchPath(context, searchText, environment.RootDir, packageDir);
    registry.WriteString(environment.SearchPathValue, searchText);
    registry.CloseKey();
    return true;
}

void CleanSearchPath(TInstallContext& context, std::string& searchText, const std::string& rootDir,
                     const std::string& packageDir)
{
    TInstallerOs& os = context.Os;
    const std::string root = RemoveBackslash(rootDir);
    const std::string upperRoot = UpperCaseAscii(rootDir);
    // Removing an entry and looking at the same index again is a filter: the kept
    // entries move to a new list in their order.
    std::vector<std::string> kept;
    for (const std::string& entry : SplitList(searchText, ';')) {
        std::string fileMask = AddBackslash(entry) + StaleFilePattern;
        fileMask = ReplaceTextNoCase(fileMask, "$(DELPHI)", root);
        fileMask = ReplaceTextNoCase(fileMask, "$(BCB)", root);
        const std::string folder = FolderPart(fileMask);
        const std::vector<std::string> found = os.FindNames(fileMask);
        bool removeEntry = false;
        if (!upperRoot.empty() && UpperCaseAscii(fileMask).rfind(upperRoot, 0) == 0)
            DeleteStaleFiles(context, folder, found);
        else if (!found.empty() && !HoldsMarkerFile(os, folder))
            removeEntry = true;
        if (!removeEntry && !entry.empty())
            kept.push_back(entry);
    }
    kept.push_back(packageDir);
    searchText = JoinList(kept, ';');
}

} // namespace ld::deckinstall
