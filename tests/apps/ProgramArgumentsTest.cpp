// Every program a user runs, given arguments it cannot follow and files it
// cannot use: one line on standard error naming the argument or the file and
// the system's reason, exit status 1, never an abort, existing files whole.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct TRun {
    int Status; // -1 when the program did not exit (a signal)
    std::string Out, Err;
};

// Runs Command in the folder Dir with no display, so the demos stay headless.
TRun RunIn(const fs::path& dir, const std::string& command)
{
    const int status = std::system(("cd '" + dir.string() + "' && DISPLAY= " + command + " >stdout.txt 2>stderr.txt")
                                       .c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(dir / "stdout.txt"), Slurp(dir / "stderr.txt")};
}

class ProgramArguments : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* output = std::getenv("LD_TEST_OUTPUT");
        Dir = fs::path(output ? output : "/tmp") / "program-arguments";
        fs::remove_all(Dir);
        fs::create_directories(Dir / "folder");
        std::ofstream(Dir / "notes.txt") << "not a package\n";
        std::ofstream(Dir / "previous.cpp") << "previous";
        std::ofstream(Dir / "empty-script.txt") << "# nothing to do\n";
    }
    fs::path Dir;
};

TEST_F(ProgramArguments, EachProgramAnswersWithOneLineAndStatusOne)
{
    const std::string d = Dir.string();
    const std::string see = " --help shows the usage)\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {LD_DESIGNER " --frobnicate", "designer: unknown option --frobnicate (designer" + see},
        {LD_DESIGNER, "designer: PACKAGE missing (designer" + see},
        {LD_DESIGNER " a.bpl b.dfm c.dfm", "designer: unexpected argument c.dfm (designer" + see},
        {LD_DESIGNER " --host d9 a.bpl", "designer: unknown host d9: d3, d4, d5 or cb3 expected (designer" + see},
        {LD_DESIGNER " a.bpl --script", "designer: --script needs a value (designer" + see},
        {LD_DESIGNER " folder --script empty-script.txt", "designer: Cannot open file folder: Is a directory\n"},
        {LD_DESIGNER " notes.txt --script empty-script.txt",
         "designer: notes.txt is not a package: it is not a shared library\n"},
        {LD_DESIGNER " " LD_PACKAGE_D5 " folder --script empty-script.txt",
         "designer: Cannot open file folder: Is a directory\n"},
        {LD_DESIGNER " " LD_PACKAGE_D5 " --script folder", "designer: Cannot open file folder: Is a directory\n"},
        {LD_LAUNCHDECK " --bogus", "launchdeck: unknown option --bogus (launchdeck" + see},
        {LD_LAUNCHDECK " extra", "launchdeck: unexpected argument extra (launchdeck" + see},
        {LD_LAUNCHDECK " --headless",
         "launchdeck: on the headless screen it needs --out DIR for its pictures (launchdeck" + see},
        {LD_LAUNCHDECK " --out notes.txt/pictures",
         "launchdeck: Cannot create folder notes.txt/pictures: Not a directory\n"},
        {LD_DEMO " --out", "demo: --out needs a folder (demo" + see},
        {LD_BARDEMO " -x", "bardemo: unknown option -x (bardemo" + see},
        {LD_LDRC, "ldrc: OUT.cpp missing (usage: ldrc OUT.cpp [--language N] {RCDATA NAME FILE | BITMAP NAME FILE | "
                  "ICON NAME FILE | VERSIONINFO FILE | STRINGTABLE FILE}...)\n"},
        {LD_LDRC " previous.cpp RCDATA FORM folder", "ldrc: Cannot open file folder: Is a directory\n"},
        {LD_LDPKGRES " options previous.cpp folder", "ldpkgres: Cannot open file folder: Is a directory\n"},
        {LD_LDPKGRES " description no-folder/x.bin Launchdeck",
         "ldpkgres: Cannot create file no-folder/x.bin: No such file or directory\n"},
    };
    for (const auto& [command, message] : cases) {
        const TRun run = RunIn(Dir, command);
        EXPECT_EQ(run.Status, 1) << command;
        EXPECT_EQ(run.Err, message) << command;
    }
    EXPECT_EQ(Slurp(Dir / "previous.cpp"), "previous");
}

// --version anywhere a program reads options, or as the only argument of one
// that takes positions: its name and the project's version, status 0, and
// nothing else done (deckinstall installs nothing).
TEST_F(ProgramArguments, EveryProgramTellsItsVersion)
{
    const std::vector<std::pair<std::string, std::string>> programs = {
        {LD_DESIGNER " a.bpl --version", "designer"}, {LD_LAUNCHDECK " --headless --version", "launchdeck"},
        {LD_DEMO " --version", "demo"},               {LD_BARDEMO " --version", "bardemo"},
        {LD_LDRC " --version", "ldrc"},               {LD_LDPKGRES " --version", "ldpkgres"},
        {LD_DFMCONV " in.dfm --version", "dfmconv"},  {LD_DECKINSTALL " --version", "deckinstall"},
        {LD_HLPDUMP " --version", "hlpdump"},
    };
    for (const auto& [command, name] : programs) {
        const TRun run = RunIn(Dir, "WINEPREFIX=" + (Dir / "no-prefix").string() + " " + command);
        EXPECT_EQ(run.Status, 0) << command << ": " << run.Err;
        EXPECT_EQ(run.Out, name + " " LD_VERSION "\n") << command;
        EXPECT_EQ(run.Err, "") << command;
    }
    EXPECT_FALSE(fs::exists(Dir / "no-prefix"));
}

// A package named without a folder is the file in the current folder.
TEST_F(ProgramArguments, TheDesignerLoadsAPackageNamedInTheCurrentFolder)
{
    const fs::path package(LD_PACKAGE_D5);
    const TRun run = RunIn(package.parent_path(), std::string(LD_DESIGNER) + " " + package.filename().string() +
                                                    " --script '" + (Dir / "empty-script.txt").string() + "'");
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Out.find("loaded LaunchdeckPackageD5.bpl: \"Launchdeck\""), std::string::npos) << run.Out;
}

} // namespace
