// The real deckinstall program on temporary Wine prefixes.
#include "tests/installer/TestPrefix.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ld::deckinstall::test {
namespace {

const std::string D3Key = "Software\\Borland\\Delphi\\3.0";
const std::string D4Key = "Software\\Borland\\Delphi\\4.0";
const std::string CB3Key = "Software\\Borland\\C++Builder\\3.0";
const std::string D4Known = D4Key + "\\Known Packages";
const std::string D4Library = D4Key + "\\Library";
const std::string IndexLine = ":Index Launchdeck Component Reference=Launchdeck.hlp";

std::string ExpectedMessage(const std::string& summary)
{
    return "Launchdeck for Delphi Setup\nInstallation of Launchdeck for Delphi complete.\n\r\n\r" + summary + "\n";
}

std::string WindowsFolder(const fs::path& path)
{
    std::string text = "z:" + path.string() + "\\";
    for (char& c : text)
        if (c == '/')
            c = '\\';
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

class DeckinstallScenario : public ::testing::Test {
protected:
    TTestPrefix P;

    fs::path D4Root() const { return P.DriveC / "Borland" / "Delphi4"; }
    std::string InstallDir() const { return WindowsFolder(P.Dist); }

    // Delphi 4 at C:\Borland\Delphi4 with its Lib, Bin and Help folders, the
    // package build and the help in the distribution.
    void SetUpDelphi4(const std::string& searchPath, const TValues& known = {})
    {
        P.WriteSystemReg(RegKey(D4Key, {{"RootDir", "C:\\Borland\\Delphi4"}}));
        TValues packages = known;
        packages.insert(packages.begin(), {"$(DELPHI)\\Bin\\dclstd40.bpl", "Borland Standard Components"});
        P.WriteUserReg(RegKey(D4Known, packages) + RegKey(D4Library, {{"Search Path", searchPath}}));
        P.WriteFile(D4Root() / "Lib" / "Classes.dcu", "unit");
        P.WriteFile(D4Root() / "Bin" / "dcc32.exe", "compiler");
        P.WriteFile(D4Root() / "Help" / "delphi4.cnt", ":Base delphi4.hlp\r\n:Index Delphi=delphi4.hlp\r\n");
        P.AddPackage("LibD4", "LaunchdeckPackageD4.bpl");
        P.AddHelpFiles();
    }
};

TEST_F(DeckinstallScenario, NoEnvironmentShowsTheNotFoundTextAndChangesNothing)
{
    const std::string systemBefore = TTestPrefix::ReadFile(P.Prefix / "system.reg");
    const std::string userBefore = TTestPrefix::ReadFile(P.Prefix / "user.reg");
    const TRunResult run = P.Run();
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out, ExpectedMessage("Delphi 3, Delphi 4, Delphi 5 or C++Builder 3 not found."));
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(TTestPrefix::ReadFile(P.Prefix / "system.reg"), systemBefore);
    EXPECT_EQ(TTestPrefix::ReadFile(P.Prefix / "user.reg"), userBefore);
}

TEST_F(DeckinstallScenario, FoundEnvironmentWithEmptyDistributionReadsAsNotFound)
{
    SetUpDelphi4("$(DELPHI)\\Lib");
    fs::remove_all(P.Dist / "LibD4");
    fs::remove_all(P.Dist / "Help");
    const std::string userBefore = TTestPrefix::ReadFile(P.Prefix / "user.reg");
    const TRunResult run = P.Run();
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out, ExpectedMessage("Delphi 3, Delphi 4, Delphi 5 or C++Builder 3 not found."));
    EXPECT_EQ(TTestPrefix::ReadFile(P.Prefix / "user.reg"), userBefore);
}

