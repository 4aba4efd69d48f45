// Text output with the selected font: TextOut, ExtTextOut, measuring, and
// DrawText with its formatting flags. Strings are 8-bit ANSI bytes.
#pragma once

#include <string>
#include <string_view>

#include "platform/gfx/DeviceContext.h"

namespace ld {

struct TEXTMETRIC {
    Integer tmHeight = 0;
    Integer tmAscent = 0;
    Integer tmDescent = 0;
    Integer tmInternalLeading = 0;
    Integer tmExternalLeading = 0;
    Integer tmAveCharWidth = 0;
    Integer tmMaxCharWidth = 0;
    Integer tmWeight = 0;
    Integer tmOverhang = 0;
    Byte tmFirstChar = 32;
    Byte tmLastChar = 255;
    Byte tmDefaultChar = '?';
    Byte tmBreakChar = ' ';
    Byte tmItalic = 0;
    Byte tmUnderlined = 0;
    Byte tmStruckOut = 0;
    Byte tmPitchAndFamily = 0;
    Byte tmCharSet = 0;
};

BOOL GetTextMetrics(HDC dc, TEXTMETRIC& metrics);
// The advance width of the characters and the font's height; no tab expansion.
BOOL GetTextExtentPoint32(HDC dc, std::string_view text, TSize& size);
std::string GetTextFace(HDC dc);

// In the background mode OPAQUE each character cell is filled with the
// background colour first.
BOOL TextOut(HDC dc, Integer x, Integer y, std::string_view text);

enum : UINT { ETO_OPAQUE = 0x0002, ETO_CLIPPED = 0x0004 };
// ETO_OPAQUE fills rect with the background colour, whatever the mode;
// ETO_CLIPPED keeps the text inside rect. dx, when given, holds the advance of
// each character.
BOOL ExtTextOut(HDC dc, Integer x, Integer y, UINT options, const TRect* rect, std::string_view text,
                const Integer* dx = nullptr);

enum : UINT {
    DT_TOP = 0x0000,
    DT_LEFT = 0x0000,
    DT_CENTER = 0x0001,
    DT_RIGHT = 0x0002,
    DT_VCENTER = 0x0004,
    DT_BOTTOM = 0x0008,
    DT_WORDBREAK = 0x0010,
    DT_SINGLELINE = 0x0020,
    DT_EXPANDTABS = 0x0040,
    DT_TABSTOP = 0x0080,
    DT_NOCLIP = 0x0100,
    DT_EXTERNALLEADING = 0x0200,
    DT_CALCRECT = 0x0400,
    DT_NOPREFIX = 0x0800,
};

// Draws text formatted into rect and returns the height of the text.
//  - Without DT_NOPREFIX "&x" shows x underlined and "&&" one ampersand; with
//    it every ampersand is an ordinary character, also when measuring.
//  - Lines break at CR, LF and CR LF unless DT_SINGLELINE; with DT_WORDBREAK
//    also at blanks where a line would be wider than rect, never inside a
//    word: a word wider than rect stands on a line of its own and overflows.
//  - DT_VCENTER and DT_BOTTOM place a single line (DT_SINGLELINE) only.
//  - DT_CALCRECT draws nothing and changes only rect's right and bottom, to
//    the widest line and the height of all lines.
//  - Drawing is clipped to rect unless DT_NOCLIP.
//  - DT_EXPANDTABS moves a tab to the next multiple of eight average
//    character widths from the line's start.
Integer DrawText(HDC dc, std::string_view text, TRect& rect, UINT format);
// The form with a count, where -1 means up to the first zero byte.
Integer DrawText(HDC dc, const char* text, Integer count, TRect* rect, UINT format);

} // namespace ld
