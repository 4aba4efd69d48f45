#include "platform/gfx/Colors.h"

#include <cctype>
#include <cstdio>
#include <stdexcept>

namespace ld {

namespace {

// The classic scheme, indexed by COLOR_xxx.
constexpr COLORREF ClassicScheme[SystemColorCount] = {
    RGB(192, 192, 192), // scroll bar
    RGB(0, 128, 128),   // desktop
    RGB(0, 0, 128),     // active caption
    RGB(128, 128, 128), // inactive caption
    RGB(192, 192, 192), // menu
    RGB(255, 255, 255), // window
    RGB(0, 0, 0),       // window frame
    RGB(0, 0, 0),       // menu text
    RGB(0, 0, 0),       // window text
    RGB(255, 255, 255), // caption text
    RGB(192, 192, 192), // active border
    RGB(192, 192, 192), // inactive border
    RGB(128, 128, 128), // application work space
    RGB(0, 0, 128),     // highlight
    RGB(255, 255, 255), // highlight text
    RGB(192, 192, 192), // button face
    RGB(128, 128, 128), // button shadow
    RGB(128, 128, 128), // grey text
    RGB(0, 0, 0),       // button text
    RGB(192, 192, 192), // inactive caption text
    RGB(255, 255, 255), // button highlight
    RGB(0, 0, 0),       // 3D dark shadow
    RGB(192, 192, 192), // 3D light
    RGB(0, 0, 0),       // info text
    RGB(255, 255, 225), // info background
};

std::string Lower(const std::string& s)
{
    std::string r = s;
    for (char& c : r)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return r;
}

} // namespace

COLORREF GetSysColor(Integer index)
{
    if (index < 0 || index >= SystemColorCount)
        return 0;
    return ClassicScheme[index];
}

COLORREF ColorToRGB(TColor color)
{
    if (color < 0)
        return GetSysColor(color & 0xFF);
    return COLORREF(color) & 0x00FFFFFFu;
}

TColor PaletteRGB(Byte r, Byte g, Byte b)
{
    return TColor(PALETTERGB(r, g, b));
}

const std::vector<TColorIdent>& ColorIdents()
{
    static const std::vector<TColorIdent> idents = {
        {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
        {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
        {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
        {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
        {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"},
        {clActiveCaption, "clActiveCaption"}, {clInactiveCaption, "clInactiveCaption"},
        {clMenu, "clMenu"}, {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"},
        {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"}, {clCaptionText, "clCaptionText"},
        {clActiveBorder, "clActiveBorder"}, {clInactiveBorder, "clInactiveBorder"},
        {clAppWorkSpace, "clAppWorkSpace"}, {clHighlight, "clHighlight"},
        {clHighlightText, "clHighlightText"}, {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"},
        {clGrayText, "clGrayText"}, {clBtnText, "clBtnText"},
        {clInactiveCaptionText, "clInactiveCaptionText"}, {clBtnHighlight, "clBtnHighlight"},
        {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"},
        {clInfoBk, "clInfoBk"}, {clNone, "clNone"}, {clDefault, "clDefault"},
    };
    return idents;
}

bool ColorToIdent(Integer color, std::string& ident)
{
    for (const TColorIdent& entry : ColorIdents())
        if (entry.Value == color) {
            ident = entry.Name;
            return true;
        }
    return false;
}

bool IdentToColor(const std::string& ident, Integer& color)
{
    const std::string wanted = Lower(ident);
    for (const TColorIdent& entry : ColorIdents())
        if (Lower(entry.Name) == wanted) {
            color = entry.Value;
            return true;
        }
    return false;
}

std::string ColorToString(TColor color)
{
    std::string ident;
    if (ColorToIdent(color, ident))
        return ident;
    char text[16];
    std::snprintf(text, sizeof text, "$%.8X", static_cast<unsigned>(color));
    return text;
}

TColor StringToColor(const std::string& text)
{
    Integer color = 0;
    if (IdentToColor(text, color))
        return color;
    if (text.empty())
        throw std::invalid_argument("'' is not a valid color value");
    size_t pos = 0;
    bool negative = false;
    if (text[pos] == '-' || text[pos] == '+')
        negative = text[pos++] == '-';
    int base = 10;
    if (pos < text.size() && text[pos] == '$') {
        base = 16;
        ++pos;
    } else if (pos + 1 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        base = 16;
        pos += 2;
    }
    if (pos >= text.size())
        throw std::invalid_argument("'" + text + "' is not a valid color value");
    uint64_t value = 0;
    for (; pos < text.size(); ++pos) {
        const int c = std::tolower(static_cast<unsigned char>(text[pos]));
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        if (digit < 0)
            throw std::invalid_argument("'" + text + "' is not a valid color value");
        value = value * base + digit;
        if (value > 0xFFFFFFFFull)
            throw std::invalid_argument("'" + text + "' is not a valid color value");
    }
    if (base == 10 && !negative && value > 0x7FFFFFFFull)
        throw std::invalid_argument("'" + text + "' is not a valid color value");
    const uint32_t bits = static_cast<uint32_t>(value);
    return negative ? TColor(-int64_t(bits)) : TColor(bits);
}

} // namespace ld