// The worked example: root D:\Borland\Delphi4\, distribution e:\setup\.
TEST_F(DeckinstallScenario, WorkedExampleCleansTheSearchPathAndAppendsThePackageFolder)
{
    const fs::path driveD = P.AddDrive('d');
    const fs::path driveE = P.AddDrive('e');
    const fs::path root = driveD / "Borland" / "Delphi4";
    P.MoveDistribution(driveE / "Setup");
    P.WriteSystemReg(RegKey(D4Key, {{"RootDir", "D:\\Borland\\Delphi4"}}));
    P.WriteUserReg(RegKey(D4Known, {{"$(DELPHI)\\Bin\\dclstd40.bpl", "Borland Standard Components"},
                                    {"E:\\Old\\LibD4\\LAUNCHDECKPACKAGED4.BPL", "Launchdeck"},
                                    {"c:\\x\\launchdeckpackagecb3.bpl", "old"}}) +
                   RegKey(D4Library, {{"Search Path", "$(DELPHI)\\Lib;$(DELPHI)\\Bin;;e:\\old\\libd4"}}));
    P.WriteFile(root / "Lib" / "LaunchdeckPackageD4.bpl", "stale");
    P.WriteFile(root / "Lib" / "launchdeckpackage", "stale, no extension");
    P.WriteFile(root / "Lib" / "vcl40.bpl", "other package");
    P.WriteFile(root / "Bin" / "LAUNCHDECKPACKAGED4.DCP", "stale");
    P.WriteFile(root / "Help" / "delphi4.cnt", ":Index Delphi=delphi4.hlp\r\n");
    P.WriteFile(driveE / "old" / "libd4" / "LaunchdeckPackageD4.bpl", "stale folder");
    P.AddPackage("LibD4", "LaunchdeckPackageD4.bpl");
    P.AddHelpFiles();

    const TRunResult run = P.Run();
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out, ExpectedMessage("Delphi 4: Component & help installed.\r\n"));
    EXPECT_EQ(P.UserValue(D4Library, "Search Path"), "$(DELPHI)\\Lib;$(DELPHI)\\Bin;e:\\setup\\LibD4");
    EXPECT_FALSE(fs::exists(root / "Lib" / "LaunchdeckPackageD4.bpl"));
    EXPECT_FALSE(fs::exists(root / "Lib" / "launchdeckpackage"));
    EXPECT_FALSE(fs::exists(root / "Bin" / "LAUNCHDECKPACKAGED4.DCP"));
    EXPECT_TRUE(fs::exists(root / "Lib" / "vcl40.bpl"));
    // Outside the root a folder is only dropped from the path, never emptied.
    EXPECT_TRUE(fs::exists(driveE / "old" / "libd4" / "LaunchdeckPackageD4.bpl"));
    EXPECT_EQ(P.UserValueNames(D4Known),
              (std::vector<std::string>{"$(DELPHI)\\Bin\\dclstd40.bpl", "e:\\setup\\LibD4\\LaunchdeckPackageD4.bpl"}));
    EXPECT_EQ(P.UserValue(D4Known, "e:\\setup\\LibD4\\LaunchdeckPackageD4.bpl"), "Launchdeck");
    EXPECT_EQ(TTestPrefix::ReadFile(P.DriveC / "windows" / "system32" / "LaunchdeckPackageD4.bpl"),
              "package LaunchdeckPackageD4.bpl");
    EXPECT_EQ(TTestPrefix::ReadFile(root / "Help" / "Launchdeck.hlp"), "help file");
    EXPECT_EQ(TTestPrefix::ReadFile(root / "Help" / "delphi4.cnt"), IndexLine + "\r\n:Index Delphi=delphi4.hlp\r\n");
}

TEST_F(DeckinstallScenario, AFolderOfAnotherCompilerStaysInThePathWithItsFiles)
{
    SetUpDelphi4("$(DELPHI)\\Lib;C:\\Borland\\Delphi5\\Bin;C:\\Borland\\Delphi5\\Lib;C:\\Builder\\Lib");
    P.WriteFile(P.DriveC / "Borland" / "Delphi5" / "Bin" / "LaunchdeckPackageD5.bpl", "other");
    P.WriteFile(P.DriveC / "Borland" / "Delphi5" / "Bin" / "dcc32.exe", "compiler");
    P.WriteFile(P.DriveC / "Borland" / "Delphi5" / "Lib" / "LaunchdeckPackageD5.dcp", "other");
    P.WriteFile(P.DriveC / "Borland" / "Delphi5" / "Lib" / "Classes.DCU", "unit");
    P.WriteFile(P.DriveC / "Builder" / "Lib" / "LaunchdeckPackageCB3.bpi", "other");
    P.WriteFile(P.DriveC / "Builder" / "Lib" / "vcl.lib", "library");
    // A sub-folder named like a marker file is no marker.
    fs::create_directories(P.DriveC / "Stale" / "dcc32.exe");
    P.WriteFile(P.DriveC / "Stale" / "LaunchdeckPackageD4.bpl", "stale");
    const TRunResult run = P.Run();
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(P.UserValue(D4Library, "Search Path"),
              "$(DELPHI)\\Lib;C:\\Borland\\Delphi5\\Bin;C:\\Borland\\Delphi5\\Lib;C:\\Builder\\Lib;" + InstallDir() +
                  "LibD4");
    EXPECT_TRUE(fs::exists(P.DriveC / "Borland" / "Delphi5" / "Bin" / "LaunchdeckPackageD5.bpl"));
    SetUpDelphi4("C:\\Stale");
    ASSERT_EQ(P.Run().ExitCode, 0);
    EXPECT_EQ(P.UserValue(D4Library, "Search Path"), InstallDir() + "LibD4");
}

