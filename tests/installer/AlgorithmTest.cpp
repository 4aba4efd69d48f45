// The installer's algorithms on their own: text helpers, summary, contents files,
// the help index line, code page and wildcard matching.
#include "installer/core/ContentsFile.h"
#include "installer/core/Environments.h"
#include "installer/core/HelpInstall.h"
#include "installer/core/PathText.h"
#include "installer/wine/Codepage.h"
#include "installer/wine/WineOs.h"
#include "tests/installer/TestPrefix.h"

#include <gtest/gtest.h>

#include <sstream>

namespace ld::deckinstall {
namespace {

using Lines = std::vector<std::string>;

TEST(PathText, BackslashesAreAddedAndRemovedOnce)
{
    EXPECT_EQ(AddBackslash(""), "");
    EXPECT_EQ(AddBackslash("C:\\D4"), "C:\\D4\\");
    EXPECT_EQ(AddBackslash("C:\\D4\\"), "C:\\D4\\");
    EXPECT_EQ(RemoveBackslash(""), "");
    EXPECT_EQ(RemoveBackslash("C:\\D4\\\\"), "C:\\D4\\");
    EXPECT_EQ(ExtractFilePath("C:\\Setup\\deck.exe"), "C:\\Setup\\");
    EXPECT_EQ(ExtractFilePath("C:deck.exe"), "C:");
    EXPECT_EQ(ExtractFilePath("deck.exe"), "");
    EXPECT_EQ(LowerCaseAscii("E:\\SETUP\\B\xD6RLAND\\"), "e:\\setup\\b\xD6rland\\");
}

TEST(PathText, ReplaceTextNoCaseRestartsAndNeverLoops)
{
    EXPECT_EQ(ReplaceTextNoCase("$(delphi)\\Lib;$(DELPHI)\\Bin", "$(DELPHI)", "C:\\D4"), "C:\\D4\\Lib;C:\\D4\\Bin");
    // Each search starts again at the beginning: a replacement can complete a
    // pattern with the text before it.
    EXPECT_EQ(ReplaceTextNoCase("$(BC$(BCB)\\x", "$(BCB)", "B)"), "B)\\x");
    EXPECT_EQ(ReplaceTextNoCase("$(DELPHI)\\Lib", "$(DELPHI)", ""), "\\Lib");
    // A root folder that holds the macro itself is expanded once per occurrence.
    EXPECT_EQ(ReplaceTextNoCase("$(DELPHI)\\Lib;$(delphi)", "$(DELPHI)", "C:\\$(Delphi)"),
              "C:\\$(Delphi)\\Lib;C:\\$(Delphi)");
}

TEST(PathText, SplittingFollowsTheRepeatUntilRule)
{
    EXPECT_EQ(SplitList("", ';'), Lines{""});
    EXPECT_EQ(SplitList("a;", ';'), Lines{"a"});
    EXPECT_EQ(SplitList(";;", ';'), (Lines{"", ""}));
    EXPECT_EQ(SplitList(";a; b ;;c", ';'), (Lines{"", "a", " b ", "", "c"}));
    EXPECT_EQ(JoinList({"a", "", "b"}, ';'), "a;;b");
    EXPECT_EQ(NormaliseFolder("C:/D4\\\\Launch\\.\\x\\..\\LibD4\\"), "C:\\D4\\Launch\\LibD4");
    EXPECT_EQ(NormaliseFolder("..\\a\\..\\..\\b"), "..\\..\\b");
}

TEST(Summary, StatusLinesAndTheExactMessage)
{
    EXPECT_EQ(StatusLine("Delphi 3", 1), "Delphi 3: Component installed.");
    EXPECT_EQ(StatusLine("Delphi 3", 2), "Delphi 3: Help installed.");
    EXPECT_EQ(StatusLine("Delphi 3", 3), "Delphi 3: Component & help installed.");
    EXPECT_EQ(StatusLine("Delphi 3", 0), "");
    TEnvironmentTable table = MakeEnvironmentTable();
    EXPECT_EQ(BuildSummary(table), "Delphi 3, Delphi 4, Delphi 5 or C++Builder 3 not found.");
    table[0].InstalledParts = 3;
    table[2].InstalledParts = 2;
    EXPECT_EQ(FinalMessageText(BuildSummary(table)),
              "Installation of Launchdeck for Delphi complete.\x0a\x0d\x0a\x0d"
              "Delphi 3: Component & help installed.\r\nDelphi 5: Help installed.\r\n");
    table = MakeEnvironmentTable();
    table[3].InstalledParts = 3;
    EXPECT_EQ(BuildSummary(table), "C++Builder 3: Component & help installed.\r\n");
}

TEST(ContentsFile, LinesBreakAtCrLfCrOrLfAndEndAtAZeroByte)
{
    EXPECT_EQ(SplitContentsLines(""), Lines{});
    EXPECT_EQ(SplitContentsLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitContentsLines("a\r\n"), Lines{"a"});
    EXPECT_EQ(SplitContentsLines("a\r\r\nb\n\n"), (Lines{"a", "", "b", ""}));
    EXPECT_EQ(SplitContentsLines("\n\r"), (Lines{"", ""}));
    EXPECT_EQ(SplitContentsLines(std::string("a\nb\0c\nd", 7)), (Lines{"a", "b"}));
    EXPECT_EQ(JoinContentsLines({"a", "", "\xE9"}), "a\r\n\r\n\xE9\r\n");
    EXPECT_EQ(JoinContentsLines({}), "");
}

class HelpIndexLine : public ::testing::Test {
protected:
    test::TTestPrefix P;
    std::ostringstream Out;
    TWineOs Os{TWinePrefix(P.Prefix), Out, Out};
    const std::string Line = ":Index Launchdeck Component Reference=Launchdeck.hlp";
};

TEST_F(HelpIndexLine, GoesBeforeTheFirstIndexLineOnly)
{
    Lines lines{":Base delphi4.hlp", ":index lower", " :Index blank", ":Indexed=x.hlp", ":Index Delphi=d.hlp"};
    EXPECT_TRUE(AddHelpIndexLine(Os, lines));
    EXPECT_EQ(lines, (Lines{":Base delphi4.hlp", ":index lower", " :Index blank", Line, ":Indexed=x.hlp",
                            ":Index Delphi=d.hlp"}));
    Lines noIndex{":Base delphi4.hlp", "1 Contents"};
    EXPECT_TRUE(AddHelpIndexLine(Os, noIndex));
    EXPECT_EQ(noIndex.back(), Line);
    Lines empty;
    EXPECT_TRUE(AddHelpIndexLine(Os, empty));
    EXPECT_EQ(empty, Lines{Line});
}

TEST_F(HelpIndexLine, IsFoundIgnoringCaseButNotWithBlanks)
{
    Lines lower{":index launchdeck component reference=LAUNCHDECK.HLP"};
    EXPECT_FALSE(AddHelpIndexLine(Os, lower));
    EXPECT_EQ(lower.size(), 1u);
    Lines blank{" " + Line, Line + " "};
    EXPECT_TRUE(AddHelpIndexLine(Os, blank));
    EXPECT_EQ(blank.size(), 3u);
    EXPECT_TRUE(Os.SameTextIgnoreCase("b\xF6rland \xC9t\xE9 \x8A", "B\xD6RLAND \xE9T\xC9 \x9A"));
    EXPECT_FALSE(Os.SameTextIgnoreCase("Launchdeck", "Launchdeck "));
}

TEST(Codepage, EveryByteRoundTripsAndUnmappedCharactersBecomeQuestionMarks)
{
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    EXPECT_EQ(WideToAnsi(AnsiToWide(all)), all);
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
    EXPECT_EQ(AnsiToWide("\x80\x9F\xF6"), u"\u20AC\u0178\u00F6");
    EXPECT_EQ(WideToAnsi(u"\u0100\U0001F600x"), "??x");
    EXPECT_EQ(Utf8ToWide("a\xC3\xB6\xFF\xC3"), u"a\u00F6\u00FF\u00C3");
    EXPECT_EQ(WideToUtf8(u"\u00F6\U0001F600"), "\xC3\xB6\xF0\x9F\x98\x80");
}

TEST(Wildcard, MatchesLikeTheSystemsFileSearch)
{
    const std::u16string pattern = u"launchdeckpackage*.*";
    EXPECT_TRUE(MatchesWildcard(u"LaunchdeckPackageD4.bpl", pattern));
    EXPECT_TRUE(MatchesWildcard(u"LAUNCHDECKPACKAGE", pattern));
    EXPECT_TRUE(MatchesWildcard(u"launchdeckpackage.old.bak", pattern));
    EXPECT_FALSE(MatchesWildcard(u"OldLaunchdeckPackage.bpl", pattern));
    EXPECT_FALSE(MatchesWildcard(u"launchdeck.bpl", pattern));
    EXPECT_TRUE(MatchesWildcard(u"a.b", u"?.*"));
    EXPECT_FALSE(MatchesWildcard(u"ab.c", u"?.*"));
    EXPECT_TRUE(MatchesWildcard(u"\u00D6l", u"\u00F6L"));
}

} // namespace
} // namespace ld::deckinstall
