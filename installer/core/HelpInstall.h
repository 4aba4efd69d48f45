// Installs the component help into one environment: both help files copied into
// its help folder, and the component reference added to its master help index.
#pragma once

#include "installer/core/Environments.h"

#include <string>
#include <vector>

namespace ld::deckinstall {

extern const char* const HelpIndexLine;

void InstallHelp(TInstallContext& context, const std::string& rootDir, const std::string& contentsFile,
                 int& installedParts);

// The contents file's lines with the index line added before the first ":Index"
// line (or at the end); false when an equal line, ignoring case, is already there.
bool AddHelpIndexLine(TInstallerOs& os, std::vector<std::string>& lines);

std::vector<std::string> LoadContentsFile(TInstallerOs& os, const std::string& fileName);
void SaveContentsFile(TInstallerOs& os, const std::string& fileName, const std::vector<std::string>& lines);

} // namespace ld::deckinstall