TEST_F(DeckinstallScenario, MacrosInAnyCaseAndTheRootComparedWithItsBackslash)
{
    SetUpDelphi4(";$(delphi)\\lib;$(Bcb)\\Bin\\;C:\\Borland\\Delphi4x\\Lib;C:\\BORLAND\\DELPHI4\\Imports;");
    const fs::path root = D4Root();
    P.WriteFile(root / "Lib" / "launchdeckpackaged4.bpl", "stale");
    P.WriteFile(root / "Bin" / "LaunchdeckPackageD4.bpl", "stale");
    P.WriteFile(root / "Imports" / "LaunchdeckPackageD3.dcu", "stale");
    P.WriteFile(P.DriveC / "Borland" / "Delphi4x" / "Lib" / "LaunchdeckPackageD4.bpl", "look-alike");
    const TRunResult run = P.Run();
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(P.UserValue(D4Library, "Search Path"),
              "$(delphi)\\lib;$(Bcb)\\Bin\\;C:\\BORLAND\\DELPHI4\\Imports;" + InstallDir() + "LibD4");
    EXPECT_FALSE(fs::exists(root / "Lib" / "launchdeckpackaged4.bpl"));
    EXPECT_FALSE(fs::exists(root / "Bin" / "LaunchdeckPackageD4.bpl"));
    EXPECT_FALSE(fs::exists(root / "Imports" / "LaunchdeckPackageD3.dcu"));
    // Delphi4x only begins like the root: not inside it, so dropped and kept on disk.
    EXPECT_TRUE(fs::exists(P.DriveC / "Borland" / "Delphi4x" / "Lib" / "LaunchdeckPackageD4.bpl"));
}

TEST_F(DeckinstallScenario, EmptyOrMissingSearchPathBecomesThePackageFolder)
{
    SetUpDelphi4("");
    ASSERT_EQ(P.Run().ExitCode, 0);
    EXPECT_EQ(P.UserValue(D4Library, "Search Path"), InstallDir() + "LibD4");
    P.WriteUserReg(RegKey(D4Known, {}) + RegKey(D4Library, {{"Browsing Path", "$(DELPHI)\\Source"}}));
    ASSERT_EQ(P.Run().ExitCode, 0);
    EXPECT_EQ(P.UserValue(D4Library, "Search Path"), InstallDir() + "LibD4");
    EXPECT_EQ(P.UserValue(D4Library, "Browsing Path"), "$(DELPHI)\\Source");
}

TEST_F(DeckinstallScenario, SecondRunReplacesRatherThanDuplicates)
{
    SetUpDelphi4("$(DELPHI)\\Lib;$(DELPHI)\\Bin");
    ASSERT_EQ(P.Run().ExitCode, 0);
    const std::string contentsAfterFirst = TTestPrefix::ReadFile(D4Root() / "Help" / "delphi4.cnt");
    struct stat before {};
    stat((D4Root() / "Help" / "delphi4.cnt").c_str(), &before);
    const TRunResult second = P.Run();
    ASSERT_EQ(second.ExitCode, 0);
    EXPECT_EQ(second.Out, ExpectedMessage("Delphi 4: Component & help installed.\r\n"));
    EXPECT_EQ(P.UserValue(D4Library, "Search Path"), "$(DELPHI)\\Lib;$(DELPHI)\\Bin;" + InstallDir() + "LibD4");
    EXPECT_EQ(P.UserValueNames(D4Known).size(), 2u);
    EXPECT_EQ(TTestPrefix::ReadFile(D4Root() / "Help" / "delphi4.cnt"), contentsAfterFirst);
    struct stat after {};
    stat((D4Root() / "Help" / "delphi4.cnt").c_str(), &after);
    EXPECT_EQ(before.st_ino, after.st_ino) << "the master contents file was rewritten";
}

