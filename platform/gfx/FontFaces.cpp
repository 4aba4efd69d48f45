// Index: the host's faces; the DejaVu fallback; choosing a file.
#include "platform/gfx/FontFaces.h"

#include <cctype>
#include <filesystem>
#include <map>
#include <vector>

namespace ld {

namespace {

const char* const HostFontFolder = "/usr/share/wine/fonts/";
const char* const FallbackFontFolder = "/usr/share/fonts/truetype/dejavu/";

std::string Lower(std::string s)
{
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
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

// ---- the host's faces ------------------------------------------------------------

struct TStrike {
    Integer Cell;
    Integer InternalLeading;
};

struct THostFace {
    const char* Regular;
    const char* Bold;               // nullptr: the regular face emboldened
    std::vector<TStrike> Strikes;   // empty for an outline face
    const char* Outline = nullptr;  // a bitmap face's stand-in for other sizes
};

// The strikes' internal leadings are those of the host's own bitmap fonts
// (8, 10 and 12 points at 96 dpi for "MS Sans Serif"); the files here carry
// only the cells.
const std::map<std::string, THostFace>& HostFaces()
{
    static const auto* faces = new std::map<std::string, THostFace>{
        {"ms sans serif", {"ms_sans_serif.ttf", nullptr, {{13, 2}, {16, 3}, {20, 4}}, "tahoma"}},
        {"small fonts", {"small_fonts.ttf", nullptr, {{11, 2}}, "tahoma"}},
        {"tahoma", {"tahoma.ttf", "tahomabd.ttf", {}}},
        {"marlett", {"marlett.ttf", nullptr, {}}},
    };
    return *faces;
}

// Names the host resolves to one of its faces.
std::string ResolveAlias(const std::string& name)
{
    static const auto* aliases = new std::map<std::string, std::string>{
        {"ms shell dlg", "ms sans serif"},
        {"helv", "ms sans serif"},
        {"ms shell dlg 2", "tahoma"},
    };
    const auto it = aliases->find(name);
    return it == aliases->end() ? name : it->second;
}

const TStrike* StrikeFor(const THostFace& face, Integer logicalHeight)
{
    for (const TStrike& s : face.Strikes) {
        const Integer character = s.Cell - s.InternalLeading;
        if ((logicalHeight < 0 && character == -logicalHeight) || (logicalHeight > 0 && s.Cell == logicalHeight) ||
            (logicalHeight == 0 && character == DefaultCharacterHeight))
            return &s;
    }
    return nullptr;
}

bool HostFaceFile(const std::string& name, Integer logicalHeight, bool bold, bool italic, TFaceFile& out)
{
    const auto it = HostFaces().find(ResolveAlias(name));
    if (it == HostFaces().end())
        return false;
    const THostFace& face = it->second;
    if (!face.Strikes.empty()) {
        // A slanted bitmap would be a poor picture: italic goes to the outline too.
        const TStrike* strike = italic ? nullptr : StrikeFor(face, logicalHeight);
        if (!strike)
            return face.Outline && HostFaceFile(face.Outline, logicalHeight, bold, italic, out);
        out = {HostFontFolder + std::string(face.Regular), strike->Cell, strike->InternalLeading, bold, false};
        return FontFileExists(out.Path);
    }
    const bool boldFile = bold && face.Bold;
    out = {HostFontFolder + std::string(boldFile ? face.Bold : face.Regular), 0, 0, bold && !boldFile, italic};
    return FontFileExists(out.Path);
}

// ---- the DejaVu fallback -----------------------------------------------------------

enum class TFamily { Sans, Mono, Serif };

TFamily FamilyOf(const std::string& name)
{
    static const auto* table = new std::map<std::string, TFamily>{
        {"courier", TFamily::Mono},         {"courier new", TFamily::Mono},
        {"fixedsys", TFamily::Mono},        {"terminal", TFamily::Mono},
        {"lucida console", TFamily::Mono},  {"consolas", TFamily::Mono},
        {"dejavu sans mono", TFamily::Mono}, {"monospace", TFamily::Mono},
        {"times new roman", TFamily::Serif}, {"times", TFamily::Serif},
        {"ms serif", TFamily::Serif},       {"georgia", TFamily::Serif},
        {"dejavu serif", TFamily::Serif},   {"serif", TFamily::Serif},
    };
    const auto it = table->find(name);
    return it == table->end() ? TFamily::Sans : it->second;
}

std::string FallbackFile(const std::string& name, bool bold, bool italic)
{
    std::string base;
    switch (FamilyOf(name)) {
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
    std::string file = FallbackFontFolder + base + style + ".ttf";
    if (!FontFileExists(file))
        file = std::string(FallbackFontFolder) + "DejaVuSans.ttf";
    return file;
}

} // namespace

// ---- choosing a file ------------------------------------------------------------------

TFaceFile FaceFileFor(const std::string& faceName, Integer logicalHeight, bool bold, bool italic)
{
    const std::string name = Lower(faceName.empty() ? std::string("MS Sans Serif") : faceName);
    TFaceFile file;
    if (HostFaceFile(name, logicalHeight, bold, italic, file))
        return file;
    return {FallbackFile(name, bold, italic)};
}

} // namespace ld
