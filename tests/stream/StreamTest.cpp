#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "platform/core/SysUtils.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Stream.h"
#include "platform/stream/Writer.h"
#include "tests/support/TestOutput.h"

using namespace ld;

TEST(Streams, MemoryStreamGrowsSeeksAndReadsExactly)
{
    TMemoryStream m;
    m.WriteBuffer("hello", 5);
    m.SetPosition(1);
    m.WriteBuffer("EL", 2);
    EXPECT_EQ(m.DataString(), "hELlo");
    m.Seek(-2, soEnd);
    char two[2];
    m.ReadBuffer(two, 2);
    EXPECT_EQ(std::string(two, 2), "lo");
    EXPECT_THROW(m.ReadBuffer(two, 1), EReadError);
    m.SetSize(2);
    EXPECT_EQ(m.DataString(), "hE");
    EXPECT_EQ(m.GetPosition(), 2);
}

TEST(Streams, FileStreamCreatesOpensAndReportsMissingFiles)
{
    const std::string path = test::TestOutputPath("stream-test.bin");
    {
        TFileStream f(path, fmCreate);
        f.WriteBuffer("abc", 3);
    }
    TFileStream f(path, fmOpenRead);
    EXPECT_EQ(f.GetSize(), 3);
    char c[3];
    f.ReadBuffer(c, 3);
    EXPECT_EQ(std::string(c, 3), "abc");
    std::remove(path.c_str());
    auto openFailure = [](const std::string& name, Word mode) -> std::string {
        try {
            TFileStream file(name, mode);
        } catch (const EStreamError& e) {
            return e.Message();
        }
        return "opened";
    };
    EXPECT_EQ(openFailure("/nonexistent/x.dfm", fmOpenRead), "Cannot open file /nonexistent/x.dfm: No such file or directory");
    // A folder opens for reading on this system, and would read as nothing.
    EXPECT_EQ(openFailure("/", fmOpenRead), "Cannot open file /: Is a directory");
    EXPECT_EQ(openFailure("/nonexistent/x.dfm", fmCreate), "Cannot create file /nonexistent/x.dfm: No such file or directory");
}

TEST(Streams, ReaderGivesBackWhatItBuffered)
{
    TMemoryStream m;
    {
        TWriter w(&m);
        w.WriteInteger(1);
        w.WriteString("two");
    }
    m.WriteBuffer("tail", 4);
    m.SetPosition(0);
    {
        TReader r(&m);
        EXPECT_EQ(r.ReadInteger(), 1);
        EXPECT_EQ(r.ReadString(), "two");
        EXPECT_EQ(r.Position(), 7);
    }
    EXPECT_EQ(m.GetPosition(), 7);
}

TEST(Streams, IntegersTakeTheSmallestType)
{
    TMemoryStream m;
    {
        TWriter w(&m);
        for (Int64 v : {Int64(127), Int64(-128), Int64(128), Int64(-32769), Int64(2147483647), Int64(2147483648)})
            w.WriteInteger(v);
    }
    const std::string d = m.DataString();
    EXPECT_EQ(d.size(), 2u + 2 + 3 + 5 + 5 + 9);
    EXPECT_EQ(d[0], vaInt8);
    EXPECT_EQ(d[4], vaInt16);
    EXPECT_EQ(d[7], vaInt32);
    EXPECT_EQ(d[17], vaInt64);
    m.SetPosition(0);
    TReader r(&m);
    EXPECT_EQ(r.ReadInteger(), 127);
    EXPECT_EQ(r.ReadInteger(), -128);
    EXPECT_EQ(r.ReadInteger(), 128);
    EXPECT_EQ(r.ReadInteger(), -32769);
    EXPECT_EQ(r.ReadInteger(), 2147483647);
    EXPECT_THROW(r.ReadInteger(), EReadError);
}

TEST(Streams, WideAndUtf8StringsReadAsEightBit)
{
    TMemoryStream m;
    const char wide[] = {vaWString, 3, 0, 0, 0, 'A', 0, '\xE9', 0, 0x20, 0x22};
    const char utf8[] = {vaUTF8String, 4, 0, 0, 0, 'B', '\xC3', '\xA9', '!'};
    m.WriteBuffer(wide, sizeof wide);
    m.WriteBuffer(utf8, sizeof utf8);
    m.SetPosition(0);
    TReader r(&m);
    EXPECT_EQ(r.ReadString(), "A\xE9?");
    EXPECT_EQ(r.ReadString(), "B\xE9!");
}