// Left to us: a distribution inside the root and on the search path keeps the
// builds it is installing.
TEST_F(DeckinstallScenario, PackageFilesBeingInstalledSurviveTheCleaning)
{
    P.MoveDistribution(D4Root() / "Launchdeck");
    SetUpDelphi4("");
    P.AddPackage("Lib", "LaunchdeckPackageCB3.bpl");
    P.WriteFile(D4Root() / "Help" / "bcb3.cnt", "");
    P.WriteSystemReg(RegKey(D4Key, {{"RootDir", "C:\\Borland\\Delphi4"}}) +
                     RegKey(CB3Key, {{"RootDir", "C:\\Borland\\Delphi4"}}));
    P.WriteUserReg(RegKey(D4Known, {}) +
                   RegKey(D4Library, {{"Search Path", "$(DELPHI)\\Launchdeck\\LibD4;$(DELPHI)\\Launchdeck\\Lib"}}) +
                   RegKey(CB3Key + "\\Known Packages", {}) + RegKey(CB3Key + "\\Library", {{"Search Path", ""}}));
    const TRunResult run = P.Run();
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out, ExpectedMessage("Delphi 4: Component & help installed.\r\nC++Builder 3: Component & help "
                                       "installed.\r\n"));
    EXPECT_TRUE(fs::exists(P.Dist / "LibD4" / "LaunchdeckPackageD4.bpl"));
    EXPECT_TRUE(fs::exists(P.Dist / "Lib" / "LaunchdeckPackageCB3.bpl"));
    // The distribution lies on drive C, the longest drive that holds it.
    const std::string installDir = "c:\\borland\\delphi4\\launchdeck\\";
    EXPECT_EQ(P.UserValue(D4Library, "Search Path"),
              "$(DELPHI)\\Launchdeck\\LibD4;$(DELPHI)\\Launchdeck\\Lib;" + installDir + "LibD4");
    EXPECT_EQ(P.UserValue(CB3Key + "\\Library", "Search Path"), installDir + "Lib");
}

TEST_F(DeckinstallScenario, MissingKnownPackagesKeyStopsTheComponentButNotTheHelp)
{
    SetUpDelphi4("$(DELPHI)\\Lib");
    P.WriteUserReg(RegKey(D4Library, {{"Search Path", "$(DELPHI)\\Lib"}}));
    const std::string userBefore = TTestPrefix::ReadFile(P.Prefix / "user.reg");
    const TRunResult run = P.Run();
    EXPECT_EQ(run.Out, ExpectedMessage("Delphi 4: Help installed.\r\n"));
    EXPECT_EQ(TTestPrefix::ReadFile(P.Prefix / "user.reg"), userBefore);
    EXPECT_FALSE(fs::exists(P.DriveC / "windows" / "system32" / "LaunchdeckPackageD4.bpl"));
}

TEST_F(DeckinstallScenario, MissingLibraryKeyKeepsTheKnownPackageButReportsNoComponent)
{
    SetUpDelphi4("$(DELPHI)\\Lib");
    P.WriteUserReg(RegKey(D4Known, {{"c:\\old\\LaunchdeckPackageD4.bpl", "Launchdeck"}}));
    const TRunResult run = P.Run();
    EXPECT_EQ(run.Out, ExpectedMessage("Delphi 4: Help installed.\r\n"));
    EXPECT_EQ(P.UserValueNames(D4Known), (std::vector<std::string>{InstallDir() + "LibD4\\LaunchdeckPackageD4.bpl"}));
    EXPECT_FALSE(fs::exists(P.DriveC / "windows" / "system32" / "LaunchdeckPackageD4.bpl"));
}

