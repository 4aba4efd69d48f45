#include "platform/gfx/Text.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gfx/FontEngine.h"
#include "platform/gfx/Painting.h"
#include "platform/gfx/Surface.h"

namespace ld {

namespace {

constexpr Integer TabChars = 8;

TFontInstance& FontOf(HDC dc)
{
    HFONT font = dc->State.Font;
    if (font == nullptr)
        font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    return FontInstanceOf(font);
}

// Advances a pen position over one character; tabStop 0 leaves tabs as glyphs.
inline Integer Advance(TFontInstance& font, Integer x, unsigned char c, Integer tabStop)
{
    if (c == '\t' && tabStop > 0)
        return (x / tabStop + 1) * tabStop;
    return x + font.Advance(c);
}

Integer MeasureRun(TFontInstance& font, std::string_view s, Integer tabStop)
{
    if (tabStop == 0)
        return font.TextWidth(s.data(), s.size());
    Integer x = 0;
    for (const char c : s)
        x = Advance(font, x, static_cast<unsigned char>(c), tabStop);
    return x;
}

TRect Intersect(const TRect& a, const TRect& b)
{
    return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
}

struct TRunStyle {
    Integer Width = -1; // when already measured
    Integer TabStop = 0;
    const Integer* Dx = nullptr; // per-character advances
    const TRect* Clip = nullptr; // surface coordinates
    bool OpaqueCells = false;
    Integer Underlined = -1; // index of the character with the prefix underline
};

void FillClipped(HDC dc, TRect r, const TRect* clip, uint32_t pixel)
{
    if (clip != nullptr)
        r = Intersect(r, *clip);
    FillSurfaceRect(dc, r, pixel);
}

void DrawGlyph(HDC dc, const TFontInstance::TGlyph& g, Integer x, Integer y, const TRect* clip, uint32_t pixel)
{
    if (g.Runs.empty())
        return;
    TSurface& surface = *dc->Surface;
    const TRect glyphRect{x, y, x + g.Width, y + g.Height};
    const bool simple = dc->ClipIsRect();
    TRect box = Intersect(glyphRect, simple ? dc->ClipRect() : surface.Bounds());
    if (clip != nullptr)
        box = Intersect(box, *clip);
    if (box.Right <= box.Left || box.Bottom <= box.Top)
        return;
    const bool whole = box == glyphRect && simple;
    for (const TFontInstance::TGlyph::TRun& run : g.Runs) {
        const Integer py = y + run.Y;
        Integer x0 = x + run.X0, x1 = x + run.X1;
        if (!whole) {
            if (py < box.Top || py >= box.Bottom)
                continue;
            x0 = std::max(x0, box.Left);
            x1 = std::min(x1, box.Right);
        }
        uint32_t* row = surface.Row(py);
        if (simple) {
            for (Integer px = x0; px < x1; ++px)
                row[px] = pixel;
            continue;
        }
        for (Integer px = x0; px < x1; ++px)
            if (dc->Visible_(px, py))
                row[px] = pixel;
    }
}

// Draws one line with its cell's top-left at (x, y) in surface coordinates;
// returns its width.
Integer RenderRun(HDC dc, TFontInstance& font, Integer x, Integer y, std::string_view s, const TRunStyle& style)
{
    Integer width = style.Width;
    if (width < 0 && style.Dx != nullptr) {
        width = 0;
        for (size_t i = 0; i < s.size(); ++i)
            width += style.Dx[i];
    } else if (width < 0)
        width = MeasureRun(font, s, style.TabStop);
    if (dc->Surface == nullptr)
        return width;
    if (style.OpaqueCells)
        FillClipped(dc, {x, y, x + width, y + font.Height}, style.Clip, ColorRefToPixel(dc->State.BkColor));
    const uint32_t ink = ColorRefToPixel(dc->State.TextColor);
    const Integer baseline = y + font.Ascent;
    Integer pen = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        const Integer next = style.Dx != nullptr ? pen + style.Dx[i] : Advance(font, pen, c, style.TabStop);
        if (!(c == '\t' && style.TabStop > 0)) {
            const TFontInstance::TGlyph& g = font.Glyph(c);
            DrawGlyph(dc, g, x + pen + g.Left, baseline - g.Top, style.Clip, ink);
        }
        if (Integer(i) == style.Underlined)
            FillClipped(dc, {x + pen, baseline + font.UnderlinePosition, x + next, baseline + font.UnderlinePosition + 1},
                        style.Clip, ink);
        pen = next;
    }
    if (font.Underline)
        FillClipped(dc,
                    {x, baseline + font.UnderlinePosition, x + width,
                     baseline + font.UnderlinePosition + font.UnderlineThickness},
                    style.Clip, ink);
    if (font.StrikeOut)
        FillClipped(dc,
                    {x, baseline - font.StrikeOutPosition, x + width,
                     baseline - font.StrikeOutPosition + font.UnderlineThickness},
                    style.Clip, ink);
    return width;
}

// The text as shown: "&&" becomes "&", "&x" becomes x marked for underlining
// (the last such mark wins), a final lone "&" is dropped.
std::string StripPrefixes(std::string_view text, Integer& underlined)
{
    std::string shown;
    shown.reserve(text.size());
    underlined = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            shown += text[i];
            continue;
        }
        if (i + 1 >= text.size())
            break;
        ++i;
        if (text[i] != '&')
            underlined = Integer(shown.size());
        shown += text[i];
    }
    return shown;
}

