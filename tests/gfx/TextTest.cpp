#include <gtest/gtest.h>

#include "platform/gfx/FontFaces.h"
#include "platform/gfx/Text.h"
#include "tests/gfx/GfxTestHelpers.h"

namespace ld {
namespace {

using test::At;
using test::TCanvasFixture;

constexpr COLORREF White = RGB(255, 255, 255);

Integer Width(HDC dc, std::string_view s)
{
    TSize size;
    GetTextExtentPoint32(dc, s, size);
    return size.cx;
}

Integer LineHeight(HDC dc)
{
    TEXTMETRIC tm;
    GetTextMetrics(dc, tm);
    return tm.tmHeight;
}

// The bounding box of everything not white.
TRect InkBox(const TSurface& s)
{
    TRect box{s.Width(), s.Height(), 0, 0};
    for (Integer y = 0; y < s.Height(); ++y)
        for (Integer x = 0; x < s.Width(); ++x)
            if (At(s, x, y) != White) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    return box;
}

bool SamePixels(const TSurface& a, const TSurface& b)
{
    for (Integer y = 0; y < a.Height(); ++y)
        for (Integer x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y))
                return false;
    return true;
}

struct TextFixture : TCanvasFixture {
    TextFixture(Integer w = 200, Integer h = 60) : TCanvasFixture(w, h) { SetBkMode(DC, TRANSPARENT); }
};

TEST(TextMetrics, DefaultFontIsElevenPixelsWithAscentAndDescent)
{
    TextFixture f;
    TEXTMETRIC tm;
    ASSERT_TRUE(GetTextMetrics(f.DC, tm));
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_GE(tm.tmHeight, 11);
    EXPECT_LE(tm.tmHeight, 16);
    EXPECT_GT(tm.tmAveCharWidth, 0);
    EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
    EXPECT_EQ(Width(f.DC, "ab"), Width(f.DC, "a") + Width(f.DC, "b"));
    EXPECT_EQ(GetTextFace(f.DC), "MS Sans Serif");
}

// The host's faces come from the files made for them, sized as the host
// sizes them: a bitmap strike by its character height, an outline face for
// sizes without a strike; other names fall back to DejaVu.
TEST(TextMetrics, HostFacesUseTheirOwnFilesAndMetrics)
{
    struct TCase {
        const char* Face;
        Integer Height, Weight;
        bool Italic;
        const char* File;
        Integer Cell, Ascent, Leading;
    };
    const TCase cases[] = {
        {"MS Sans Serif", -11, FW_NORMAL, false, "ms_sans_serif.ttf", 13, 11, 2},
        {"MS Sans Serif", 0, FW_NORMAL, false, "ms_sans_serif.ttf", 13, 11, 2},
        {"ms shell dlg", -13, FW_NORMAL, false, "ms_sans_serif.ttf", 16, 13, 3},
        {"MS Sans Serif", 20, FW_NORMAL, false, "ms_sans_serif.ttf", 20, 16, 4},
        {"MS Sans Serif", -12, FW_NORMAL, false, "tahoma.ttf", 14, 12, 2},
        {"MS Sans Serif", -11, FW_NORMAL, true, "tahoma.ttf", 13, 11, 2},
        {"Tahoma", -11, FW_BOLD, false, "tahomabd.ttf", 13, 11, 2},
        {"Arial", -11, FW_NORMAL, false, "DejaVuSans.ttf", 13, 10, 2},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Face) + " " + std::to_string(c.Height));
        LOGFONT lf;
        lf.lfFaceName = c.Face;
        lf.lfHeight = c.Height;
        lf.lfWeight = c.Weight;
        lf.lfItalic = c.Italic;
        TextFixture f;
        HFONT font = CreateFontIndirect(lf);
        SelectObject(f.DC, font);
        const std::string path = FaceFileFor(c.Face, c.Height, c.Weight >= 600, c.Italic).Path;
        EXPECT_EQ(path.substr(path.rfind('/') + 1), c.File);
        TEXTMETRIC tm;
        GetTextMetrics(f.DC, tm);
        EXPECT_EQ(tm.tmHeight, c.Cell);
        EXPECT_EQ(tm.tmAscent, c.Ascent);
        EXPECT_EQ(tm.tmInternalLeading, c.Leading);
        SelectObject(f.DC, GetStockObject(SYSTEM_FONT));
        DeleteObject(font);
    }
    // A bold bitmap face is the regular one a pixel wider per character.
    TextFixture f;
    LOGFONT lf;
    lf.lfFaceName = "MS Sans Serif";
    lf.lfHeight = -11;
    EXPECT_EQ(Width(f.DC, "Caption:"), 39);
    lf.lfWeight = FW_BOLD;
    HFONT bold = CreateFontIndirect(lf);
    SelectObject(f.DC, bold);
    EXPECT_EQ(Width(f.DC, "Caption:"), 39 + 8);
    // The symbol face draws its glyphs for plain bytes: "r" is the close cross.
    lf.lfFaceName = "Marlett";
    lf.lfWeight = FW_NORMAL;
    lf.lfHeight = -13;
    HFONT marlett = CreateFontIndirect(lf);
    SelectObject(f.DC, marlett);
    TextOut(f.DC, 0, 0, "r");
    EXPECT_GT(InkBox(*f.Surface).Width(), 5);
    SelectObject(f.DC, GetStockObject(SYSTEM_FONT));
    DeleteObject(bold);
    DeleteObject(marlett);
}