TEST_F(DeckinstallScenario, PackageFallsBackToTheLibFolderButNotToAFolderOfItsName)
{
    SetUpDelphi4("");
    fs::remove_all(P.Dist / "LibD4");
    fs::create_directories(P.Dist / "LibD4" / "LaunchdeckPackageD4.bpl");
    P.AddPackage("Lib", "LaunchdeckPackageD4.bpl");
    ASSERT_EQ(P.Run().ExitCode, 0);
    EXPECT_EQ(P.UserValue(D4Library, "Search Path"), InstallDir() + "Lib");
    EXPECT_EQ(P.UserValue(D4Known, InstallDir() + "Lib\\LaunchdeckPackageD4.bpl"), "Launchdeck");
}

TEST_F(DeckinstallScenario, HelpStopsWithoutHelpFolderOrMasterContentsFile)
{
    SetUpDelphi4("");
    fs::remove_all(D4Root() / "Help");
    EXPECT_EQ(P.Run().Out, ExpectedMessage("Delphi 4: Component installed.\r\n"));
    fs::create_directories(D4Root() / "Help");
    EXPECT_EQ(P.Run().Out, ExpectedMessage("Delphi 4: Component installed.\r\n"));
    EXPECT_EQ(TTestPrefix::ReadFile(D4Root() / "Help" / "Launchdeck.cnt"), ":Base Launchdeck.hlp\r\n");
    // Without the component's contents file the help file alone is copied.
    fs::remove_all(D4Root() / "Help");
    fs::create_directories(D4Root() / "Help");
    P.WriteFile(D4Root() / "Help" / "delphi4.cnt", ":Index Delphi=delphi4.hlp\r\n");
    fs::remove(P.Dist / "Help" / "Launchdeck.cnt");
    EXPECT_EQ(P.Run().Out, ExpectedMessage("Delphi 4: Component installed.\r\n"));
    EXPECT_TRUE(fs::exists(D4Root() / "Help" / "Launchdeck.hlp"));
    EXPECT_FALSE(fs::exists(D4Root() / "Help" / "Launchdeck.cnt"));
    EXPECT_EQ(TTestPrefix::ReadFile(D4Root() / "Help" / "delphi4.cnt"), ":Index Delphi=delphi4.hlp\r\n");
}

TEST_F(DeckinstallScenario, ContentsFilesWithLfBreaksOrNoBytesAreRewrittenWithCrLf)
{
    SetUpDelphi4("");
    P.WriteFile(D4Root() / "Help" / "delphi4.cnt", ":Base delphi4.hlp\n:Title Delphi\n:index lower\n:Index Delphi=d.hlp\n");
    ASSERT_EQ(P.Run().ExitCode, 0);
    EXPECT_EQ(TTestPrefix::ReadFile(D4Root() / "Help" / "delphi4.cnt"),
              ":Base delphi4.hlp\r\n:Title Delphi\r\n:index lower\r\n" + IndexLine + "\r\n:Index Delphi=d.hlp\r\n");
    P.WriteFile(D4Root() / "Help" / "delphi4.cnt", "");
    ASSERT_EQ(P.Run().ExitCode, 0);
    EXPECT_EQ(TTestPrefix::ReadFile(D4Root() / "Help" / "delphi4.cnt"), IndexLine + "\r\n");
}

TEST_F(DeckinstallScenario, SearchPathOfAnotherTypeEndsTheRunWithWhatWasWrittenKept)
{
    SetUpDelphi4("");
    P.WriteSystemReg(RegKey(D4Key, {{"RootDir", "C:\\Borland\\Delphi4"}}) +
                     RegKey(CB3Key, {{"RootDir", "C:\\Builder"}}));
    P.WriteUserReg(RegKey(D4Known, {{"c:\\old\\LaunchdeckPackageD4.bpl", "Launchdeck"}}) +
                   RegKey(D4Library, {}) + RegRawValue("Search Path", "dword:00000001") +
                   RegKey(CB3Key + "\\Known Packages", {}) + RegKey(CB3Key + "\\Library", {{"Search Path", ""}}));
    P.AddPackage("LibCB3", "LaunchdeckPackageCB3.bpl");
    const TRunResult run = P.Run();
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "Application Error\nERegistryException: Invalid data type for 'Search Path'\n");
    EXPECT_EQ(P.UserValueNames(D4Known), (std::vector<std::string>{InstallDir() + "LibD4\\LaunchdeckPackageD4.bpl"}));
    // The run ended there: no help for Delphi 4, nothing for C++Builder 3.
    EXPECT_FALSE(fs::exists(D4Root() / "Help" / "Launchdeck.hlp"));
    EXPECT_EQ(P.UserValue(CB3Key + "\\Library", "Search Path"), "");
    EXPECT_TRUE(P.UserValueNames(CB3Key + "\\Known Packages").empty());
}

