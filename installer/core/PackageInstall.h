// Registers the matching package build with one environment: its known-packages
// entry, its library search path (cleaned of stale copies, the distribution's
// package folder last) and a copy in the Windows system folder.
#pragma once

#include "installer/core/Environments.h"

#include <optional>
#include <string>

namespace ld::deckinstall {

void InstallPackage(TInstallContext& context, TEnvironment& environment);

// The package file in the environment's own folder of the distribution, else in
// its "Lib" folder; none when neither holds it as a file.
std::optional<std::string> FindPackagePath(TInstallContext& context, const TEnvironment& environment);

bool RemoveKnownPackageEntries(TInstallContext& context, const std::string& key);
bool UpdateSearchPath(TInstallContext& context, const TEnvironment& environment);

// Stale package files inside RootDir's tree are deleted, except in the
// distribution's own package folders, whose files are the ones being installed.
void CleanSearchPath(TInstallContext& context, std::string& searchText, const std::string& rootDir,
                     const std::string& packageDir);

} // namespace ld::deckinstall
