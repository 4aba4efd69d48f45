// Draws a sheet of the primitives the controls use and writes it as a PNG for
// a person to look at; the checks make sure the sheet really shows them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/gfx/Blit.h"
#include "platform/gfx/Frames.h"
#include "platform/gfx/Png.h"
#include "platform/gfx/RectUtils.h"
#include "platform/gfx/Regions.h"
#include "platform/gfx/Text.h"
#include "tests/gfx/GfxTestHelpers.h"
#include "tests/support/TestOutput.h"

namespace ld {
namespace {

void Label(HDC dc, Integer x, Integer y, const char* text)
{
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOut(dc, x, y, text);
}

void Stroke(HDC dc, COLORREF color, std::initializer_list<TPoint> points, bool continueFromCurrent = false)
{
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ old = SelectObject(dc, pen);
    auto it = points.begin();
    if (!continueFromCurrent)
        MoveToEx(dc, it->X, it->Y, nullptr), ++it;
    for (; it != points.end(); ++it)
        LineTo(dc, it->X, it->Y);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void DrawLines(HDC dc, Integer x0, Integer y0)
{
    Label(dc, x0, y0, "Lines (end point left out)");
    const TPoint c{x0 + 40, y0 + 60};
    for (const TPoint d : {TPoint{30, 0}, {30, 30}, {0, 30}, {-30, 30}, {-30, 0}, {-30, -30}, {0, -30}, {30, -30},
                           {30, 12}, {-12, 30}}) {
        MoveToEx(dc, c.X, c.Y, nullptr);
        LineTo(dc, c.X + d.X, c.Y + d.Y);
    }
    HPEN dot = CreatePen(PS_DOT, 1, RGB(0, 0, 128));
    HGDIOBJ oldPen = SelectObject(dc, dot);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, x0 + 90, y0 + 30, x0 + 160, y0 + 90);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(dot);
    HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
    oldBrush = SelectObject(dc, yellow);
    Rectangle(dc, x0 + 170, y0 + 30, x0 + 210, y0 + 90);
    SelectObject(dc, oldBrush);
    DeleteObject(yellow);
}

// The bar's four tab styles, stroked as the bar strokes them.
void DrawTabs(HDC dc, Integer x0, Integer y0)
{
    Label(dc, x0, y0, "Tab styles: 3D, flat, up, down");
    const COLORREF face = RGB(192, 192, 192), shadow = RGB(128, 128, 128), highlight = RGB(255, 255, 255),
                   light = RGB(223, 223, 223), black = RGB(0, 0, 0);
    HBRUSH faceBrush = CreateSolidBrush(face);
    for (int style = 0; style < 4; ++style) {
        const TRect r = Bounds(x0, y0 + 18 + style * 24, 150, 21);
        const Integer L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
        FillRect(dc, r, faceBrush);
        switch (style) {
        case 0:
            Stroke(dc, highlight, {{L, B - 1}, {L, T}, {R - 2, T}});
            Stroke(dc, shadow, {{R - 2, B - 2}, {L - 1, B - 2}}, true);
            Stroke(dc, black, {{R - 1, T}, {R - 1, B - 1}, {L - 1, B - 1}});
            break;
        case 1:
            Stroke(dc, highlight, {{L, B - 2}, {L, T}, {R - 1, T}});
            Stroke(dc, shadow, {{R - 1, B - 2}, {L - 1, B - 2}}, true);
            Stroke(dc, shadow, {{R - 1, B - 1}, {L - 1, B - 1}});
            break;
        case 2:
            Stroke(dc, highlight, {{L, B - 1}, {L, T}, {R - 1, T}});
            Stroke(dc, shadow, {{R - 2, T + 1}, {R - 2, B - 2}, {L, B - 2}});
            Stroke(dc, black, {{R - 1, T}, {R - 1, B - 1}, {L - 1, B - 1}});
            Stroke(dc, light, {{L + 1, B - 3}, {L + 1, T + 1}, {R - 2, T + 1}});
            break;
        default:
            Stroke(dc, black, {{L, B - 1}, {L, T}, {R - 1, T}});
            Stroke(dc, light, {{R - 2, T + 1}, {R - 2, B - 2}, {L, B - 2}});
            Stroke(dc, highlight, {{R - 1, T}, {R - 1, B - 1}, {L - 1, B - 1}});
            Stroke(dc, shadow, {{L + 1, B - 3}, {L + 1, T + 1}, {R - 2, T + 1}});
            break;
        }
        TRect text = r;
        InflateRect(text, -2, -2);
        SetTextColor(dc, style == 2 ? RGB(0, 0, 128) : black);
        SetBkMode(dc, TRANSPARENT);
        DrawText(dc, style == 2 ? "&Hot tab" : "&Shortcuts", text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    DeleteObject(faceBrush);
}

void DrawTextSamples(HDC dc, Integer x0, Integer y0)
{
    Label(dc, x0, y0, "Text: prefixes, wrapping, opaque cells");
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    TRect r = Bounds(x0, y0 + 18, 200, 16);
    DrawText(dc, "&File   Fish && Chips   E&xit", r, DT_SINGLELINE);
    TRect n = Bounds(x0, y0 + 36, 200, 16);
    DrawText(dc, "&File (no prefix)", n, DT_SINGLELINE | DT_NOPREFIX);
    HBRUSH frame = CreateSolidBrush(RGB(255, 0, 0));
    TRect wrap = Bounds(x0, y0 + 56, 90, 60);
    FrameRect(dc, wrap, frame);
    DrawText(dc, "A caption that wraps at blanks, never inside", wrap, DT_WORDBREAK | DT_CENTER);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(0, 128, 128));
    SetTextColor(dc, RGB(255, 255, 255));
    TRect opaque = Bounds(x0 + 100, y0 + 56, 100, 60);
    FrameRect(dc, opaque, frame);
    DrawText(dc, "Opaque &cells on teal", opaque, DT_WORDBREAK | DT_CENTER);
    DeleteObject(frame);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    LOGFONT bold;
    bold.lfHeight = -11;
    bold.lfWeight = FW_BOLD;
    bold.lfFaceName = "MS Sans Serif";
    HFONT font = CreateFontIndirect(bold);
    HGDIOBJ old = SelectObject(dc, font);
    TextOut(dc, x0, y0 + 122, "Bold");
    SelectObject(dc, old);
    DeleteObject(font);
    LOGFONT under = bold;
    under.lfWeight = FW_NORMAL;
    under.lfUnderline = 1;
    under.lfItalic = 1;
    font = CreateFontIndirect(under);
    old = SelectObject(dc, font);
    TextOut(dc, x0 + 50, y0 + 122, "Italic underlined");
    SelectObject(dc, old);
    DeleteObject(font);
}

void DrawArrows(HDC dc, Integer x0, Integer y0)
{
    Label(dc, x0, y0, "Scroll arrows: normal, pushed, inactive (and x4)");
    const UINT states[] = {DFCS_SCROLLUP, DFCS_SCROLLUP | DFCS_PUSHED, DFCS_SCROLLUP | DFCS_INACTIVE,
                           DFCS_SCROLLDOWN, DFCS_SCROLLDOWN | DFCS_PUSHED, DFCS_SCROLLDOWN | DFCS_INACTIVE};
    for (int i = 0; i < 6; ++i) {
        const Integer x = x0 + i * 20, y = y0 + 20;
        DrawFrameControl(dc, Bounds(x, y, 16, 16), DFC_SCROLL, states[i]);
        StretchBlt(dc, x0 + i * 68, y0 + 44, 64, 64, dc, x, y, 16, 16, SRCCOPY);
    }
    TRect edges[] = {Bounds(x0 + 130, y0 + 18, 24, 20), Bounds(x0 + 160, y0 + 18, 24, 20),
                     Bounds(x0 + 190, y0 + 18, 24, 20)};
    DrawEdge(dc, edges[0], EDGE_RAISED, BF_RECT | BF_MIDDLE);
    DrawEdge(dc, edges[1], EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
    DrawEdge(dc, edges[2], EDGE_ETCHED, BF_RECT);
}

TEST(Sheet, PrimitivesArePaintedAndSavedForALook)
{
    test::TCanvasFixture f(430, 400, ColorRefToPixel(RGB(255, 255, 255)));
    HBRUSH back = CreateSolidBrush(RGB(236, 233, 216));
    FillRect(f.DC, Rect(0, 0, 430, 400), back);
    DeleteObject(back);
    DrawLines(f.DC, 8, 8);
    DrawTabs(f.DC, 230, 8);
    DrawTextSamples(f.DC, 8, 120);
    DrawArrows(f.DC, 8, 270);
    // A region fill, as the bar paints its background around the tabs.
    HRGN rgn = CreateRectRgn(230, 130, 420, 250);
    HRGN hole = CreateRectRgn(260, 150, 390, 230);
    CombineRgn(rgn, rgn, hole, RGN_XOR);
    HBRUSH shadow = CreateSolidBrush(RGB(128, 128, 128));
    FillRgn(f.DC, rgn, shadow);
    Label(f.DC, 270, 180, "FillRgn after XOR");
    DeleteObject(shadow);
    DeleteObject(rgn);
    DeleteObject(hole);

    EXPECT_GT(test::CountColor(*f.Surface, RGB(0, 0, 0)), 500);
    EXPECT_GT(test::CountColor(*f.Surface, RGB(0, 0, 128)), 20);
    EXPECT_EQ(test::At(*f.Surface, 300, 190) != RGB(128, 128, 128), true); // the hole is not filled
    const std::filesystem::path out = test::TestOutputDir() / "gfx-primitives.png";
    SavePngFile(out.string(), *f.Surface);
    EXPECT_TRUE(std::filesystem::file_size(out) > 1000);
}

} // namespace
} // namespace ld