TEST_F(DeckinstallScenario, ReadOnlyMasterContentsFileCannotBeCreated)
{
    SetUpDelphi4("");
    const fs::path master = D4Root() / "Help" / "delphi4.cnt";
    fs::permissions(master, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const TRunResult run = P.Run();
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "Application Error\nEFCreateError: Cannot create file C:\\Borland\\Delphi4\\Help\\delphi4.cnt\n");
    EXPECT_EQ(P.UserValue(D4Library, "Search Path"), InstallDir() + "LibD4");
    EXPECT_EQ(TTestPrefix::ReadFile(D4Root() / "Help" / "Launchdeck.cnt"), ":Base Launchdeck.hlp\r\n");
    EXPECT_EQ(TTestPrefix::ReadFile(master), ":Base delphi4.hlp\r\n:Index Delphi=delphi4.hlp\r\n");
}

TEST_F(DeckinstallScenario, UnreadableMasterContentsFileCannotBeOpened)
{
    SetUpDelphi4("");
    const fs::path master = D4Root() / "Help" / "delphi4.cnt";
    fs::permissions(master, fs::perms::owner_write);
    // Root reads any file, so then the program runs as an ordinary user.
    const TRunResult run = P.RunAsOrdinaryUser();
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "Application Error\nEFOpenError: Cannot open file C:\\Borland\\Delphi4\\Help\\delphi4.cnt\n");
    EXPECT_EQ(P.UserValue(D4Library, "Search Path"), InstallDir() + "LibD4");
    EXPECT_EQ(TTestPrefix::ReadFile(D4Root() / "Help" / "Launchdeck.hlp"), "help file");
}

TEST_F(DeckinstallScenario, RefusedRegistryWriteEndsTheRunWithNothingChanged)
{
    SetUpDelphi4("$(DELPHI)\\Lib", {{"c:\\old\\LaunchdeckPackageD4.bpl", "Launchdeck"}});
    const std::string userBefore = TTestPrefix::ReadFile(P.Prefix / "user.reg");
    // The registry files stay writable, their folder does not: the save fails.
    const fs::path program = P.HandOverToOrdinaryUser();
    if (geteuid() == 0) {
        ASSERT_EQ(lchown(P.Prefix.c_str(), 0, 0), 0);
    }
    fs::permissions(P.Prefix, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const TRunResult run = P.RunProgram(program, {}, geteuid() == 0);
    fs::permissions(P.Prefix, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "Application Error\nERegistryException: Failed to set data for '" + InstallDir() +
                           "LibD4\\LaunchdeckPackageD4.bpl'\n");
    EXPECT_EQ(TTestPrefix::ReadFile(P.Prefix / "user.reg"), userBefore);
}

TEST_F(DeckinstallScenario, MissingRootDirMakesThePathsRelativeToTheCurrentFolder)
{
    SetUpDelphi4("$(DELPHI)\\Lib");
    P.WriteSystemReg(RegKey(D4Key, {{"Version", "4.0"}}));
    P.WriteFile(P.Root / "Help" / "delphi4.cnt", "");
    const TRunResult run = P.Run();
    EXPECT_EQ(run.Out, ExpectedMessage("Delphi 4: Component & help installed.\r\n"));
    // The macro stands for the empty root: "\Lib", the root of the current drive.
    EXPECT_EQ(P.UserValue(D4Library, "Search Path"), "$(DELPHI)\\Lib;" + InstallDir() + "LibD4");
    EXPECT_EQ(TTestPrefix::ReadFile(P.Root / "Help" / "Launchdeck.hlp"), "help file");
    EXPECT_EQ(TTestPrefix::ReadFile(P.Root / "Help" / "delphi4.cnt"), IndexLine + "\r\n");
}

TEST_F(DeckinstallScenario, KeyWithoutFullAccessCountsAsNotFound)
{
    SetUpDelphi4("$(DELPHI)\\Lib");
    fs::permissions(P.Prefix / "system.reg", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const TRunResult run = P.Run();
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out, ExpectedMessage("Delphi 3, Delphi 4, Delphi 5 or C++Builder 3 not found."));
}

TEST_F(DeckinstallScenario, ExpandableSearchPathIsReadAsStoredAndWrittenAsPlainString)
{
    SetUpDelphi4("");
    P.WriteUserReg(RegKey(D4Known, {}) + RegKey(D4Library, {}) +
                   RegRawValue("Search Path", "str(2):\"%LIBS%;$(DELPHI)\\\\Lib\""));
    ASSERT_EQ(P.Run().ExitCode, 0);
    const std::string user = TTestPrefix::ReadFile(P.Prefix / "user.reg");
    EXPECT_NE(user.find("\"Search Path\"=\"%LIBS%;$(DELPHI)\\\\Lib;"), std::string::npos) << user;
}

TEST_F(DeckinstallScenario, NoPrefixIsAClearFailure)
{
    fs::remove(P.Prefix / "user.reg");
    const TRunResult run = P.Run();
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, "deckinstall: " + P.Prefix.string() + " is not a Wine prefix: it has no user.reg\n");
}

