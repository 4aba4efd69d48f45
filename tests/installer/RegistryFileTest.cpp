// The reader and writer of Wine's registry files.
#include "installer/wine/Codepage.h"
#include "installer/wine/RegistryFile.h"

#include <gtest/gtest.h>

namespace ld::deckinstall {
namespace {

using namespace std::string_literals;

// 2023-11-14 22:13:20 UTC as a FILETIME: seconds 1700000000 since 1970.
constexpr uint64_t Now = (1700000000ull + 11644473600ull) * 10000000ull;

const std::string Sample =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n"
    "\n"
    "#arch=win64\n"
    "\n"
    "[Control Panel\\\\Desktop] 1600000000\n"
    "#time=1d6a1b2c3d4e5f6\n"
    "\"Pattern\"=hex:00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,\\\n"
    "  00,00,00,00,00,00,00,00,00,00,00,00\n"
    "\"Wallpaper\"=str(2):\"%SystemRoot%\\\\bg.bmp\"\n"
    "\"Names\"=str(7):\"a\\0b\\0\"\n"
    "@=\"default\"\n"
    "\n"
    "[Software\\\\Borland\\\\Delphi\\\\4.0\\\\Known Packages] 1600000000\n"
    "#time=1d6a1b2c3d4e5f6\n"
    "#class=\"none\"\n"
    "\"C:\\\\Programme\\\\B\\xf6rland\\\\dclstd40.bpl\"=\"Standard \\\"Komponenten\\\"\"\n"
    "\"Count\"=dword:0000000a\n"
    "\n"
    "[Software\\\\Borland\\\\Delphi\\\\4.0\\\\Library\\\\Sub] 1600000000\n"
    "#time=1d6a1b2c3d4e5f6\n"
    "\"Odd\"=hex(1):41,00,42\n";

std::string Ansi(const TRegistryData& data)
{
    return WideToAnsi(BytesToWide(data.Bytes));
}

TRegistryData Sz(const std::string& ansi)
{
    return TRegistryData{1, WideToBytes(AnsiToWide(ansi) + u'\0')};
}

TEST(RegistryFile, WritesBackEveryLineItDidNotChange)
{
    EXPECT_EQ(TRegistryFile(Sample, "user.reg").Serialize(), Sample);
    std::string crlf;
    for (char c : Sample)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(TRegistryFile(crlf, "user.reg").Serialize(), crlf);
    const std::string unterminated = Sample.substr(0, Sample.size() - 1);
    EXPECT_EQ(TRegistryFile(unterminated, "user.reg").Serialize(), unterminated);
    EXPECT_EQ(TRegistryFile(Sample, "user.reg").Architecture(), "win64");
}

TEST(RegistryFile, ReadsEveryValueForm)
{
    const TRegistryFile file(Sample, "user.reg");
    TRegistryData data;
    ASSERT_TRUE(file.QueryValue(u"software\\BORLAND\\delphi\\4.0\\known packages",
                                AnsiToWide("c:\\programme\\b\xd6rland\\DCLSTD40.BPL"), data));
    EXPECT_EQ(data.Type, 1u);
    EXPECT_EQ(Ansi(data), std::string("Standard \"Komponenten\"\0", 23));
    ASSERT_TRUE(file.QueryValue(u"Software\\Borland\\Delphi\\4.0\\Known Packages", u"count", data));
    EXPECT_EQ(data.Type, 4u);
    EXPECT_EQ(data.Bytes, std::string("\x0a\0\0\0", 4));
    ASSERT_TRUE(file.QueryValue(u"Control Panel\\Desktop", u"Pattern", data));
    EXPECT_EQ(data.Type, 3u);
    EXPECT_EQ(data.Bytes, std::string(33, 0));
    ASSERT_TRUE(file.QueryValue(u"Control Panel\\Desktop", u"Wallpaper", data));
    EXPECT_EQ(data.Type, 2u);
    EXPECT_EQ(Ansi(data), std::string("%SystemRoot%\\bg.bmp\0", 20));
    ASSERT_TRUE(file.QueryValue(u"Control Panel\\Desktop", u"Names", data));
    EXPECT_EQ(Ansi(data), std::string("a\0b\0\0", 5));
    ASSERT_TRUE(file.QueryValue(u"Control Panel\\Desktop", u"", data));
    EXPECT_EQ(Ansi(data), std::string("default\0", 8));
    ASSERT_TRUE(file.QueryValue(u"Software\\Borland\\Delphi\\4.0\\Library\\Sub", u"Odd", data));
    EXPECT_EQ(data.Type, 1u);
    EXPECT_EQ(data.Bytes, "A\0B"s);
    EXPECT_FALSE(file.QueryValue(u"Control Panel\\Desktop", u"Missing", data));
}

TEST(RegistryFile, KeysExistWithoutRegardToCaseAndThroughTheirSubkeys)
{
    const TRegistryFile file(Sample, "user.reg");
    EXPECT_TRUE(file.KeyExists(u"CONTROL PANEL\\desktop"));
    EXPECT_TRUE(file.KeyExists(u"Software\\Borland\\Delphi\\4.0\\Library"));
    EXPECT_TRUE(file.KeyExists(u"Software\\Borland"));
    EXPECT_FALSE(file.KeyExists(u"Software\\Borland\\Delphi\\4"));
    EXPECT_FALSE(file.KeyExists(u"Software\\Borland\\Delphi\\4.0\\Lib"));
    EXPECT_EQ(file.ValueNames(u"Software\\Borland\\Delphi\\4.0\\Known Packages"),
              (std::vector<std::u16string>{AnsiToWide("C:\\Programme\\B\xf6rland\\dclstd40.bpl"), u"Count"}));
}

TEST(RegistryFile, ChangingAValueRewritesOnlyItsLineAndItsKeysTime)
{
    TRegistryFile file(Sample, "user.reg");
    file.SetValue(u"software\\borland\\delphi\\4.0\\known packages", u"COUNT", Sz("B\xf6" "5"), Now);
    std::string expected = Sample;
    const auto replace = [&](const std::string& from, const std::string& to) {
        const size_t at = expected.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        expected.replace(at, from.size(), to);
    };
    replace("[Software\\\\Borland\\\\Delphi\\\\4.0\\\\Known Packages] 1600000000\n#time=1d6a1b2c3d4e5f6",
            "[Software\\\\Borland\\\\Delphi\\\\4.0\\\\Known Packages] 1700000000\n#time=1da1747c66d0000");
    replace("\"Count\"=dword:0000000a", "\"Count\"=\"B\\x00f65\"");
    EXPECT_EQ(file.Serialize(), expected);
    TRegistryData data;
    ASSERT_TRUE(TRegistryFile(file.Serialize(), "again").QueryValue(u"Software\\Borland\\Delphi\\4.0\\Known Packages",
                                                                   u"Count", data));
    EXPECT_EQ(Ansi(data), std::string("B\xf6" "5\0", 4));
}

TEST(RegistryFile, NewValuesFollowTheLastValueAndNewKeysPrecedeTheirSubkeys)
{
    TRegistryFile file(Sample, "user.reg");
    file.SetValue(u"Software\\Borland\\Delphi\\4.0\\Known Packages", u"New", Sz("x"), Now);
    file.SetValue(u"Software\\Borland\\Delphi\\4.0\\Library", u"Search Path", Sz("$(DELPHI)\\Lib"), Now);
    const std::string text = file.Serialize();
    EXPECT_NE(text.find("\"Count\"=dword:0000000a\n\"New\"=\"x\"\n\n[Software\\\\Borland\\\\Delphi\\\\4.0\\\\Library] "
                        "1700000000\n#time=1da1747c66d0000\n\"Search Path\"=\"$(DELPHI)\\\\Lib\"\n\n"
                        "[Software\\\\Borland\\\\Delphi\\\\4.0\\\\Library\\\\Sub]"),
              std::string::npos)
        << text;
    file.SetValue(u"Software\\Fresh", u"Last", Sz("y"), Now);
    EXPECT_TRUE(file.Serialize().ends_with("\"Odd\"=hex(1):41,00,42\n\n[Software\\\\Fresh] 1700000000\n"
                                           "#time=1da1747c66d0000\n\"Last\"=\"y\"\n"));
    EXPECT_EQ(TRegistryFile(file.Serialize(), "again").Serialize(), file.Serialize());
}

TEST(RegistryFile, DeletingRemovesTheValueInAnyCaseAndNothingElse)
{
    TRegistryFile file(Sample, "user.reg");
    EXPECT_TRUE(file.DeleteValue(u"Control Panel\\Desktop", u"PATTERN", Now));
    EXPECT_FALSE(file.DeleteValue(u"Control Panel\\Desktop", u"Pattern", Now));
    const std::string text = file.Serialize();
    EXPECT_EQ(text.find("Pattern"), std::string::npos);
    EXPECT_NE(text.find("[Control Panel\\\\Desktop] 1700000000\n#time=1da1747c66d0000\n\"Wallpaper\""),
              std::string::npos);
    EXPECT_EQ(text.substr(text.find("\n[Software")), Sample.substr(Sample.find("\n[Software")));
}

TEST(RegistryFile, MalformedFilesNameTheFileAndTheLine)
{
    const std::string head = "WINE REGISTRY Version 2\n\n";
    const struct {
        std::string Text;
        std::string Where;
    } cases[] = {
        {"REGEDIT4\n", "f.reg: line 1:"},
        {"", "f.reg: line 1:"},
        {head + "\"Orphan\"=\"x\"\n", "f.reg: line 3: value outside any key"},
        {head + "[Unterminated\n", "f.reg: line 3: bad key name"},
        {head + "[Key] 12 trailing\n", "f.reg: line 3:"},
        {head + "[Key] 1\n\"Open\"=\"no end\n", "f.reg: line 4:"},
        {head + "[Key] 1\n\"Name\" \"x\"\n", "f.reg: line 4: '=' expected"},
        {head + "[Key] 1\n\"D\"=dword:xyz\n", "f.reg: line 4: bad dword data"},
        {head + "[Key] 1\n\"D\"=hex:01,zz\n", "f.reg: line 4: bad hex data"},
        {head + "[Key] 1\n\"D\"=hex(ffffffffff):01\n", "f.reg: line 4:"},
        {head + "[Key] 1\n\"D\"=hex:01,\\\n", "f.reg: line 4: hex data continues past the end"},
        {head + "[Key] 1\n\"D\"=float:1.0\n", "f.reg: line 4: unknown value type"},
        {head + "[Key] 1\n\n\ngarbage\n", "f.reg: line 6: unrecognised line"},
        {head + "[Key] 1\n\"D\"=\"x\\x\"\n", "f.reg: line 4:"},
        {head + "[Key] 1\n\"D\"=\"x\" junk\n", "f.reg: line 4: text after the closing quote"},
    };
    for (const auto& c : cases) {
        try {
            TRegistryFile file(c.Text, "f.reg");
            ADD_FAILURE() << "accepted: " << c.Text;
        } catch (const ERegistryFileError& error) {
            EXPECT_EQ(std::string(error.what()).rfind(c.Where, 0), 0u) << error.what();
        }
    }
}

TEST(RegistryFile, EscapesRoundTripEveryCharacter)
{
    std::u16string all;
    for (char16_t c = 1; c < 0x180; ++c)
        all += c;
    all += u"\u20ac0\u20acx\x01" "7\x1b";
    TRegistryFile file("WINE REGISTRY Version 2\n", "f.reg");
    file.SetValue(all, all, TRegistryData{1, WideToBytes(all + u'\0')}, Now);
    const std::string text = file.Serialize();
    for (unsigned char c : text)
        ASSERT_TRUE((c >= 0x20 && c < 0x80) || c == 10) << int(c);
    TRegistryData data;
    ASSERT_TRUE(TRegistryFile(text, "f.reg").QueryValue(all, all, data)) << text;
    EXPECT_EQ(BytesToWide(data.Bytes), all + u'\0');
}

} // namespace
} // namespace ld::deckinstall