struct TLine {
    size_t Start = 0;
    size_t Length = 0;
    Integer Width = 0;
};

void BreakWords(TFontInstance& font, std::string_view text, size_t offset, Integer maxWidth, Integer tabStop,
                std::vector<TLine>& lines)
{
    size_t p = 0;
    const size_t n = text.size();
    while (true) {
        const size_t start = p;
        Integer x = 0;
        size_t runStart = 0, lastBlank = std::string_view::npos;
        Integer widthAtRun = 0;
        bool seenWord = false, broke = false;
        for (size_t i = start; i < n; ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            const Integer next = Advance(font, x, c, tabStop);
            if (c != ' ' && next > maxWidth && lastBlank != std::string_view::npos) {
                lines.push_back({offset + start, runStart - start, widthAtRun});
                p = lastBlank + 1;
                broke = true;
                break;
            }
            if (c == ' ') {
                if (seenWord) {
                    if (i == start || text[i - 1] != ' ') {
                        runStart = i;
                        widthAtRun = x;
                    }
                    lastBlank = i;
                }
            } else
                seenWord = true;
            x = next;
        }
        if (!broke) {
            lines.push_back({offset + start, n - start, x});
            return;
        }
    }
}

// Fills lines with the lines of text and their widths.
void SplitLines(TFontInstance& font, std::string_view text, UINT format, Integer maxWidth, Integer tabStop,
                std::vector<TLine>& lines)
{
    lines.clear();
    if (format & DT_SINGLELINE) {
        lines.push_back({0, text.size(), MeasureRun(font, text, tabStop)});
        return;
    }
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        const std::string_view hard = text.substr(start, end - start);
        if (format & DT_WORDBREAK)
            BreakWords(font, hard, start, maxWidth, tabStop, lines);
        else
            lines.push_back({start, hard.size(), MeasureRun(font, hard, tabStop)});
        if (end >= text.size())
            break;
        end += (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
        if (end >= text.size())
            break; // a final line break starts no new line
        start = end;
    }
}

} // namespace

BOOL GetTextMetrics(HDC dc, TEXTMETRIC& metrics)
{
    if (!IsDC(dc))
        return 0;
    TFontInstance& font = FontOf(dc);
    metrics = {};
    metrics.tmHeight = font.Height;
    metrics.tmAscent = font.Ascent;
    metrics.tmDescent = font.Descent;
    metrics.tmInternalLeading = font.InternalLeading;
    metrics.tmExternalLeading = font.ExternalLeading;
    metrics.tmAveCharWidth = font.AveCharWidth;
    metrics.tmMaxCharWidth = font.MaxCharWidth;
    metrics.tmWeight = font.Weight;
    metrics.tmItalic = font.Italic;
    metrics.tmUnderlined = font.Underline;
    metrics.tmStruckOut = font.StrikeOut;
    metrics.tmPitchAndFamily = VARIABLE_PITCH;
    return 1;
}

BOOL GetTextExtentPoint32(HDC dc, std::string_view text, TSize& size)
{
    if (!IsDC(dc))
        return 0;
    TFontInstance& font = FontOf(dc);
    size = {font.TextWidth(text.data(), text.size()), font.Height};
    return 1;
}

std::string GetTextFace(HDC dc)
{
    return IsDC(dc) ? FontOf(dc).FaceName : std::string();
}