// An argument is refused, not ignored ("--help" must not install), and a
// registry file it cannot read is named with the system's reason.
TEST_F(DeckinstallScenario, AnArgumentOrAnUnreadableRegistryEndsTheRunWithNothingChanged)
{
    SetUpDelphi4("$(DELPHI)\\Lib");
    const std::string userBefore = TTestPrefix::ReadFile(P.Prefix / "user.reg");
    const TRunResult refused = P.RunProgram(DECKINSTALL_PROGRAM, {"--help"});
    EXPECT_EQ(refused.ExitCode, 1);
    EXPECT_EQ(refused.Out, "");
    EXPECT_EQ(refused.Err, "deckinstall: unexpected argument --help: it takes none (it installs into the Wine "
                           "prefix that WINEPREFIX names, else ~/.wine)\n");
    EXPECT_EQ(TTestPrefix::ReadFile(P.Prefix / "user.reg"), userBefore);

    fs::permissions(P.Prefix / "user.reg", fs::perms::owner_write);
    // Root reads any file, so then the program runs as an ordinary user.
    const TRunResult unreadable = P.RunAsOrdinaryUser();
    fs::permissions(P.Prefix / "user.reg", fs::perms::owner_read, fs::perm_options::add);
    EXPECT_EQ(unreadable.ExitCode, 1);
    EXPECT_EQ(unreadable.Err, "deckinstall: cannot read " + (P.Prefix / "user.reg").string() + ": Permission denied\n");
    EXPECT_EQ(TTestPrefix::ReadFile(P.Prefix / "user.reg"), userBefore);
}

