// ldpkgres: writes the resources of a package build that are made rather than
// kept as files, for ld_add_resources to compile into the package.
//
//   ldpkgres info OUT --flags N --requires NAME... --contains UNIT... [--weak UNIT...] [--imports NAME...]
//       the PACKAGEINFO block (host/PackageInfo.h)
//   ldpkgres options OUT TEXTS
//       the PACKAGEOPTIONS block (host/PackageInfo.h) holding the lines of the
//       file TEXTS, one text a line (an empty file: none)
//   ldpkgres description OUT TEXT
//       TEXT as UTF-16LE followed by one NUL character
//   ldpkgres bitmap OUT.bmp ART.pal
//       a palette image drawn as text (below) as a 4-bit BMP file
//   ldpkgres icon OUT.ico ART.pal
//       the same as an icon file holding that one 4-bit image, all of it opaque
//
// An image drawn as text: lines "// ..." are comments, lines "colour C NAME"
// give the character C one of the 16 standard colours by name, and the other
// non-blank lines are the pixel rows, top first, one character per pixel.
#include <cstdio>
#include <algorithm>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "LaunchdeckVersion.h"
#include "host/PackageInfo.h"
#include "platform/core/FileIO.h"
#include "platform/gfx/Bmp.h"

using namespace ld;

namespace {

// The names of the 16 standard colours, in palette order (VgaPalette()).
constexpr const char* ColourNames[16] = {"black", "maroon", "green",  "olive", "navy", "purple", "teal",    "silver",
                                         "gray",  "red",    "lime",   "yellow", "blue", "fuchsia", "aqua", "white"};

void WriteFile(const std::string& path, const std::string& data) { WriteFileAtomically(path, data); }

// Latin-1 text as UTF-16LE, then one NUL character.
std::string Description(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        out += static_cast<char>(c);
        out += '\0';
    }
    out.append(2, '\0');
    return out;
}

TPackageOptions ReadLines(const std::string& path)
{
    std::istringstream in(ReadFileBytes(path));
    TPackageOptions options;
    for (std::string line; std::getline(in, line);)
        options.Texts.push_back(line);
    return options;
}

int ColourIndex(const std::string& name, const std::string& where)
{
    for (int i = 0; i < 16; ++i)
        if (name == ColourNames[i])
            return i;
    throw EConvertError(where + ": unknown colour " + name);
}

// Rows of palette indexes, top row first.
std::vector<std::vector<int>> ReadArt(const std::string& path)
{
    std::istringstream in(ReadFileBytes(path));
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

// A BMP file: uncompressed, 4 bits per pixel, the 16 standard colours as its
// colour table.
std::string Bitmap(const std::vector<std::vector<int>>& rows)
{
    TSurface surface(static_cast<Integer>(rows.front().size()), static_cast<Integer>(rows.size()));
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x)
            surface.SetPixel(static_cast<Integer>(x), static_cast<Integer>(y),
                             ColorRefToPixel(VgaPalette()[static_cast<size_t>(rows[y][x])]));
    const std::vector<uint8_t> bmp = WriteBmp(surface, 4);
    return std::string(bmp.begin(), bmp.end());
}

void Put16(std::string& out, uint32_t n)
{
    out += static_cast<char>(n & 0xFF);
    out += static_cast<char>((n >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t n)
{
    Put16(out, n & 0xFFFF);
    Put16(out, n >> 16);
}

// An icon file: its directory with one entry, then the image as a DIB of twice
// the height (the colour bits, then an all-clear mask: every pixel opaque).
std::string Icon(const std::vector<std::vector<int>>& rows)
{
    const std::string bmp = Bitmap(rows);
    const uint32_t width = static_cast<uint32_t>(rows.front().size());
    const uint32_t height = static_cast<uint32_t>(rows.size());
    if (width > 255 || height > 255)
        throw EConvertError("an icon is at most 255 pixels wide and high");
    std::string dib = bmp.substr(14);
    const uint32_t maskStride = (width + 31) / 32 * 4;
    const uint32_t colourBytes = static_cast<uint32_t>(dib.size()) - 40 - 64;
    std::string header;
    Put32(header, height * 2);
    dib.replace(8, 4, header);
    std::string size;
    Put32(size, colourBytes + maskStride * height);
    dib.replace(20, 4, size);
    dib.append(maskStride * height, '\0');

    std::string out;
    Put16(out, 0);
    Put16(out, 1); // an icon
    Put16(out, 1); // one image
    out += static_cast<char>(width);
    out += static_cast<char>(height);
    out += static_cast<char>(16); // colours
    out += '\0';
    Put16(out, 1);                // planes
    Put16(out, 4);                // bits per pixel
    Put32(out, static_cast<uint32_t>(dib.size()));
    Put32(out, 6 + 16);           // where the image begins
    return out + dib;
}

TPackageInfo Info(int argc, char** argv, int first)
{
    TPackageInfo info;
    std::vector<std::string>* list = nullptr;
    std::vector<std::string> contains;
    std::vector<std::string> weak;
    for (int i = first; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--flags" && i + 1 < argc) {
            info.Flags = static_cast<uint32_t>(StrToInt(argv[++i]));
            list = nullptr;
        } else if (arg == "--requires") {
            list = &info.Requires;
        } else if (arg == "--contains") {
            list = &contains;
        } else if (arg == "--weak") {
            list = &weak;
        } else if (arg == "--imports") {
            list = &info.Imports;
        } else if (list != nullptr) {
            list->push_back(arg);
        } else {
            throw EConvertError("unexpected argument " + arg);
        }
    }
    for (const std::string& unit : contains)
        info.Contains.push_back({ufPackageUnit, unit});
    for (const std::string& unit : weak)
        info.Contains.push_back({ufWeakUnit, unit});
    return info;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "--version")
        return PrintVersion("ldpkgres");
    if (argc < 3) {
        std::fprintf(stderr, "ldpkgres: arguments missing (usage: ldpkgres info|options|description|bitmap|icon OUT ...)\n");
        return 1;
    }
    try {
        const std::string command = argv[1];
        const std::string out = argv[2];
        if (command == "info")
            WriteFile(out, WritePackageInfo(Info(argc, argv, 3)));
        else if (command == "options" && argc == 4)
            WriteFile(out, WritePackageOptions(ReadLines(argv[3])));
        else if (command == "icon" && argc == 4)
            WriteFile(out, Icon(ReadArt(argv[3])));
        else if (command == "description" && argc == 4)
            WriteFile(out, Description(argv[3]));
        else if (command == "bitmap" && argc == 4)
            WriteFile(out, Bitmap(ReadArt(argv[3])));
        else
            throw EConvertError("unknown command or wrong arguments: " + command);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ldpkgres: %s\n", e.what());
        return 1;
    }
    return 0;
}
