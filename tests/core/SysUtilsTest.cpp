#include <gtest/gtest.h>

#include "platform/core/SysUtils.h"

using namespace ld;

TEST(Format, IntegersWithWidthAndPrecision)
{
    EXPECT_EQ(Format("%d", {42}), "42");
    EXPECT_EQ(Format("%5d|", {42}), "   42|");
    EXPECT_EQ(Format("%-5d|", {42}), "42   |");
    EXPECT_EQ(Format("%.4d", {-42}), "-0042");
    EXPECT_EQ(Format("%u", {-1}), "4294967295");
    EXPECT_EQ(Format("%x", {255}), "FF");
    EXPECT_EQ(Format("%.8x", {0x8000000F}), "8000000F");
    EXPECT_EQ(Format("%x", {-1}), "FFFFFFFF");
    EXPECT_EQ(Format("%d%%", {50}), "50%");
    EXPECT_EQ(Format("%*d", {4, 7}), "   7");
}

TEST(Format, StringsAndIndexes)
{
    EXPECT_EQ(Format("%s and %s", {"a", std::string("b")}), "a and b");
    EXPECT_EQ(Format("[%.2s]", {"abcdef"}), "[ab]");
    EXPECT_EQ(Format("[%-4s]", {"ab"}), "[ab  ]");
    EXPECT_EQ(Format("%1:s %0:s", {"world", "hello"}), "hello world");
    EXPECT_EQ(Format("%d is an invalid SheetIndex value.  SheetIndex must be between 0 and %d", {5, 2}),
              "5 is an invalid SheetIndex value.  SheetIndex must be between 0 and 2");
}

TEST(Format, MismatchedOrMissingArgumentsRaise)
{
    EXPECT_THROW(Format("%d", {"x"}), EConvertError);
    EXPECT_THROW(Format("%s", {1}), EConvertError);
    EXPECT_THROW(Format("%d %d", {1}), EConvertError);
    EXPECT_THROW(Format("%q", {1}), EConvertError);
    EXPECT_THROW(Format("abc%", {}), EConvertError);
}

TEST(StrToInt, AcceptsDecimalHexAndSigns)
{
    EXPECT_EQ(StrToInt("123"), 123);
    EXPECT_EQ(StrToInt("  -17"), -17);
    EXPECT_EQ(StrToInt("+8"), 8);
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_EQ(StrToInt("0x10"), 16);
    EXPECT_EQ(StrToInt("$80000000"), INT32_MIN);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(IntToStr(-2147483648LL), "-2147483648");
    EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
}

TEST(StrToInt, RejectsWithTheClassLibraryMessage)
{
    for (const char* bad : {"", "12a", "2147483648", "-", "$", " ", "1 2", "99999999999999999999999"}) {
        try {
            StrToInt(bad);
            FAIL() << bad;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), std::string("'") + bad + "' is not a valid integer value");
        }
    }
    EXPECT_EQ(StrToIntDef("zz", 7), 7);
}

TEST(Case, AsciiOnlyAndIdentifiers)
{
    EXPECT_EQ(UpperCase("abc\xe9z"), "ABC\xe9Z");
    EXPECT_EQ(LowerCase("ABC\xc9Z"), "abc\xc9z");
    EXPECT_TRUE(SameText("TForm1", "tform1"));
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_TRUE(IsValidIdent("_a1"));
    EXPECT_FALSE(IsValidIdent("1a"));
    EXPECT_FALSE(IsValidIdent("a b"));
    EXPECT_FALSE(IsValidIdent(""));
}

TEST(MulDiv, RoundsHalvesAwayFromZeroAndRefusesWhatCannotFit)
{
    EXPECT_EQ(MulDiv(255, 50, 100), 128);
    EXPECT_EQ(MulDiv(11, 166, 100), 18);
    EXPECT_EQ(MulDiv(-255, 50, 100), -128);
    EXPECT_EQ(MulDiv(255, -50, 100), -128);
    EXPECT_EQ(MulDiv(-255, 50, -100), 128);
    EXPECT_EQ(MulDiv(7, 1, 2), 4);
    EXPECT_EQ(MulDiv(5, 1, 3), 2);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(INT32_MAX, 4, 2), -1);
    EXPECT_EQ(MulDiv(INT32_MAX, 4, 4), INT32_MAX);
}