TEST_F(DeckinstallScenario, RunningWineserverIsRefusedBeforeAnythingChanges)
{
    SetUpDelphi4("$(DELPHI)\\Lib");
    struct stat info {};
    ASSERT_EQ(stat(P.Prefix.c_str(), &info), 0);
    char name[64];
    std::snprintf(name, sizeof name, "server-%llx-%llx", static_cast<unsigned long long>(info.st_dev),
                  static_cast<unsigned long long>(info.st_ino));
    const fs::path serverFolder = fs::path("/tmp/.wine-" + std::to_string(getuid())) / name;
    fs::create_directories(serverFolder);
    const int lockFile = open((serverFolder / "lock").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(lockFile, 0);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    ASSERT_EQ(fcntl(lockFile, F_SETLK, &lock), 0);
    const std::string userBefore = TTestPrefix::ReadFile(P.Prefix / "user.reg");

    const TRunResult refused = P.Run();
    close(lockFile); // the server has gone; its folder stays behind, stale
    const TRunResult after = P.Run();
    fs::remove_all(serverFolder);

    EXPECT_EQ(refused.ExitCode, 1);
    EXPECT_EQ(refused.Out, "");
    EXPECT_NE(refused.Err.find("wineserver"), std::string::npos) << refused.Err;
    EXPECT_EQ(after.ExitCode, 0);
    EXPECT_NE(TTestPrefix::ReadFile(P.Prefix / "user.reg"), userBefore);
}

TEST_F(DeckinstallScenario, MalformedRegistryFileIsNamedWithItsLineAndNothingIsWritten)
{
    SetUpDelphi4("$(DELPHI)\\Lib");
    std::string user = TTestPrefix::ReadFile(P.Prefix / "user.reg");
    user += "\n[Software\\\\Broken] 1700000000\n\"Value\"=\"unterminated\n";
    TTestPrefix::WriteFile(P.Prefix / "user.reg", user);
    const size_t brokenLine = static_cast<size_t>(std::count(user.begin(), user.end(), '\n'));
    const std::string systemBefore = TTestPrefix::ReadFile(P.Prefix / "system.reg");
    const TRunResult run = P.Run();
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_NE(run.Err.find((P.Prefix / "user.reg").string() + ": line " + std::to_string(brokenLine) + ":"),
              std::string::npos)
        << run.Err;
    EXPECT_EQ(TTestPrefix::ReadFile(P.Prefix / "user.reg"), user);
    EXPECT_EQ(TTestPrefix::ReadFile(P.Prefix / "system.reg"), systemBefore);
    EXPECT_FALSE(fs::exists(D4Root() / "Help" / "Launchdeck.hlp"));
}

TEST_F(DeckinstallScenario, Win64PrefixIsSeenAsA32BitProgramSeesIt)
{
    SetUpDelphi4("");
    fs::create_directories(P.DriveC / "windows" / "syswow64");
    P.WriteSystemReg(RegKey("Software\\Wow6432Node\\Borland\\Delphi\\4.0", {{"RootDir", "C:\\Borland\\Delphi4"}}) +
                         RegKey("Software\\Borland\\Delphi\\3.0", {{"RootDir", "C:\\Native64"}}),
                     "win64");
    const TRunResult run = P.Run();
    EXPECT_EQ(run.Out, ExpectedMessage("Delphi 4: Component & help installed.\r\n"));
    EXPECT_TRUE(fs::exists(P.DriveC / "windows" / "syswow64" / "LaunchdeckPackageD4.bpl"));
    EXPECT_FALSE(fs::exists(P.DriveC / "windows" / "system32" / "LaunchdeckPackageD4.bpl"));
}

TEST_F(DeckinstallScenario, BytesAbove127AndLongPathsPassWhole)
{
    // A root folder with an o-umlaut (0xF6 in code page 1252, UTF-8 on disk) and a
    // distribution folder whose path is longer than 260 characters.
    const fs::path root = P.DriveC / "Programme" / "B\xC3\xB6rland";
    P.WriteSystemReg(RegKey(D4Key, {{"RootDir", "C:\\Programme\\B\xF6rland\\"}}));
    P.WriteUserReg(RegKey(D4Known, {}) + RegKey(D4Library, {{"Search Path", "$(DELPHI)\\Lib"}}));
    P.WriteFile(root / "Lib" / "LaunchdeckPackageD4.bpl", "stale");
    P.WriteFile(root / "Help" / "delphi4.cnt", ":Index Hilfe f\xFC" "r Delphi=delphi4.hlp\r\n");
    fs::path deep = P.Root;
    for (int i = 0; i < 12; ++i)
        deep /= "a-rather-long-folder-name-" + std::to_string(i);
    P.MoveDistribution(deep / "Dist");
    P.AddPackage("LibD4", "LaunchdeckPackageD4.bpl");
    P.AddHelpFiles();
    ASSERT_GT(InstallDir().size(), 260u);
    const TRunResult run = P.Run();
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(P.UserValue(D4Library, "Search Path"), "$(DELPHI)\\Lib;" + InstallDir() + "LibD4");
    EXPECT_FALSE(fs::exists(root / "Lib" / "LaunchdeckPackageD4.bpl"));
    EXPECT_EQ(TTestPrefix::ReadFile(root / "Help" / "delphi4.cnt"),
              IndexLine + "\r\n:Index Hilfe f\xFC" "r Delphi=delphi4.hlp\r\n");
    const std::string user = TTestPrefix::ReadFile(P.Prefix / "user.reg");
    for (unsigned char c : user)
        ASSERT_LT(c, 0x80) << "the registry file holds only escapes above 127";
}

} // namespace
} // namespace ld::deckinstall::test
