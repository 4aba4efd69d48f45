// The distribution folder installed into a Wine prefix holding the four
// environments, the component and its help; then each environment as the
// designer plays it: it reads its known packages from the prefix's user.reg,
// maps their Windows paths through the drive links, loads the registered build
// and shows its palette page. A second install changes nothing the designer sees.
#include "tests/installer/TestPrefix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

#define LD_PACKAGES LD_PACKAGE_D3 ";" LD_PACKAGE_D4 ";" LD_PACKAGE_D5 ";" LD_PACKAGE_CB3

namespace ld::deckinstall::test {
namespace {

struct TEnvironment {
    const char* Host;     // the designer's --host
    const char* BaseKey;  // under Software\Borland
    const char* RootDir;  // on drive C
    const char* Package;  // the build it must load
    const char* LibFolder;
    const char* PathValue;
    const char* Contents;
};

const TEnvironment Environments[] = {
    {"d3", "Delphi\\3.0", "Borland\\Delphi 3", "LaunchdeckPackageD3.dpl", "LibD3", "SearchPath", "delphi3.cnt"},
    {"d4", "Delphi\\4.0", "Borland\\Delphi4", "LaunchdeckPackageD4.bpl", "LibD4", "Search Path", "delphi4.cnt"},
    {"d5", "Delphi\\5.0", "Borland\\Delphi5", "LaunchdeckPackageD5.bpl", "LibD5", "Search Path", "delphi5.cnt"},
    {"cb3", "C++Builder\\3.0", "Program Files\\Borland\\CBuilder3", "LaunchdeckPackageCB3.bpl", "LibCB3", "Search Path",
     "bcb3.cnt"},
};

// A folder below drive C, as a path of the prefix.
std::string WindowsToPath(std::string folder)
{
    for (char& c : folder)
        if (c == '\\')
            c = '/';
    return folder;
}

// Each environment as its own installer leaves it: the machine key with its
// root, the user's known packages (one of the host's own, one stale copy of
// ours), its library path, and its folders with the master help contents.
void AddEnvironments(TTestPrefix& test)
{
    std::string machine, user;
    for (const TEnvironment& e : Environments) {
        const std::string key = std::string("Software\\Borland\\") + e.BaseKey;
        const std::string root = std::string("C:\\") + e.RootDir;
        machine += RegKey(key, {{"RootDir", root}});
        user += RegKey(key + "\\Known Packages", {{"$(DELPHI)\\Bin\\dclstd.bpl", "Standard Components"},
                                                   {"C:\\Old\\" + std::string(e.Package), "Launchdeck"}});
        user += RegKey(key + "\\Library", {{e.PathValue, "$(DELPHI)\\Lib;$(BCB)\\Bin"}});
        const std::string folder = WindowsToPath(e.RootDir);
        TTestPrefix::WriteFile(test.DriveC / folder / "Help" / e.Contents, ":Base main.hlp\r\n:Index Main=main.hlp\r\n");
        TTestPrefix::WriteFile(test.DriveC / folder / "Lib" / "classes.dcu", "unit");
        TTestPrefix::WriteFile(test.DriveC / "Old" / e.Package, "stale");
    }
    test.WriteSystemReg(machine);
    test.WriteUserReg(user);
}

// The distribution folder laid out in the test's own, as make dist does.
void MakeDist(TTestPrefix& test)
{
    const TRunResult dist = test.RunProgram(LD_CMAKE, {"-DOUT=" + test.Dist.string(), "-DPACKAGES=" LD_PACKAGES,
                                                       "-DDECKINSTALL=" DECKINSTALL_PROGRAM,
                                                       "-DREFERENCE=" LD_REFERENCE_DIR, "-P", LD_MAKE_DIST});
    ASSERT_EQ(dist.ExitCode, 0) << dist.Err;
}

// What the designer shows for one environment: its standard output (the
// packages loaded and the palette) and the palette's picture.
struct TSession {
    TRunResult Run;
    std::string Palette;
};

TSession Design(TTestPrefix& test, const TEnvironment& e, const std::string& tag)
{
    const fs::path out = test.Root / (tag + "-" + e.Host);
    const fs::path script = test.Root / "palette.txt";
    TTestPrefix::WriteFile(script, "expectpage Launchdeck TLaunchdeck TShortcutList\n"
                                   "palette TLaunchdeck\n"
                                   "click Form1 0 0\n"
                                   "expect Launchdeck1 TLaunchdeck\n");
    TSession session;
    session.Run = test.RunProgram(LD_DESIGNER, {"--host", e.Host, "--prefix", test.Prefix.string(), "--script",
                                                script.string(), "--out", out.string()});
    session.Palette = TTestPrefix::ReadFile(out / "step-01.png");
    return session;
}

TEST(EndToEnd, EachEnvironmentLoadsItsOwnRegisteredBuildAndAgainAfterASecondInstall)
{
    TTestPrefix test;
    test.MoveDistribution(test.AddDrive('d') / "Launchdeck Setup");
    ASSERT_NO_FATAL_FAILURE(MakeDist(test));
    AddEnvironments(test);

    const TRunResult first = test.RunProgram(test.Dist / "deckinstall", {});
    ASSERT_EQ(first.ExitCode, 0) << first.Err;
    EXPECT_NE(first.Out.find("Delphi 3: Component & help installed.\r\nDelphi 4: Component & help installed.\r\n"
                             "Delphi 5: Component & help installed.\r\nC++Builder 3: Component & help installed.\r\n"),
              std::string::npos)
        << first.Out;
    const std::string help = TTestPrefix::ReadFile(fs::path(LD_REFERENCE_DIR) / "Launchdeck.hlp");
    const std::string contents = TTestPrefix::ReadFile(fs::path(LD_REFERENCE_DIR) / "Launchdeck.cnt");
    for (const TEnvironment& e : Environments) {
        SCOPED_TRACE(e.Host);
        const fs::path helpFolder = test.DriveC / WindowsToPath(e.RootDir) / "Help";
        EXPECT_EQ(TTestPrefix::ReadFile(helpFolder / "Launchdeck.hlp"), help);
        EXPECT_EQ(TTestPrefix::ReadFile(helpFolder / "Launchdeck.cnt"), contents);
        EXPECT_EQ(TTestPrefix::ReadFile(helpFolder / e.Contents),
                  ":Base main.hlp\r\n:Index Launchdeck Component Reference=Launchdeck.hlp\r\n:Index Main=main.hlp\r\n");
    }

    std::map<std::string, TSession> seen;
    for (const TEnvironment& e : Environments) {
        SCOPED_TRACE(e.Host);
        const std::string key = std::string("Software\\Borland\\") + e.BaseKey + "\\Known Packages";
        const std::string registered = std::string("d:\\launchdeck setup\\") + e.LibFolder + "\\" + e.Package;
        EXPECT_EQ(test.UserValue(key, registered), "Launchdeck");
        TSession session = Design(test, e, "first");
        EXPECT_EQ(session.Run.ExitCode, 0) << session.Run.Err;
        EXPECT_NE(session.Run.Out.find(std::string("loaded ") + e.Package + ": \"Launchdeck\"\n"), std::string::npos)
            << session.Run.Out;
        EXPECT_NE(session.Run.Out.find("palette page \"Launchdeck\": TLaunchdeck TShortcutList\n"), std::string::npos)
            << session.Run.Out;
        // The host's own package, its root macro expanded, is not there:
        // reported, and left out.
        EXPECT_EQ(session.Run.Err, "designer: Cannot load package C:\\" + std::string(e.RootDir) +
                                       "\\Bin\\dclstd.bpl: no such file\n");
        EXPECT_NE(session.Palette, "<missing>");
        if (const char* output = std::getenv("LD_TEST_OUTPUT"))
            TTestPrefix::WriteFile(fs::path(output) / (std::string("end-to-end-") + e.Host + ".png"), session.Palette);
        std::printf("%s%s", session.Run.Out.c_str(), session.Run.Err.c_str());
        seen[e.Host] = std::move(session);
    }

    const TRunResult second = test.RunProgram(test.Dist / "deckinstall", {});
    ASSERT_EQ(second.ExitCode, 0) << second.Err;
    for (const TEnvironment& e : Environments) {
        SCOPED_TRACE(e.Host);
        const TSession again = Design(test, e, "second");
        EXPECT_EQ(again.Run.ExitCode, 0) << again.Run.Err;
        EXPECT_EQ(again.Run.Out, seen[e.Host].Run.Out);
        EXPECT_EQ(again.Run.Err, seen[e.Host].Run.Err);
        EXPECT_EQ(again.Palette, seen[e.Host].Palette) << "the palette looks the same";
    }
}

// On a win64 prefix the environment's machine key lies under Wow6432Node,
// where a 32-bit program sees it; the designer finds its root there too.
TEST(EndToEnd, AWin64PrefixKeepsTheEnvironmentUnderWow6432Node)
{
    TTestPrefix test;
    ASSERT_NO_FATAL_FAILURE(MakeDist(test));
    fs::create_directories(test.DriveC / "windows" / "syswow64");
    test.WriteSystemReg(RegKey("Software\\Wow6432Node\\Borland\\Delphi\\5.0", {{"RootDir", "C:\\D5"}}), "win64");
    test.WriteUserReg(RegKey("Software\\Borland\\Delphi\\5.0\\Known Packages", {{"$(delphi)\\Bin\\dclstd50.bpl", "Standard"}}) +
                      RegKey("Software\\Borland\\Delphi\\5.0\\Library", {{"Search Path", "$(DELPHI)\\Lib"}}));
    const TRunResult install = test.RunProgram(test.Dist / "deckinstall", {});
    ASSERT_EQ(install.ExitCode, 0) << install.Err;
    EXPECT_NE(install.Out.find("Delphi 5: Component installed.\r\n"), std::string::npos) << install.Out;

    const TSession session = Design(test, Environments[2], "win64");
    EXPECT_EQ(session.Run.ExitCode, 0) << session.Run.Err;
    EXPECT_NE(session.Run.Out.find("loaded LaunchdeckPackageD5.bpl: \"Launchdeck\"\n"), std::string::npos)
        << session.Run.Out;
    EXPECT_EQ(session.Run.Err, "designer: Cannot load package C:\\D5\\Bin\\dclstd50.bpl: no such file\n");
}

// A build registered for another host is refused with one line naming both.
TEST(EndToEnd, AnEnvironmentRefusesABuildForAnotherHost)
{
    TTestPrefix test;
    ASSERT_NO_FATAL_FAILURE(MakeDist(test));
    const fs::path script = test.Root / "empty.txt";
    TTestPrefix::WriteFile(script, "\n");
    const TRunResult run = test.RunProgram(
        LD_DESIGNER, {"--host", "d4", (test.Dist / "LibD5" / "LaunchdeckPackageD5.bpl").string(), "--script", script.string()});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Err.find("it requires vcl50, but this environment offers vcl40\n"), std::string::npos) << run.Err;
    EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
}

} // namespace
} // namespace ld::deckinstall::test
