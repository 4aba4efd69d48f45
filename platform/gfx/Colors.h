// Colours: the class library's TColor and the window system's COLORREF and
// system colours, with the classic scheme of a desktop without themes.
//
// A TColor is either a system colour (high byte $80, the low byte a COLOR_xxx
// index), a palette-relative colour (high byte $02, which on our 32-bit surfaces
// is just its RGB part) or a plain RGB value $00BBGGRR.
#pragma once

#include <string>
#include <vector>

#include "platform/core/Types.h"

namespace ld {

using TColor = int32_t;
using COLORREF = uint32_t;

constexpr COLORREF RGB(Byte r, Byte g, Byte b)
{
    return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16);
}
constexpr Byte GetRValue(COLORREF c) { return Byte(c & 0xFF); }
constexpr Byte GetGValue(COLORREF c) { return Byte((c >> 8) & 0xFF); }
constexpr Byte GetBValue(COLORREF c) { return Byte((c >> 16) & 0xFF); }
constexpr COLORREF PALETTERGB(Byte r, Byte g, Byte b) { return 0x02000000u | RGB(r, g, b); }

// System colour indexes.
enum : Integer {
    COLOR_SCROLLBAR = 0,
    COLOR_BACKGROUND = 1,
    COLOR_ACTIVECAPTION = 2,
    COLOR_INACTIVECAPTION = 3,
    COLOR_MENU = 4,
    COLOR_WINDOW = 5,
    COLOR_WINDOWFRAME = 6,
    COLOR_MENUTEXT = 7,
    COLOR_WINDOWTEXT = 8,
    COLOR_CAPTIONTEXT = 9,
    COLOR_ACTIVEBORDER = 10,
    COLOR_INACTIVEBORDER = 11,
    COLOR_APPWORKSPACE = 12,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_INACTIVECAPTIONTEXT = 19,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
    COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24,
    COLOR_3DFACE = COLOR_BTNFACE,
    COLOR_3DSHADOW = COLOR_BTNSHADOW,
    COLOR_3DHILIGHT = COLOR_BTNHIGHLIGHT,
    COLOR_3DHIGHLIGHT = COLOR_BTNHIGHLIGHT,
    COLOR_BTNHILIGHT = COLOR_BTNHIGHLIGHT,
    COLOR_DESKTOP = COLOR_BACKGROUND,
};
constexpr Integer SystemColorCount = 25;

// The RGB value of a system colour; an unknown index gives black.
COLORREF GetSysColor(Integer index);

constexpr TColor clSystemColor = TColor(0x80000000u);

constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
constexpr TColor clBackground = clSystemColor | COLOR_BACKGROUND;
constexpr TColor clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION;
constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowFrame = clSystemColor | COLOR_WINDOWFRAME;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = clSystemColor | COLOR_CAPTIONTEXT;
constexpr TColor clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER;
constexpr TColor clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER;
constexpr TColor clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clInactiveCaptionText = clSystemColor | COLOR_INACTIVECAPTIONTEXT;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | COLOR_3DLIGHT;
constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The RGB value a colour stands for: system colours are looked up, the
// palette-relative flag is dropped, plain values pass through.
COLORREF ColorToRGB(TColor color);
TColor PaletteRGB(Byte r, Byte g, Byte b);

// The clXxx names, as the form files store colours.
struct TColorIdent {
    TColor Value;
    const char* Name;
};
const std::vector<TColorIdent>& ColorIdents();
bool ColorToIdent(Integer color, std::string& ident);
bool IdentToColor(const std::string& ident, Integer& color);
// A name if there is one, else "$00BBGGRR" in hexadecimal.
std::string ColorToString(TColor color);
// Accepts a clXxx name (any case) or a number in decimal or $hex; throws
// EConvertError-like std::invalid_argument otherwise.
TColor StringToColor(const std::string& text);

// Surfaces hold 0xAARRGGBB; drawing always writes opaque pixels.
constexpr uint32_t ColorRefToPixel(COLORREF c)
{
    return 0xFF000000u | (COLORREF(GetRValue(c)) << 16) | (COLORREF(GetGValue(c)) << 8) | GetBValue(c);
}
constexpr COLORREF PixelToColorRef(uint32_t p)
{
    return RGB(Byte((p >> 16) & 0xFF), Byte((p >> 8) & 0xFF), Byte(p & 0xFF));
}

} // namespace ld
