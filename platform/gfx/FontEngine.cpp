#include "platform/gfx/FontEngine.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <tuple>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "platform/gfx/GfxErrors.h"

namespace ld {

namespace {

const char* const FontFolder = "/usr/share/fonts/truetype/dejavu/";
constexpr Integer DefaultPixelSize = 11;
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

std::string Lower(std::string s)
{
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

enum class TFamily { Sans, Mono, Serif };

TFamily FamilyOf(const std::string& faceName)
{
    static const std::map<std::string, TFamily> table = {
        {"courier", TFamily::Mono},         {"courier new", TFamily::Mono},
        {"fixedsys", TFamily::Mono},        {"terminal", TFamily::Mono},
        {"lucida console", TFamily::Mono},  {"consolas", TFamily::Mono},
        {"dejavu sans mono", TFamily::Mono}, {"monospace", TFamily::Mono},
        {"times new roman", TFamily::Serif}, {"times", TFamily::Serif},
        {"ms serif", TFamily::Serif},       {"georgia", TFamily::Serif},
        {"dejavu serif", TFamily::Serif},   {"serif", TFamily::Serif},
    };
    const auto it = table.find(Lower(faceName));
    return it == table.end() ? TFamily::Sans : it->second;
}

using TFontKey = std::tuple<std::string, Integer, bool, bool, Integer, bool>;

std::map<TFontKey, std::shared_ptr<TFontInstance>>& Instances()
{
    static auto* instances = new std::map<TFontKey, std::shared_ptr<TFontInstance>>;
    return *instances;
}

// Every new font handle asks for its file; the answer is kept, so that making a
// font does not cost a file-system look-up each time.
bool FontFileExists(const std::string& file)
{
    static auto* known = new std::map<std::string, bool>;
    const auto it = known->find(file);
    if (it != known->end())
        return it->second;
    const bool exists = std::filesystem::exists(file);
    known->emplace(file, exists);
    return exists;
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

std::string TFontInstance::FontFileFor(const std::string& faceName, bool bold, bool italic)
{
    std::string base;
    switch (FamilyOf(faceName)) {
    case TFamily::Mono: base = "DejaVuSansMono"; break;
    case TFamily::Serif: base = "DejaVuSerif"; break;
    case TFamily::Sans: base = "DejaVuSans"; break;
    }
    const bool serif = base == "DejaVuSerif";
    std::string style;
    if (bold && italic)
        style = serif ? "-BoldItalic" : "-BoldOblique";
    else if (bold)
        style = "-Bold";
    else if (italic)
        style = serif ? "-Italic" : "-Oblique";
    return std::string(FontFolder) + base + style + ".ttf";
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
    std::string file = FontFileFor(font.lfFaceName, bold, italic);
    if (!FontFileExists(file))
        file = std::string(FontFolder) + "DejaVuSans.ttf";
    const TFontKey key{file, font.lfHeight, font.lfUnderline != 0, font.lfStrikeOut != 0, font.lfWeight, italic};
    auto& instances = Instances();
    if (const auto it = instances.find(key); it != instances.end())
        return it->second;

    std::shared_ptr<TFontInstance> instance(new TFontInstance);
    instance->FFace = std::make_unique<TFace>();
    if (FT_New_Face(Library(), file.c_str(), 0, &instance->FFace->Face) != 0)
        throw EInvalidGraphic("Cannot open the font file " + file);
    FT_Face face = instance->FFace->Face;
    const double units = face->units_per_EM > 0 ? face->units_per_EM : 2048;
    const double cellUnits = std::max(1, face->ascender - face->descender);
    Integer em = DefaultPixelSize;
    if (font.lfHeight < 0)
        em = -font.lfHeight;
    else if (font.lfHeight > 0)
        em = Integer(std::lround(font.lfHeight * units / cellUnits));
    em = std::clamp<Integer>(em, 1, MaxPixelSize);
    if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(em)) != 0)
        throw EInvalidGraphic("Cannot size the font " + file);

    instance->PixelSize = em;
    instance->FileName = file;
    instance->FaceName = font.lfFaceName.empty() ? "MS Sans Serif" : font.lfFaceName;
    instance->Weight = bold ? FW_BOLD : FW_NORMAL;
    instance->Italic = italic;
    instance->Underline = font.lfUnderline != 0;
    instance->StrikeOut = font.lfStrikeOut != 0;
    instance->Ascent = Integer(std::lround(face->ascender * em / units));
    instance->Descent = Integer(std::lround(-face->descender * em / units));
    if (font.lfHeight > 0) // the cell height asked for is the height given
        instance->Descent = std::max(0, font.lfHeight - instance->Ascent);
    instance->Height = instance->Ascent + instance->Descent;
    instance->InternalLeading = std::max(0, instance->Height - em);
    instance->UnderlinePosition = std::max(1, Integer(std::lround(-face->underline_position * em / units)));
    instance->UnderlineThickness = std::max(1, Integer(std::lround(face->underline_thickness * em / units)));
    instance->StrikeOutPosition = std::max(1, Integer(std::lround(instance->Ascent * 0.3)));
    instance->AveCharWidth = instance->Advance('x');
    Integer widest = 0;
    for (int c = 32; c < 256; ++c)
        widest = std::max(widest, instance->Advance(static_cast<unsigned char>(c)));
    instance->MaxCharWidth = widest;
    instances.emplace(key, instance);
    return instance;
}

TFontInstance::~TFontInstance() = default;

void TFontInstance::Load(unsigned char c, TGlyph& glyph)
{
    glyph = {};
    glyph.Loaded = true;
    FT_Face face = FFace->Face;
    if (FT_Load_Char(face, AnsiToUnicode(c), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0)
        return;
    const FT_GlyphSlot slot = face->glyph;
    glyph.Advance = Round26_6(slot->advance.x);
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO || bitmap.width == 0 || bitmap.rows == 0)
        return;
    glyph.Left = slot->bitmap_left;
    glyph.Top = slot->bitmap_top;
    glyph.Width = Integer(bitmap.width);
    glyph.Height = Integer(bitmap.rows);
    glyph.Bits.assign(size_t(glyph.Width) * size_t(glyph.Height), 0);
    for (Integer y = 0; y < glyph.Height; ++y) {
        const unsigned char* row = bitmap.buffer + ptrdiff_t(y) * bitmap.pitch;
        for (Integer x = 0; x < glyph.Width; ++x)
            glyph.Bits[size_t(y) * size_t(glyph.Width) + size_t(x)] = (row[x >> 3] >> (7 - (x & 7))) & 1;
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
