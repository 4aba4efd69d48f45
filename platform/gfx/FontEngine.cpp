#include "platform/gfx/FontEngine.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include "platform/gfx/FontFaces.h"
#include "platform/gfx/GfxErrors.h"

namespace ld {

namespace {

constexpr Integer MaxPixelSize = 1000;

FT_Library Library()
{
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0)
            throw EInvalidGraphic("The font rasteriser cannot start");
        return lib;
    }();
    return library;
}

using TFontKey = std::tuple<std::string, Integer, bool, bool, Integer, bool>;

std::map<TFontKey, std::shared_ptr<TFontInstance>>& Instances()
{
    static auto* instances = new std::map<TFontKey, std::shared_ptr<TFontInstance>>;
    return *instances;
}

// The cell of an outline face in font units: the host takes it from the
// face's Windows ascent and descent where it has them.
struct TCellUnits {
    double Ascent, Descent;
};

TCellUnits CellUnitsOf(FT_Face face)
{
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->usWinAscent + os2->usWinDescent > 0)
        return {double(os2->usWinAscent), double(os2->usWinDescent)};
    return {double(face->ascender), double(-face->descender)};
}

Integer Round26_6(FT_Pos v)
{
    return Integer((v + 32) >> 6);
}

} // namespace

struct TFontInstance::TFace {
    FT_Face Face = nullptr;
    ~TFace()
    {
        if (Face != nullptr)
            FT_Done_Face(Face);
    }
};

uint32_t AnsiToUnicode(unsigned char c)
{
    static const uint16_t cp1252[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    if (c >= 0x80 && c < 0xA0)
        return cp1252[c - 0x80];
    return c;
}

namespace {

// Every new font handle asks for its instance; a paint that makes a bitmap,
// and with it a font handle, asks for the same font each time. What decides
// the instance is remembered with it, so a repeated request skips the file
// name and the map.
struct TLastRequest {
    std::string FaceName;
    Integer Height = 0, Weight = 0;
    bool Italic = false, Underline = false, StrikeOut = false;
    std::shared_ptr<TFontInstance> Instance;

    bool Matches(const LOGFONT& font) const
    {
        return Instance && Height == font.lfHeight && Weight == font.lfWeight && Italic == (font.lfItalic != 0) &&
               Underline == (font.lfUnderline != 0) && StrikeOut == (font.lfStrikeOut != 0) &&
               FaceName == font.lfFaceName;
    }
};

TLastRequest& LastRequest()
{
    static auto* last = new TLastRequest;
    return *last;
}

} // namespace

std::shared_ptr<TFontInstance> TFontInstance::Get(const LOGFONT& font)
{
    TLastRequest& last = LastRequest();
    if (last.Matches(font))
        return last.Instance;
    std::shared_ptr<TFontInstance> instance = Find(font);
    last = {font.lfFaceName,         font.lfHeight,           font.lfWeight, font.lfItalic != 0,
            font.lfUnderline != 0, font.lfStrikeOut != 0, instance};
    return instance;
}

std::shared_ptr<TFontInstance> TFontInstance::Find(const LOGFONT& font)
{
    const bool bold = font.lfWeight >= 600;
    const bool italic = font.lfItalic != 0;
    const TFaceFile file = FaceFileFor(font.lfFaceName, font.lfHeight, bold, italic);
    const TFontKey key{file.Path, font.lfHeight, font.lfUnderline != 0, font.lfStrikeOut != 0, font.lfWeight, italic};
    auto& instances = Instances();
    if (const auto it = instances.find(key); it != instances.end())
        return it->second;

    std::shared_ptr<TFontInstance> instance(new TFontInstance);
    instance->FFace = std::make_unique<TFace>();
    if (FT_New_Face(Library(), file.Path.c_str(), 0, &instance->FFace->Face) != 0)
        throw EInvalidGraphic("Cannot open the font file " + file.Path);
    FT_Face face = instance->FFace->Face;
    // A symbol face (Marlett) keeps its characters at U+F000 plus their byte.
    if (!face->charmap && FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) == 0)
        instance->FSymbolCodes = true;
    if (file.Strike > 0)
        instance->UseStrike(file);
    else
        instance->UseOutline(file, font.lfHeight);
    instance->FileName = file.Path;
    instance->FaceName = font.lfFaceName.empty() ? "MS Sans Serif" : font.lfFaceName;
    instance->Weight = bold ? FW_BOLD : FW_NORMAL;
    instance->Italic = italic;
    instance->Underline = font.lfUnderline != 0;
    instance->StrikeOut = font.lfStrikeOut != 0;
    instance->StrikeOutPosition = std::max(1, Integer(std::lround(instance->Ascent * 0.3)));
    instance->AveCharWidth = instance->Advance('x');
    Integer widest = 0;
    for (int c = 32; c < 256; ++c)
        widest = std::max(widest, instance->Advance(static_cast<unsigned char>(c)));
    instance->MaxCharWidth = widest;
    instances.emplace(key, instance);
    return instance;
}

