// The Win32 build under Wine on a fresh prefix leaves the same registry values and
// files as the Linux build on a copy of that prefix. Needs mingw-w64 (for the
// build) and Wine; skipped otherwise.
#include "installer/wine/Codepage.h"
#include "installer/wine/RegistryFile.h"
#include "tests/installer/TestPrefix.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace ld::deckinstall::test {
namespace {

const std::string IndexLine = ":Index Launchdeck Component Reference=Launchdeck.hlp";

bool OnPath(const std::string& program)
{
    const std::string command = "command -v " + program + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// Runs a shell command line with the prefix exported to all of it: an
// assignment in front of a command would reach only its first command, and a
// "wineserver -w" after it would wait for the server of another prefix.
int RunWith(const fs::path& prefix, const std::string& command)
{
    const std::string line = "export WINEPREFIX='" + prefix.string() + "' WINEDEBUG=-all DISPLAY=; (" + command +
                             ") >/dev/null 2>&1";
    return std::system(line.c_str());
}

// Delphi 4 in a prefix made by Wine: its keys written into the registry files
// while no wineserver runs, its folders on drive C.
void AddDelphi4(const fs::path& prefix)
{
    TRegistryFile machine(TTestPrefix::ReadFile(prefix / "system.reg"), "system.reg");
    const bool win64 = machine.Architecture() == "win64";
    const auto sz = [](const std::string& text) { return TRegistryData{1, WideToBytes(AnsiToWide(text) + u'\0')}; };
    machine.SetValue(win64 ? u"Software\\Wow6432Node\\Borland\\Delphi\\4.0" : u"Software\\Borland\\Delphi\\4.0",
                     u"RootDir", sz("C:\\Borland\\Delphi4"), FileTimeNow());
    TTestPrefix::WriteFile(prefix / "system.reg", machine.Serialize());
    TRegistryFile user(TTestPrefix::ReadFile(prefix / "user.reg"), "user.reg");
    user.SetValue(u"Software\\Borland\\Delphi\\4.0\\Known Packages", AnsiToWide("C:\\Old\\LAUNCHDECKPACKAGED4.BPL"),
                  sz("Launchdeck"), FileTimeNow());
    user.SetValue(u"Software\\Borland\\Delphi\\4.0\\Library", u"Search Path",
                  sz("$(DELPHI)\\Lib;;C:\\Old\\B\xF6se"), FileTimeNow());
    TTestPrefix::WriteFile(prefix / "user.reg", user.Serialize());
    const fs::path root = prefix / "drive_c" / "Borland" / "Delphi4";
    TTestPrefix::WriteFile(root / "Lib" / "LaunchdeckPackageD4.bpl", "stale");
    TTestPrefix::WriteFile(root / "Help" / "delphi4.cnt", ":Base delphi4.hlp\n:Index Delphi=delphi4.hlp\n");
    TTestPrefix::WriteFile(prefix / "drive_c" / "Old" / "B\xC3\xB6se" / "LaunchdeckPackageD4.bpl", "stale");
}

std::string UserValue(const fs::path& prefix, const std::string& key, const std::string& name)
{
    TRegistryFile user(TTestPrefix::ReadFile(prefix / "user.reg"), "user.reg");
    TRegistryData data;
    if (!user.QueryValue(AnsiToWide(key), AnsiToWide(name), data))
        return "<missing>";
    return WideToAnsi(BytesToWide(data.Bytes));
}

std::vector<std::string> UserNames(const fs::path& prefix, const std::string& key)
{
    TRegistryFile user(TTestPrefix::ReadFile(prefix / "user.reg"), "user.reg");
    std::vector<std::string> names;
    for (const std::u16string& name : user.ValueNames(AnsiToWide(key)))
        names.push_back(WideToAnsi(name));
    return names;
}

TEST(Win32UnderWine, LeavesTheSameValuesAndFilesAsTheLinuxBuild)
{
#ifndef DECKINSTALL_EXE
    GTEST_SKIP() << "Deckinstall.exe was not built: install mingw-w64 (i686-w64-mingw32-g++) to build it";
#else
    if (!OnPath("wine") || !OnPath("wineserver") || !OnPath("wineboot"))
        GTEST_SKIP() << "wine is not installed: the Win32 build cannot be run here";
    TTestPrefix test;
    const fs::path windowsPrefix = test.Root / "wine-prefix";
    const fs::path linuxPrefix = test.Root / "linux-prefix";
    ASSERT_EQ(RunWith(windowsPrefix, "wineboot -i && wineserver -w"), 0);
    fs::copy(windowsPrefix, linuxPrefix, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    AddDelphi4(windowsPrefix);
    AddDelphi4(linuxPrefix);
    test.AddPackage("LibD4", "LaunchdeckPackageD4.bpl");
    test.AddHelpFiles();
    fs::copy_file(DECKINSTALL_EXE, test.Dist / "Deckinstall.exe");
    fs::copy_file(DECKINSTALL_PROGRAM, test.Dist / "deckinstall");

    // The program ends with its message box. Without a display the box returns
    // at once; should it wait for a click all the same, the program is ended
    // once its last effect (the master contents file) is there. Either way the
    // server saves the registry when its last program has gone. Killing the
    // server instead would strand the program and the prefix's services.
    const pid_t wine = fork();
    if (wine == 0) {
        setpgid(0, 0);
        RunWith(windowsPrefix, "wine '" + (test.Dist / "Deckinstall.exe").string() + "'");
        _exit(0);
    }
    setpgid(wine, wine);
    const fs::path windowsContents = windowsPrefix / "drive_c" / "Borland" / "Delphi4" / "Help" / "delphi4.cnt";
    for (int i = 0; i < 600 && TTestPrefix::ReadFile(windowsContents).find(IndexLine) == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    bool ended = false;
    for (int i = 0; i < 100 && !ended; ++i) {
        ended = waitpid(wine, nullptr, WNOHANG) == wine;
        if (!ended)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (!ended) {
        kill(-wine, SIGKILL);
        waitpid(wine, nullptr, 0);
    }
    ASSERT_EQ(RunWith(windowsPrefix, "wineserver -w"), 0);

    const pid_t linux = fork();
    if (linux == 0) {
        setenv("WINEPREFIX", linuxPrefix.c_str(), 1);
        execl((test.Dist / "deckinstall").c_str(), "deckinstall", static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(linux, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    const std::string library = "Software\\Borland\\Delphi\\4.0\\Library";
    EXPECT_EQ(UserValue(windowsPrefix, library, "Search Path"), UserValue(linuxPrefix, library, "Search Path"));
    EXPECT_EQ(UserNames(windowsPrefix, "Software\\Borland\\Delphi\\4.0\\Known Packages"),
              UserNames(linuxPrefix, "Software\\Borland\\Delphi\\4.0\\Known Packages"));
    for (const fs::path& file : {fs::path("Borland/Delphi4/Help/delphi4.cnt"), fs::path("Borland/Delphi4/Help/Launchdeck.hlp"),
                                 fs::path("Borland/Delphi4/Lib/LaunchdeckPackageD4.bpl"),
                                 fs::path("windows/syswow64/LaunchdeckPackageD4.bpl"),
                                 fs::path("windows/system32/LaunchdeckPackageD4.bpl")})
        EXPECT_EQ(TTestPrefix::ReadFile(windowsPrefix / "drive_c" / file),
                  TTestPrefix::ReadFile(linuxPrefix / "drive_c" / file))
            << file;
    EXPECT_NE(TTestPrefix::ReadFile(linuxPrefix / "drive_c" / "Borland/Delphi4/Help/delphi4.cnt").find(IndexLine),
              std::string::npos);
#endif
}

} // namespace
} // namespace ld::deckinstall::test
