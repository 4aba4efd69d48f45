#include "installer/core/HelpInstall.h"

#include "installer/core/ContentsFile.h"
#include "installer/core/Errors.h"

namespace ld::deckinstall {

const char* const HelpIndexLine = ":Index Launchdeck Component Reference=Launchdeck.hlp";

namespace {

const char* const HelpFile = "Help\\Launchdeck.hlp";
const char* const HelpContentsFile = "Help\\Launchdeck.cnt";
const char* const IndexDirective = ":Index";

} // namespace

std::vector<std::string> LoadContentsFile(TInstallerOs& os, const std::string& fileName)
{
    std::string bytes;
    if (!os.ReadWholeFile(fileName, bytes))
        throw EFOpenError("Cannot open file " + fileName);
    return SplitContentsLines(bytes);
}

void SaveContentsFile(TInstallerOs& os, const std::string& fileName, const std::vector<std::string>& lines)
{
    if (!os.WriteWholeFile(fileName, JoinContentsLines(lines)))
        throw EFCreateError("Cannot create file " + fileName);
}

bool AddHelpIndexLine(TInstallerOs& os, std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        if (os.SameTextIgnoreCase(line, HelpIndexLine))
            return false;
    size_t position = lines.size();
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].rfind(IndexDirective, 0) == 0) {
            position = i;
            break;
        }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(position), HelpIndexLine);
    return true;
}

void InstallHelp(TInstallContext& context, const std::string& rootDir, const std::string& contentsFile,
                 int& installedParts)
{
    TInstallerOs& os = context.Os;
    if (!os.CopyFileTo(context.InstallDir + HelpFile, rootDir + HelpFile, false))
        return;
    if (!os.CopyFileTo(context.InstallDir + HelpContentsFile, rootDir + HelpContentsFile, false))
        return;
    const std::string masterFile = rootDir + "Help\\" + contentsFile;
    if (!os.IsFile(masterFile))
        return;
    std::vector<std::string> lines = LoadContentsFile(os, masterFile);
    if (AddHelpIndexLine(os, lines))
        SaveContentsFile(os, masterFile, lines);
    installedParts |= ipHelp;
}

} // namespace ld::deckinstall