TEST(DrawText, CalcRectMeasuresOneLineAndChangesOnlyRightAndBottom)
{
    TextFixture f;
    TRect r = Rect(10, 20, 15, 21);
    const Integer h = DrawText(f.DC, "Shortcuts", r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(h, LineHeight(f.DC));
    EXPECT_EQ(r, Rect(10, 20, 10 + Width(f.DC, "Shortcuts"), 20 + LineHeight(f.DC)));
    EXPECT_EQ(InkBox(*f.Surface).Right, 0); // nothing drawn
    // The empty text measures no width; one line only when single-line.
    TRect e = Rect(5, 5, 50, 50);
    DrawText(f.DC, "", e, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(e, Rect(5, 5, 5, 5));
}

TEST(DrawText, PrefixesShowOneAmpersandAndMeasuringWithNoPrefixCountsIt)
{
    TextFixture f;
    auto measure = [&](std::string_view s, UINT flags) {
        TRect r = Rect(0, 0, 0, 0);
        DrawText(f.DC, s, r, DT_CALCRECT | DT_SINGLELINE | flags);
        return r.Right;
    };
    EXPECT_EQ(measure("&File", 0), Width(f.DC, "File"));
    EXPECT_EQ(measure("&File", DT_NOPREFIX), Width(f.DC, "&File"));
    EXPECT_EQ(measure("Fish && Chips", 0), Width(f.DC, "Fish & Chips"));
    EXPECT_EQ(measure("End&", 0), Width(f.DC, "End"));
}

TEST(DrawText, PrefixUnderlinesTheNextCharacterOnly)
{
    TextFixture f;
    TextFixture plain;
    TRect r = Rect(0, 0, 200, 30);
    DrawText(f.DC, "a&bc", r, DT_SINGLELINE);
    TRect r2 = r;
    DrawText(plain.DC, "abc", r2, DT_SINGLELINE);
    // Same glyphs; the difference is one underline below "b" only.
    const Integer bLeft = Width(f.DC, "a"), bRight = Width(f.DC, "ab");
    Integer differing = 0, underlineRow = -1;
    for (Integer y = 0; y < 30; ++y)
        for (Integer x = 0; x < 200; ++x)
            if (At(*f.Surface, x, y) != At(*plain.Surface, x, y)) {
                ++differing;
                EXPECT_GE(x, bLeft);
                EXPECT_LT(x, bRight);
                EXPECT_TRUE(underlineRow == -1 || underlineRow == y);
                underlineRow = y;
            }
    EXPECT_GT(differing, 0);
    TEXTMETRIC tm;
    GetTextMetrics(f.DC, tm);
    EXPECT_GE(underlineRow, tm.tmAscent);
    EXPECT_LT(underlineRow, tm.tmHeight + 1);
}

TEST(DrawText, WordBreakWrapsAtBlanksAndNeverInsideAWord)
{
    TextFixture f;
    const Integer lh = LineHeight(f.DC);
    TRect r = Rect(0, 0, Width(f.DC, "alpha beta"), 0);
    EXPECT_EQ(DrawText(f.DC, "alpha beta gamma", r, DT_CALCRECT | DT_WORDBREAK), 2 * lh);
    EXPECT_EQ(r.Right, Width(f.DC, "alpha beta"));
    EXPECT_EQ(r.Bottom, 2 * lh);
    // One pixel narrower and "beta" moves down as well (too wide beside "gamma").
    TRect n = Rect(0, 0, Width(f.DC, "alpha beta") - 1, 0);
    ASSERT_GT(Width(f.DC, "beta gamma"), n.Right);
    EXPECT_EQ(DrawText(f.DC, "alpha beta gamma", n, DT_CALCRECT | DT_WORDBREAK), 3 * lh);
    EXPECT_EQ(n.Right, std::max({Width(f.DC, "alpha"), Width(f.DC, "beta"), Width(f.DC, "gamma")}));
    // A word wider than the rectangle widens the result.
    TRect w = Rect(3, 0, 10, 0);
    EXPECT_EQ(DrawText(f.DC, "a extraordinarily b", w, DT_CALCRECT | DT_WORDBREAK), 3 * lh);
    EXPECT_EQ(w.Right, 3 + Width(f.DC, "extraordinarily"));
    // Line breaks break too; CR LF is one break.
    TRect b = Rect(0, 0, 500, 0);
    EXPECT_EQ(DrawText(f.DC, "one\r\ntwo\nthree", b, DT_CALCRECT | DT_WORDBREAK), 3 * lh);
    EXPECT_EQ(b.Right, Width(f.DC, "three"));
    // With DT_SINGLELINE nothing breaks.
    TRect s = Rect(0, 0, 5, 0);
    EXPECT_EQ(DrawText(f.DC, "alpha beta", s, DT_CALCRECT | DT_SINGLELINE | DT_WORDBREAK), lh);
}

TEST(DrawText, WrappedLinesAreCentredEachOnItsOwn)
{
    TextFixture f(120, 60);
    TextFixture expected(120, 60);
    TRect r = Rect(0, 0, 120, 60);
    const Integer lh = LineHeight(f.DC);
    const std::string first = "alpha beta", second = "gamma";
    const Integer wrap = Width(f.DC, first);
    r.Right = wrap + 4;
    DrawText(f.DC, "alpha beta gamma", r, DT_WORDBREAK | DT_CENTER);
    TextOut(expected.DC, (r.Right - Width(f.DC, first)) / 2, 0, first);
    TextOut(expected.DC, (r.Right - Width(f.DC, second)) / 2, lh, second);
    EXPECT_TRUE(SamePixels(*f.Surface, *expected.Surface));
}

TEST(DrawText, SingleLineCentredBothWaysMatchesTextOutAtTheComputedPlace)
{
    TextFixture f(100, 40);
    TextFixture expected(100, 40);
    TRect r = Rect(7, 3, 93, 37);
    DrawText(f.DC, "&Tab", r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    const Integer w = Width(f.DC, "Tab"), lh = LineHeight(f.DC);
    const Integer x = 7 + (86 - w) / 2, y = 3 + (34 - lh) / 2;
    TRect at = Rect(x, y, x + w, y + lh);
    DrawText(expected.DC, "&Tab", at, DT_SINGLELINE);
    EXPECT_TRUE(SamePixels(*f.Surface, *expected.Surface));
    // Right and bottom alignment.
    TextFixture g(100, 40), h(100, 40);
    DrawText(g.DC, "Tab", r, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
    TextOut(h.DC, 93 - w, 37 - lh, "Tab");
    EXPECT_TRUE(SamePixels(*g.Surface, *h.Surface));
}

TEST(DrawText, OpaqueBackgroundFillsEachTextCell)
{
    TCanvasFixture f(100, 30);
    SetBkMode(f.DC, OPAQUE);
    SetBkColor(f.DC, RGB(255, 0, 0));
    TRect r = Rect(10, 5, 100, 30);
    DrawText(f.DC, "Items", r, DT_LEFT);
    const Integer w = Width(f.DC, "Items"), lh = LineHeight(f.DC);
    for (Integer y = 0; y < 30; ++y)
        for (Integer x = 0; x < 100; ++x) {
            const bool inCell = x >= 10 && x < 10 + w && y >= 5 && y < 5 + lh;
            if (inCell)
                ASSERT_NE(At(*f.Surface, x, y), White) << x << "," << y;
            else
                ASSERT_EQ(At(*f.Surface, x, y), White) << x << "," << y;
        }
}

TEST(DrawText, ClipsToTheRectangleUnlessNoClip)
{
    TextFixture f(100, 30), g(100, 30);
    TRect r = Rect(0, 0, 8, 30);
    DrawText(f.DC, "Overflowing", r, DT_SINGLELINE);
    EXPECT_LE(InkBox(*f.Surface).Right, 8);
    DrawText(g.DC, "Overflowing", r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(InkBox(*g.Surface).Right, 8);
}

TEST(DrawText, ExpandTabsMovesToEightAverageCharacters)
{
    TextFixture f;
    TEXTMETRIC tm;
    GetTextMetrics(f.DC, tm);
    TRect r = Rect(0, 0, 0, 0);
    DrawText(f.DC, "ab\tc", r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_EQ(r.Right, 8 * tm.tmAveCharWidth + Width(f.DC, "c"));
}

TEST(TextOut, OpaqueModeAndExtTextOutOptions)
{
    TCanvasFixture f(60, 20);
    SetBkColor(f.DC, RGB(0, 0, 255));
    const TRect box = Rect(0, 0, 60, 20);
    ExtTextOut(f.DC, 2, 2, ETO_OPAQUE | ETO_CLIPPED, &box, "");
    EXPECT_EQ(test::CountColor(*f.Surface, RGB(0, 0, 255)), 60 * 20);
    const TRect tiny = Rect(0, 0, 3, 20);
    SetBkMode(f.DC, TRANSPARENT);
    ExtTextOut(f.DC, 0, 0, ETO_CLIPPED, &tiny, "WWWW");
    for (Integer y = 0; y < 20; ++y)
        for (Integer x = 3; x < 60; ++x)
            ASSERT_EQ(At(*f.Surface, x, y), RGB(0, 0, 255));
    // Baseline alignment puts the glyphs' bottoms at y.
    TextFixture g(60, 30);
    SetTextAlign(g.DC, TA_BASELINE);
    TextOut(g.DC, 0, 20, "H");
    EXPECT_EQ(InkBox(*g.Surface).Bottom, 20);
}

TEST(TextOut, DrawingFarOutsideIsHarmless)
{
    TextFixture f(10, 10);
    TextOut(f.DC, -1000000, 5, "far left");
    TextOut(f.DC, 1000000000, -1000000000, "far away");
    TRect r = Rect(-2000000, -2000000, -1999000, -1999000);
    DrawText(f.DC, "word wrap here", r, DT_WORDBREAK | DT_CENTER);
    TRect huge = Rect(-2000000000, -2000000000, 2000000000, 2000000000);
    DrawText(f.DC, "huge", huge, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOCLIP);
    TRect calc = Rect(2147483000, 0, 2147483000, 0);
    DrawText(f.DC, "huge", calc, DT_CALCRECT);
    EXPECT_EQ(InkBox(*f.Surface).Right, 0);
}

} // namespace
} // namespace ld
