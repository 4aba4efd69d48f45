// Fonts through FreeType: a logical font maps to a font file (FontFaces.h) and
// a size, a bitmap strike or an outline rendered monochrome for crisp classic
// pixels. Each distinct font is opened once, and each of its 256 character
// glyphs is rendered once (the glyph cache), so drawing text only copies bits.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Types.h"
#include "platform/gfx/FontFaces.h"
#include "platform/gfx/GdiObjects.h"

namespace ld {

class TFontInstance {
public:
    struct TGlyph {
        bool Loaded = false;
        Integer Left = 0;    // from the pen position to the first column
        Integer Top = 0;     // from the baseline up to the first row
        Integer Width = 0;
        Integer Height = 0;
        Integer Advance = 0;
        std::vector<uint8_t> Bits; // Width x Height, 1 where the glyph is set
        // The set pixels as horizontal runs, which is how they are drawn.
        struct TRun {
            int16_t Y, X0, X1; // X1 left out
        };
        std::vector<TRun> Runs;
    };

    // The shared instance for a logical font; throws EInvalidGraphic when no
    // font file can be opened.
    static std::shared_ptr<TFontInstance> Get(const LOGFONT& font);
    ~TFontInstance();

    Integer Ascent = 0;
    Integer Descent = 0;
    Integer Height = 0; // Ascent + Descent
    Integer InternalLeading = 0;
    Integer ExternalLeading = 0;
    Integer AveCharWidth = 0;
    Integer MaxCharWidth = 0;
    Integer PixelSize = 0; // the em
    Integer Weight = FW_NORMAL;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    Integer UnderlinePosition = 1; // below the baseline
    Integer UnderlineThickness = 1;
    Integer StrikeOutPosition = 3; // above the baseline
    std::string FileName;
    std::string FaceName;

    const TGlyph& Glyph(unsigned char c)
    {
        TGlyph& g = FGlyphs[c];
        if (!g.Loaded)
            Load(c, g);
        return g;
    }
    Integer Advance(unsigned char c) { return Glyph(c).Advance; }
    Integer TextWidth(const char* text, size_t count);

private:
    static std::shared_ptr<TFontInstance> Find(const LOGFONT& font);
    TFontInstance() = default;
    void UseStrike(const TFaceFile& file);
    void UseOutline(const TFaceFile& file, Integer logicalHeight);
    struct TFace;
    std::unique_ptr<TFace> FFace;
    bool FSymbolCodes = false;
    bool FEmbolden = false;
    bool FOblique = false;
    std::array<TGlyph, 256> FGlyphs;
    void Load(unsigned char c, TGlyph& glyph);
};

// The character a byte of an 8-bit ANSI string stands for (Windows-1252).
uint32_t AnsiToUnicode(unsigned char c);

// The instance of a font object, made on first use.
TFontInstance& FontInstanceOf(HFONT font);

} // namespace ld
