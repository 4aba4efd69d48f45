// ldpkgres: writes the resources of a package build that are made rather than
// kept as files, for ld_add_resources to compile into the package.
//
//   ldpkgres info OUT --flags N --requires NAME... --contains UNIT...
//       the PACKAGEINFO block (host/PackageInfo.h)
//   ldpkgres description OUT TEXT
//       TEXT as UTF-16LE followed by one NUL character
//   ldpkgres bitmap OUT.bmp ART.pal
//       a palette image drawn as text (below) as a 4-bit BMP file
//
// An image drawn as text: lines "// ..." are comments, lines "colour C NAME"
// give the character C one of the 16 standard colours by name, and the other
// non-blank lines are the pixel rows, top first, one character per pixel.
#include <cstdio>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "host/PackageInfo.h"

using namespace ld;

namespace {

// The 16-colour palette in the order of 4-bit bitmaps, as RGB.
struct TNamedColour {
    const char* Name;
    uint32_t Rgb;
};
constexpr TNamedColour StandardColours[16] = {
    {"black", 0x000000}, {"maroon", 0x800000}, {"green", 0x008000}, {"olive", 0x808000},
    {"navy", 0x000080},  {"purple", 0x800080}, {"teal", 0x008080},  {"silver", 0xC0C0C0},
    {"gray", 0x808080},  {"red", 0xFF0000},    {"lime", 0x00FF00},  {"yellow", 0xFFFF00},
    {"blue", 0x0000FF},  {"fuchsia", 0xFF00FF}, {"aqua", 0x00FFFF}, {"white", 0xFFFFFF},
};

void WriteFile(const std::string& path, const std::string& data)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << data;
    if (!out)
        throw EInOutError("cannot write " + path);
}

void Put(std::string& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string Description(const std::string& text)
{
    std::string out;
    for (unsigned char c : text)
        Put(out, c, 2);
    Put(out, 0, 2);
    return out;
}

int ColourIndex(const std::string& name, const std::string& where)
{
    for (int i = 0; i < 16; ++i)
        if (name == StandardColours[i].Name)
            return i;
    throw EConvertError(where + ": unknown colour " + name);
}

// Rows of palette indexes, top row first.
std::vector<std::vector<int>> ReadArt(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        throw EInOutError("cannot read " + path);
    int key[256];
    std::fill(std::begin(key), std::end(key), -1);
    std::vector<std::vector<int>> rows;
    std::string line;
    for (int lineNo = 1; std::getline(in, line); ++lineNo) {
        const std::string where = path + ":" + std::to_string(lineNo);
        if (line.empty() || line.rfind("//", 0) == 0)
            continue;
        if (line.rfind("colour ", 0) == 0) {
            std::istringstream words(line.substr(7));
            std::string c, name;
            words >> c >> name;
            if (c.size() != 1 || name.empty())
                throw EConvertError(where + ": \"colour C NAME\" expected");
            key[static_cast<unsigned char>(c[0])] = ColourIndex(name, where);
            continue;
        }
        std::vector<int> row;
        for (unsigned char c : line) {
            if (key[c] < 0)
                throw EConvertError(where + ": no colour for '" + std::string(1, static_cast<char>(c)) + "'");
            row.push_back(key[c]);
        }
        if (!rows.empty() && row.size() != rows.front().size())
            throw EConvertError(where + ": rows differ in length");
        rows.push_back(std::move(row));
    }
    if (rows.empty())
        throw EConvertError(path + ": no pixel rows");
    return rows;
}

// A BMP file: uncompressed, 4 bits per pixel, bottom row first, rows padded to
// 4 bytes, the 16 standard colours as its colour table.
std::string Bitmap(const std::vector<std::vector<int>>& rows)
{
    const uint32_t width = static_cast<uint32_t>(rows.front().size());
    const uint32_t height = static_cast<uint32_t>(rows.size());
    const uint32_t stride = ((width * 4 + 31) / 32) * 4;
    const uint32_t offset = 14 + 40 + 16 * 4;
    std::string out = "BM";
    Put(out, offset + stride * height, 4);
    Put(out, 0, 4);
    Put(out, offset, 4);
    Put(out, 40, 4);
    Put(out, width, 4);
    Put(out, height, 4);
    Put(out, 1, 2);  // planes
    Put(out, 4, 2);  // bits per pixel
    Put(out, 0, 4);  // BI_RGB
    Put(out, stride * height, 4);
    Put(out, 0, 4);  // pixels per metre, x and y
    Put(out, 0, 4);
    Put(out, 16, 4); // colours used
    Put(out, 0, 4);  // colours important: all
    for (const TNamedColour& c : StandardColours) {
        out += static_cast<char>(c.Rgb & 0xFF);
        out += static_cast<char>((c.Rgb >> 8) & 0xFF);
        out += static_cast<char>((c.Rgb >> 16) & 0xFF);
        out += '\0';
    }
    for (uint32_t y = height; y-- > 0;) {
        std::string line(stride, '\0');
        for (uint32_t x = 0; x < width; ++x)
            line[x / 2] = static_cast<char>(line[x / 2] | (rows[y][x] << (x % 2 == 0 ? 4 : 0)));
        out += line;
    }
    return out;
}

TPackageInfo Info(int argc, char** argv, int first)
{
    TPackageInfo info;
    std::vector<std::string>* list = nullptr;
    std::vector<std::string> contains;
    for (int i = first; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--flags" && i + 1 < argc) {
            info.Flags = static_cast<uint32_t>(StrToInt(argv[++i]));
            list = nullptr;
        } else if (arg == "--requires") {
            list = &info.Requires;
        } else if (arg == "--contains") {
            list = &contains;
        } else if (list != nullptr) {
            list->push_back(arg);
        } else {
            throw EConvertError("unexpected argument " + arg);
        }
    }
    for (const std::string& unit : contains)
        info.Contains.push_back({ufPackageUnit, unit});
    return info;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: ldpkgres info|description|bitmap OUT ...\n");
        return 2;
    }
    try {
        const std::string command = argv[1];
        const std::string out = argv[2];
        if (command == "info")
            WriteFile(out, WritePackageInfo(Info(argc, argv, 3)));
        else if (command == "description" && argc == 4)
            WriteFile(out, Description(argv[3]));
        else if (command == "bitmap" && argc == 4)
            WriteFile(out, Bitmap(ReadArt(argv[3])));
        else
            throw EConvertError("unknown command or wrong arguments: " + command);
    } catch (const Exception& e) {
        std::fprintf(stderr, "ldpkgres: %s\n", e.Message().c_str());
        return 1;
    }
    return 0;
}
