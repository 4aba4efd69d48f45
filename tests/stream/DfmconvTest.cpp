#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string OutputDir()
{
    const char* dir = std::getenv("LD_TEST_OUTPUT");
    std::string d = std::string(dir ? dir : "/tmp") + "/dfmconv";
    std::system(("mkdir -p '" + d + "'").c_str());
    return d;
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
    EXPECT_EQ(RunDfmconv("", err), 2);
    EXPECT_NE(err.find("usage: dfmconv IN OUT"), std::string::npos);
}