// A bitmap face draws with the strike of the cell height chosen; its
// character height is the cell without the internal leading.
void TFontInstance::UseStrike(const TFaceFile& file)
{
    FT_Face face = FFace->Face;
    Integer index = -1;
    for (Integer i = 0; i < face->num_fixed_sizes; ++i)
        if (face->available_sizes[i].height == file.Strike)
            index = i;
    if (index < 0 || FT_Select_Size(face, index) != 0)
        throw EInvalidGraphic("The font file " + file.Path + " has no strike of " + std::to_string(file.Strike) +
                              " pixels");
    Ascent = Integer(face->size->metrics.ascender >> 6);
    Descent = file.Strike - Ascent;
    Height = file.Strike;
    InternalLeading = file.InternalLeading;
    PixelSize = Height - InternalLeading;
    // The files' underline metrics are not the bitmap fonts' own: a strike
    // underlines with one row, a row below the baseline.
    UnderlinePosition = 1;
    UnderlineThickness = 1;
    FEmbolden = file.Embolden;
}

// An outline face at a character height, or at a cell height the face's
// ascent and descent share.
void TFontInstance::UseOutline(const TFaceFile& file, Integer logicalHeight)
{
    FT_Face face = FFace->Face;
    const double units = face->units_per_EM > 0 ? face->units_per_EM : 2048;
    const TCellUnits cell = CellUnitsOf(face);
    const double cellUnits = std::max(1.0, cell.Ascent + cell.Descent);
    Integer em = DefaultCharacterHeight;
    if (logicalHeight < 0)
        em = -logicalHeight;
    else if (logicalHeight > 0)
        em = Integer(std::lround(logicalHeight * units / cellUnits));
    em = std::clamp<Integer>(em, 1, MaxPixelSize);
    if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(em)) != 0)
        throw EInvalidGraphic("Cannot size the font " + file.Path);
    PixelSize = em;
    Ascent = Integer(std::lround(cell.Ascent * em / units));
    Descent = Integer(std::lround(cell.Descent * em / units));
    if (logicalHeight > 0) // the cell height asked for is the height given
        Descent = std::max(0, logicalHeight - Ascent);
    Height = Ascent + Descent;
    InternalLeading = std::max(0, Height - em);
    UnderlinePosition = std::max(1, Integer(std::lround(-face->underline_position * em / units)));
    UnderlineThickness = std::max(1, Integer(std::lround(face->underline_thickness * em / units)));
    FEmbolden = file.Embolden;
    if (file.Oblique) {
        // The slant of a synthesized italic: about 12 degrees.
        FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};
        FT_Set_Transform(face, &shear, nullptr);
        FOblique = true;
    }
}

TFontInstance::~TFontInstance() = default;

void TFontInstance::Load(unsigned char c, TGlyph& glyph)
{
    glyph = {};
    glyph.Loaded = true;
    FT_Face face = FFace->Face;
    const uint32_t code = FSymbolCodes ? 0xF000 + c : AnsiToUnicode(c);
    // A slanted glyph comes from the outline: an embedded bitmap would stay upright.
    const FT_Int32 flags =
        FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME | (FOblique ? FT_LOAD_NO_BITMAP : 0);
    if (FT_Load_Char(face, code, flags) != 0)
        return;
    const FT_GlyphSlot slot = face->glyph;
    glyph.Advance = Round26_6(slot->advance.x) + (FEmbolden ? 1 : 0);
    const FT_Bitmap& bitmap = slot->bitmap;
    if ((bitmap.pixel_mode != FT_PIXEL_MODE_MONO && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) || bitmap.width == 0 ||
        bitmap.rows == 0)
        return;
    const Integer extra = FEmbolden ? 1 : 0;
    glyph.Left = slot->bitmap_left;
    glyph.Top = slot->bitmap_top;
    glyph.Width = Integer(bitmap.width) + extra;
    glyph.Height = Integer(bitmap.rows);
    glyph.Bits.assign(size_t(glyph.Width) * size_t(glyph.Height), 0);
    for (Integer y = 0; y < glyph.Height; ++y) {
        const unsigned char* row = bitmap.buffer + ptrdiff_t(y) * bitmap.pitch;
        uint8_t* bits = glyph.Bits.data() + size_t(y) * size_t(glyph.Width);
        for (Integer x = 0; x < Integer(bitmap.width); ++x) {
            const bool set = bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? ((row[x >> 3] >> (7 - (x & 7))) & 1) != 0
                                                                     : row[x] >= 128;
            // A synthesized bold sets each pixel and the one to its right, as the host does.
            if (set)
                for (Integer dx = 0; dx <= extra; ++dx)
                    bits[x + dx] = 1;
        }
    }
    for (Integer y = 0; y < glyph.Height; ++y) {
        const uint8_t* bits = glyph.Bits.data() + size_t(y) * size_t(glyph.Width);
        for (Integer x = 0; x < glyph.Width;) {
            if (!bits[x]) {
                ++x;
                continue;
            }
            const Integer start = x;
            while (x < glyph.Width && bits[x])
                ++x;
            glyph.Runs.push_back({int16_t(y), int16_t(start), int16_t(x)});
        }
    }
}

Integer TFontInstance::TextWidth(const char* text, size_t count)
{
    Integer width = 0;
    for (size_t i = 0; i < count; ++i)
        width += Advance(static_cast<unsigned char>(text[i]));
    return width;
}

TFontInstance& FontInstanceOf(HFONT font)
{
    if (!font->Instance)
        font->Instance = TFontInstance::Get(font->Font);
    return *font->Instance;
}

} // namespace ld