BOOL ExtTextOut(HDC dc, Integer x, Integer y, UINT options, const TRect* rect, std::string_view text,
                const Integer* dx)
{
    if (!IsDC(dc))
        return 0;
    TFontInstance& font = FontOf(dc);
    const UINT align = dc->State.TextAlign;
    if (align & TA_UPDATECP) {
        x = dc->State.Position.X;
        y = dc->State.Position.Y;
    }
    Integer width = 0;
    if (dx != nullptr)
        for (size_t i = 0; i < text.size(); ++i)
            width += dx[i];
    else
        width = font.TextWidth(text.data(), text.size());
    Integer left = x;
    if ((align & TA_CENTER) == TA_CENTER)
        left = x - width / 2;
    else if (align & TA_RIGHT)
        left = x - width;
    Integer top = y;
    if ((align & TA_BASELINE) == TA_BASELINE)
        top = y - font.Ascent;
    else if (align & TA_BOTTOM)
        top = y - font.Height;
    // Centred text leaves the current position where it was.
    if ((align & TA_UPDATECP) && (align & TA_CENTER) != TA_CENTER)
        dc->State.Position.X = (align & TA_RIGHT) ? x - width : x + width;

    TRect clip;
    TRunStyle style;
    style.Dx = dx;
    if (rect != nullptr) {
        const TRect r = dc->ToSurface(*rect);
        if (options & ETO_OPAQUE)
            FillSurfaceRect(dc, r, ColorRefToPixel(dc->State.BkColor));
        if (options & ETO_CLIPPED) {
            clip = r;
            style.Clip = &clip;
        }
    }
    style.OpaqueCells = dc->State.BkMode == OPAQUE;
    const TPoint at = dc->ToSurface(TPoint{left, top});
    RenderRun(dc, font, at.X, at.Y, text, style);
    return 1;
}

BOOL TextOut(HDC dc, Integer x, Integer y, std::string_view text)
{
    return ExtTextOut(dc, x, y, 0, nullptr, text);
}

Integer DrawText(HDC dc, std::string_view text, TRect& rect, UINT format)
{
    if (!IsDC(dc))
        return 0;
    TFontInstance& font = FontOf(dc);
    const Integer lineHeight = font.Height + ((format & DT_EXTERNALLEADING) ? font.ExternalLeading : 0);
    const Integer tabStop = (format & DT_EXPANDTABS) ? TabChars * std::max(1, font.AveCharWidth) : 0;

    if (text.empty()) {
        if (format & DT_CALCRECT) {
            rect.Right = rect.Left;
            rect.Bottom = rect.Top + ((format & DT_SINGLELINE) ? lineHeight : 0);
        }
        return lineHeight;
    }

    Integer underlined = -1;
    std::string stripped;
    std::string_view shown = text;
    if (!(format & DT_NOPREFIX)) {
        stripped = StripPrefixes(text, underlined);
        shown = stripped;
    }
    const Integer rectWidth = TDeviceContext::Limit(int64_t(rect.Right) - rect.Left);
    const Integer rectHeight = TDeviceContext::Limit(int64_t(rect.Bottom) - rect.Top);
    // Text is drawn from one thread; one list of lines serves every call.
    static std::vector<TLine> lines;
    SplitLines(font, shown, format, rectWidth, tabStop, lines);
    const Integer total = Integer(lines.size()) * lineHeight;

    if (format & DT_CALCRECT) {
        Integer widest = 0;
        for (const TLine& line : lines)
            widest = std::max(widest, line.Width);
        rect.Right = TDeviceContext::Limit(int64_t(rect.Left) + widest);
        rect.Bottom = TDeviceContext::Limit(int64_t(rect.Top) + total);
        return total;
    }

    Integer y = rect.Top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = rect.Top + (rectHeight - lineHeight) / 2;
        else if (format & DT_BOTTOM)
            y = rect.Bottom - lineHeight;
    }
    TRect clip = dc->ToSurface(rect);
    TRunStyle style;
    style.TabStop = tabStop;
    style.Clip = (format & DT_NOCLIP) ? nullptr : &clip;
    style.OpaqueCells = dc->State.BkMode == OPAQUE;
    const Integer start = y;
    for (const TLine& line : lines) {
        const std::string_view run = shown.substr(line.Start, line.Length);
        const Integer width = line.Width;
        Integer x = rect.Left;
        if (format & DT_CENTER)
            x = rect.Left + (rectWidth - width) / 2;
        else if (format & DT_RIGHT)
            x = rect.Right - width;
        style.Underlined = (underlined >= Integer(line.Start) && underlined < Integer(line.Start + line.Length))
                               ? underlined - Integer(line.Start)
                               : -1;
        const TPoint at = dc->ToSurface(TPoint{x, y});
        style.Width = width;
        RenderRun(dc, font, at.X, at.Y, run, style);
        y += lineHeight;
    }
    return (start - rect.Top) + total;
}

Integer DrawText(HDC dc, const char* text, Integer count, TRect* rect, UINT format)
{
    if (text == nullptr || rect == nullptr)
        return 0;
    const size_t length = count < 0 ? std::strlen(text) : size_t(count);
    return DrawText(dc, std::string_view(text, length), *rect, format);
}

} // namespace ld
