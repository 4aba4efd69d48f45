#include "installer/core/Deckinstall.h"

#include "installer/core/Environments.h"
#include "installer/core/Errors.h"
#include "installer/core/HelpInstall.h"
#include "installer/core/PackageInstall.h"

namespace ld::deckinstall {

const char* const UnhandledFailureCaption = "Application Error";

namespace {

void InstallAll(TInstallerOs& os)
{
    TInstallContext context = MakeInstallContext(os);
    TEnvironmentTable environments = MakeEnvironmentTable();
    DetectEnvironments(os, environments);
    for (TEnvironment& environment : environments) {
        if (!environment.IsFound)
            continue;
        InstallPackage(context, environment);
        InstallHelp(context, environment.RootDir, environment.ContentsFile, environment.InstalledParts);
    }
    os.ShowMessage(FinalMessageText(BuildSummary(environments)), FinalMessageCaption, TMessageKind::Information);
}

} // namespace

std::string UnhandledFailureText(const std::exception& failure)
{
    const auto* own = dynamic_cast<const Exception*>(&failure);
    const std::string className = own ? own->ClassName() : "EExternal";
    return className + ": " + failure.what();
}

int RunDeckinstall(TInstallerOs& os)
{
    // The program's top level, as the run-time library's: the installer itself
    // handles no failure, so any failure ends the run here, with what was written
    // staying written.
    try {
        InstallAll(os);
        return 0;
    } catch (const std::exception& failure) {
        os.ShowMessage(UnhandledFailureText(failure), UnhandledFailureCaption, TMessageKind::Error);
        return 1;
    }
}

} // namespace ld::deckinstall
