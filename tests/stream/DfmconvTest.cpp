#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/TestOutput.h"

namespace {

std::string OutputDir()
{
    return ld::test::TestOutputDir("dfmconv").string();
}

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Spit(const std::string& path, const std::string& data)
{
    std::ofstream(path, std::ios::binary) << data;
}

// Runs dfmconv; returns its exit status and puts what it wrote to stderr in Err.
int RunDfmconv(const std::string& args, std::string& err)
{
    const std::string errFile = OutputDir() + "/stderr.txt";
    const int status = std::system((std::string(DFMCONV) + " " + args + " 2>'" + errFile + "'").c_str());
    err = Slurp(errFile);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(Dfmconv, ConvertsBothWaysByteForByte)
{
    const std::string dir = OutputDir();
    const std::string sample = LD_SAMPLE_DIR "/Sample.dfm";
    std::string err;
    ASSERT_EQ(RunDfmconv("'" + sample + "' '" + dir + "/s.txt'", err), 0) << err;
    ASSERT_EQ(RunDfmconv("'" + dir + "/s.txt' '" + dir + "/s.dfm'", err), 0) << err;
    EXPECT_EQ(Slurp(dir + "/s.dfm"), Slurp(sample));
    EXPECT_EQ(Slurp(dir + "/s.txt"), Slurp(LD_SAMPLE_DIR "/Sample.txt.dfm"));
    ASSERT_EQ(RunDfmconv("'" + sample + "' '" + dir + "/same.dfm' --to binary", err), 0) << err;
    EXPECT_EQ(Slurp(dir + "/same.dfm"), Slurp(sample));
}

TEST(Dfmconv, MalformedInputLeavesTheOutputAlone)
{
    const std::string dir = OutputDir();
    Spit(dir + "/bad.txt", "object F: TF\r\n  A = 'x\r\nend\r\n");
    Spit(dir + "/out.dfm", "previous");
    std::string err;
    EXPECT_EQ(RunDfmconv("'" + dir + "/bad.txt' '" + dir + "/out.dfm'", err), 1);
    EXPECT_EQ(err, "dfmconv: " + dir + "/bad.txt: unterminated string on line 2\n");
    EXPECT_EQ(Slurp(dir + "/out.dfm"), "previous");
    const std::string sample = Slurp(LD_SAMPLE_DIR "/Sample.dfm");
    Spit(dir + "/cut.dfm", sample.substr(0, sample.size() - 1));
    EXPECT_EQ(RunDfmconv("'" + dir + "/cut.dfm' '" + dir + "/out.dfm'", err), 1);
    EXPECT_NE(err.find("beyond the end of the data"), std::string::npos) << err;
    EXPECT_EQ(Slurp(dir + "/out.dfm"), "previous");
}

// Arguments it cannot follow and files it cannot use: one line naming the
// argument or the file and the system's reason, status 1, never an abort, and
// the existing output whole with nothing left beside it.
TEST(Dfmconv, BadArgumentsAndFilesGetOneLineAndStatusOne)
{
    const std::string dir = OutputDir() + "/bad-arguments";
    std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str());
    const std::string sample = LD_SAMPLE_DIR "/Sample.dfm";
    Spit(dir + "/out.txt", "previous");
    const std::string usage = " (usage: dfmconv IN OUT [--to text|binary])\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "dfmconv: IN and OUT missing" + usage},
        {"'" + sample + "'", "dfmconv: OUT missing" + usage},
        {"a b c", "dfmconv: unexpected argument c" + usage},
        {"--verbose a b", "dfmconv: unknown option --verbose" + usage},
        {"a b --to", "dfmconv: --to needs text or binary" + usage},
        {"a b --to=html", "dfmconv: --to html: text or binary expected" + usage},
        {"'" + dir + "' '" + dir + "/out.txt'", "dfmconv: Cannot open file " + dir + ": Is a directory\n"},
        {"'" + dir + "/none.dfm' '" + dir + "/out.txt'",
         "dfmconv: Cannot open file " + dir + "/none.dfm: No such file or directory\n"},
        {"'" + sample + "' '" + dir + "/no-folder/out.txt'",
         "dfmconv: Cannot create file " + dir + "/no-folder/out.txt: No such file or directory\n"},
        {"'" + sample + "' '" + dir + "/out.txt/x.txt'",
         "dfmconv: Cannot create file " + dir + "/out.txt/x.txt: Not a directory\n"},
        {"'" + sample + "' '" + dir + "'", "dfmconv: Cannot create file " + dir + ": Is a directory\n"},
    };
    for (const auto& [args, message] : cases) {
        std::string err;
        EXPECT_EQ(RunDfmconv(args, err), 1) << args;
        EXPECT_EQ(err, message);
    }
    EXPECT_EQ(Slurp(dir + "/out.txt"), "previous");
    EXPECT_EQ(std::system(("test \"$(ls -A '" + dir + "')\" = out.txt").c_str()), 0) << "nothing left beside it";
    // Help is no failure.
    std::string err;
    EXPECT_EQ(RunDfmconv("--help >/dev/null", err), 0);
}

TEST(Dfmconv, ValuesTheOtherFormCannotHoldLeaveTheOutputAlone)
{
    const std::string dir = OutputDir();
    // The shortest inputs that once gave a wrong or unreadable form, and a stored
    // form holding an infinity.
    const std::string infinity("\x00\x00\x00\x00\x00\x00\xF0\x7F", 8);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"object a s=2e2004dend", "number 2e2004d is out of the range of a date on line 1"},
        {"object m b=(2e2202D)end", "number 2e2202D is out of the range of a date on line 1"},
        {"object a\r\n  s = -1.5e5000\r\nend\r\n", "number -1.5e5000 is out of the range of an extended float on line 2"},
        {"object a\r\n  s = 1e39s\r\nend\r\n", "number 1e39s is out of the range of a single on line 2"},
        {"object a\r\n  s = 9e30c\r\nend\r\n", "number 9e30c is out of the range of a currency on line 2"},
        {"object a object " + std::string(240, 'S') + "\r\nend\r\nend\r\n",
         "a class name longer than 239 characters on line 1"},
        {std::string("TPF0\x01T\x00\x01P\x11", 10) + infinity + std::string(2, '\0'),
         "Invalid binary form at byte 9: a vaDate holds an infinity, which the text form cannot hold"},
    };
    for (const auto& [input, message] : cases) {
        Spit(dir + "/limit.in", input);
        Spit(dir + "/limit.out", "previous");
        std::string err;
        EXPECT_EQ(RunDfmconv("'" + dir + "/limit.in' '" + dir + "/limit.out'", err), 1) << input;
        EXPECT_EQ(err, "dfmconv: " + dir + "/limit.in: " + message + "\n");
        EXPECT_EQ(Slurp(dir + "/limit.out"), "previous");
    }
}
