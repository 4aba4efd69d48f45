// ldrc OUT.cpp [--language N] {RCDATA NAME FILE | BITMAP NAME FILE | ICON NAME FILE
//                              | VERSIONINFO FILE | STRINGTABLE FILE}...
//
// The resource compiler: writes a C++ source holding the resources as byte
// arrays and registering them with the module that is linked with it.
//
// ICON takes an icon file: each of its images becomes an icon resource
// (numbered from 1) and NAME the icon group listing them. VERSIONINFO takes a
// text of lines (# starts a comment), all but the values optional:
//
//   FILEVERSION 1,0,0,0          PRODUCTVERSION 1,0,0,0
//   FILEFLAGSMASK n  FILEFLAGS n  FILEOS n  FILETYPE n  FILESUBTYPE n  (decimal or $hex)
//   BLOCK 080904E4               the string table's language and code page
//   VALUE Name text              the rest of the line, may be empty
//
// and makes the version block (resource 1 of type 16), its string table and
// its translation (the block's language and code page).
#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "LaunchdeckVersion.h"
#include "platform/core/FileIO.h"
#include "platform/core/SysUtils.h"
#include "platform/stream/TextForm.h"

using namespace ld;

namespace {

struct Resource {
    std::string Type;
    std::string Name;
    std::string Data;
};

bool EndsWith(const std::string& s, const char* suffix)
{
    const size_t n = std::strlen(suffix);
    return s.size() >= n && SameText(s.substr(s.size() - n), suffix);
}

std::string FormData(const std::string& path, const std::string& data)
{
    if (!EndsWith(path, ".dfm"))
        return data;
    const std::string binary = ToBinaryStream(data);
    BinaryToText(binary); // checks the whole form now, not when a program loads it
    return binary;
}

std::string BitmapData(const std::string& path, const std::string& data)
{
    if (data.size() < 14 + 40 || data[0] != 'B' || data[1] != 'M')
        throw EInvalidImage(path + ": not a BMP file");
    return data.substr(14);
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

uint32_t Get(const std::string& data, size_t at, size_t bytes, const std::string& path)
{
    if (at > data.size() || data.size() - at < bytes)
        throw EInvalidImage(path + ": icon file cut short");
    uint32_t n = 0;
    for (size_t i = 0; i < bytes; ++i)
        n |= static_cast<uint32_t>(static_cast<unsigned char>(data[at + i])) << (8 * i);
    return n;
}

// The images of an icon file as icon resources, and the group that lists them
// (the file's directory with each image's offset replaced by its number).
void AddIcon(const std::string& name, const std::string& path, std::vector<Resource>& out, unsigned& nextIcon)
{
    const std::string data = ReadFileBytes(path);
    if (Get(data, 0, 2, path) != 0 || Get(data, 2, 2, path) != 1)
        throw EInvalidImage(path + ": not an icon file");
    const uint32_t count = Get(data, 4, 2, path);
    if (count == 0)
        throw EInvalidImage(path + ": an icon file without images");
    Resource group{"#14", name, {}};
    Put16(group.Data, 0);
    Put16(group.Data, 1);
    Put16(group.Data, count);
    for (uint32_t i = 0; i < count; ++i) {
        const size_t entry = 6 + 16 * static_cast<size_t>(i);
        const uint32_t size = Get(data, entry + 8, 4, path);
        const uint32_t offset = Get(data, entry + 12, 4, path);
        if (offset > data.size() || data.size() - offset < size || size < 40)
            throw EInvalidImage(path + ": image " + std::to_string(i + 1) + " lies outside the file");
        if (nextIcon > 0xFFFF)
            throw EConvertError("too many icon images");
        group.Data += data.substr(entry, 12);
        Put16(group.Data, nextIcon);
        out.push_back({"#3", "#" + std::to_string(nextIcon), data.substr(offset, size)});
        ++nextIcon;
    }
    out.push_back(std::move(group));
}

// One node of a version block: length, value length, type (1 text, 0 binary),
// the key as UTF-16 with its NUL, padding to 32 bits, the value, padding, then
// the children. Keys and texts are 8-bit Latin-1.
std::string Utf16(const std::string& text)
{
    std::string out;
    for (unsigned char c : text)
        Put16(out, c);
    Put16(out, 0);
    return out;
}

void Align4(std::string& s)
{
    while (s.size() % 4 != 0)
        s += '\0';
}

std::string VersionNode(const std::string& key, const std::string& value, uint32_t valueLength, bool text,
                        const std::vector<std::string>& children)
{
    std::string node(6, '\0');
    node += Utf16(key);
    Align4(node);
    node += value;
    for (const std::string& child : children) {
        Align4(node);
        node += child;
    }
    if (node.size() > 0xFFFF)
        throw EConvertError("version block longer than 65535 bytes");
    node[0] = static_cast<char>(node.size() & 0xFF);
    node[1] = static_cast<char>(node.size() >> 8);
    node[2] = static_cast<char>(valueLength & 0xFF);
    node[3] = static_cast<char>(valueLength >> 8);
    node[4] = text ? 1 : 0;
    return node;
}

uint32_t VersionNumber(const std::string& text, const std::string& where)
{
    Integer n = 0;
    if (!TryStrToInt(Trim(text), n) || n < 0)
        throw EConvertError(where + ": a number expected");
    return static_cast<uint32_t>(n);
}

// "1,0,0,0" as the two 32-bit halves.
std::pair<uint32_t, uint32_t> FourPartVersion(const std::string& text, const std::string& where)
{
    uint32_t parts[4] = {};
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const size_t comma = text.find(',', start);
        if ((comma == std::string::npos) != (i == 3))
            throw EConvertError(where + ": four numbers a,b,c,d expected");
        parts[i] = VersionNumber(text.substr(start, comma - start), where);
        if (parts[i] > 0xFFFF)
            throw EConvertError(where + ": a version part above 65535");
        start = comma + 1;
    }
    return {parts[0] << 16 | parts[1], parts[2] << 16 | parts[3]};
}

Resource VersionInfo(const std::string& path)
{
    std::istringstream in(ReadFileBytes(path));
    std::pair<uint32_t, uint32_t> fileVersion{0, 0}, productVersion{0, 0};
    uint32_t fixed[5] = {0x3F, 0, 0, 0, 0}; // flags mask, flags, OS, type, subtype
    const char* fixedNames[5] = {"FILEFLAGSMASK", "FILEFLAGS", "FILEOS", "FILETYPE", "FILESUBTYPE"};
    std::string block;
    std::vector<std::string> strings;
    std::string line;
    for (int lineNo = 1; std::getline(in, line); ++lineNo) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string where = path + ":" + IntToStr(lineNo);
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#')
            continue;
        const size_t blank = trimmed.find(' ');
        const std::string word = trimmed.substr(0, blank);
        const std::string rest = blank == std::string::npos ? std::string() : trimmed.substr(blank + 1);
        bool known = false;
        for (int i = 0; i < 5; ++i)
            if (word == fixedNames[i]) {
                fixed[i] = VersionNumber(rest, where);
                known = true;
            }
        if (known)
            continue;
        if (word == "FILEVERSION") {
            fileVersion = FourPartVersion(rest, where);
        } else if (word == "PRODUCTVERSION") {
            productVersion = FourPartVersion(rest, where);
        } else if (word == "BLOCK") {
            if (rest.size() != 8 || rest.find_first_not_of("0123456789ABCDEFabcdef") != std::string::npos)
                throw EConvertError(where + ": BLOCK takes eight hex digits (language, code page)");
            block = rest;
        } else if (word == "VALUE") {
            const size_t nameEnd = rest.find(' ');
            const std::string name = rest.substr(0, nameEnd);
            const std::string text = nameEnd == std::string::npos ? std::string() : rest.substr(nameEnd + 1);
            if (name.empty())
                throw EConvertError(where + ": VALUE needs a name");
            // The value length counts the text's characters and its NUL.
            strings.push_back(VersionNode(name, Utf16(text), static_cast<uint32_t>(text.size() + 1), true, {}));
        } else {
            throw EConvertError(where + ": unknown statement " + word);
        }
    }
    if (block.empty())
        throw EConvertError(path + ": BLOCK missing");
    std::string fixedInfo;
    Put32(fixedInfo, 0xFEEF04BD);
    Put32(fixedInfo, 0x00010000);
    Put32(fixedInfo, fileVersion.first);
    Put32(fixedInfo, fileVersion.second);
    Put32(fixedInfo, productVersion.first);
    Put32(fixedInfo, productVersion.second);
    for (uint32_t n : fixed)
        Put32(fixedInfo, n);
    Put32(fixedInfo, 0); // file date
    Put32(fixedInfo, 0);
    std::string translation;
    Put16(translation, static_cast<uint32_t>(StrToInt("$" + block.substr(0, 4))));
    Put16(translation, static_cast<uint32_t>(StrToInt("$" + block.substr(4, 4))));
    const std::string table = VersionNode(block, {}, 0, true, strings);
    const std::string stringInfo = VersionNode("StringFileInfo", {}, 0, true, {table});
    const std::string var = VersionNode("Translation", translation, 4, false, {});
    const std::string varInfo = VersionNode("VarFileInfo", {}, 0, true, {var});
    return {"#16", "#1", VersionNode("VS_VERSION_INFO", fixedInfo, 52, false, {stringInfo, varInfo})};
}

std::string Unescape(const std::string& text, const std::string& where)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        switch (c) {
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case '\\': out += '\\'; break;
        case 'x': {
            if (i + 2 >= text.size())
                throw EConvertError(where + ": \\x needs two hex digits");
            out += static_cast<char>(StrToInt("$" + text.substr(i + 1, 2)));
            i += 2;
            break;
        }
        default:
            throw EConvertError(where + ": unknown escape \\" + std::string(1, c));
        }
    }
    return out;
}

// Strings grouped in blocks of 16, each a 16-bit length and the bytes.
void AddStringTable(const std::string& path, std::vector<Resource>& out)
{
    std::map<unsigned, std::vector<std::string>> blocks;
    std::istringstream in(ReadFileBytes(path));
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#')
            continue;
        const std::string where = path + ":" + IntToStr(lineNo);
        const size_t blank = trimmed.find_first_of(" \t");
        const std::string idText = trimmed.substr(0, blank);
        Integer id = 0;
        if (!TryStrToInt(idText, id) || id < 0 || id > 65535)
            throw EConvertError(where + ": a string id from 0 to 65535 expected");
        std::string text = blank == std::string::npos ? std::string() : line.substr(line.find(idText) + idText.size() + 1);
        text = Unescape(text, where);
        if (text.size() > 65535)
            throw EConvertError(where + ": a string longer than 65535 bytes");
        auto& block = blocks[static_cast<unsigned>(id) >> 4];
        block.resize(16);
        if (!block[id & 15].empty())
            throw EConvertError(where + ": string " + idText + " is defined twice");
        block[id & 15] = text;
    }
    for (const auto& [number, strings] : blocks) {
        Resource r{"#6", "#" + IntToStr(number + 1), {}};
        for (const std::string& s : strings) {
            r.Data += static_cast<char>(s.size() & 0xFF);
            r.Data += static_cast<char>(s.size() >> 8);
            r.Data += s;
        }
        out.push_back(std::move(r));
    }
}

std::string Generate(const std::vector<Resource>& resources, unsigned language)
{
    std::string src = "// Generated by ldrc: the module's resources.\n#include \"platform/core/Resources.h\"\n\nnamespace {\n";
    char buf[16];
    for (size_t i = 0; i < resources.size(); ++i) {
        src += "const unsigned char data" + std::to_string(i) + "[] = {";
        const std::string& d = resources[i].Data;
        for (size_t k = 0; k < d.size(); ++k) {
            if (k % 20 == 0)
                src += "\n ";
            std::snprintf(buf, sizeof buf, " %u,", static_cast<unsigned char>(d[k]));
            src += buf;
        }
        src += d.empty() ? " 0};\n" : "\n};\n";
    }
    src += "const ld::TResourceEntry entries[] = {\n";
    for (size_t i = 0; i < resources.size(); ++i)
        src += "    {\"" + resources[i].Type + "\", \"" + resources[i].Name + "\", " + std::to_string(language) +
               ", data" + std::to_string(i) + ", " + std::to_string(resources[i].Data.size()) + "},\n";
    src += "};\n"
           "struct Registration {\n"
           "    Registration() { ld::RegisterModuleResources(entries, entries, sizeof entries / sizeof entries[0]); }\n"
           "    ~Registration() { ld::UnregisterModuleResources(entries); }\n"
           "} registration;\n"
           "} // namespace\n";
    return src;
}

bool IsValidName(const std::string& name)
{
    if (name.empty() || name.size() > 255)
        return false;
    for (char c : name)
        if (c == '"' || c == '\\' || static_cast<unsigned char>(c) < 32)
            return false;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "--version")
        return PrintVersion("ldrc");
    if (argc < 2) {
        std::fprintf(stderr, "ldrc: OUT.cpp missing (usage: ldrc OUT.cpp [--language N] {RCDATA NAME FILE | BITMAP NAME "
                             "FILE | ICON NAME FILE | VERSIONINFO FILE | STRINGTABLE FILE}...)\n");
        return 1;
    }
    try {
        const std::string out = argv[1];
        unsigned language = 0;
        unsigned nextIcon = 1;
        std::vector<Resource> resources;
        for (int i = 2; i < argc; ++i) {
            const std::string kind = argv[i];
            auto next = [&]() -> std::string {
                if (i + 1 >= argc)
                    throw EConvertError(kind + ": arguments missing");
                return argv[++i];
            };
            if (kind == "--language") {
                language = static_cast<unsigned>(StrToInt(next()));
            } else if (kind == "STRINGTABLE") {
                AddStringTable(next(), resources);
            } else if (kind == "VERSIONINFO") {
                resources.push_back(VersionInfo(next()));
            } else if (kind == "ICON") {
                const std::string name = UpperCase(next());
                if (!IsValidName(name))
                    throw EConvertError("invalid resource name " + name);
                AddIcon(name, next(), resources, nextIcon);
            } else if (kind == "RCDATA" || kind == "BITMAP") {
                const std::string name = UpperCase(next());
                const std::string path = next();
                if (!IsValidName(name))
                    throw EConvertError("invalid resource name " + name);
                const std::string data = ReadFileBytes(path);
                resources.push_back({kind == "RCDATA" ? "#10" : "#2", name,
                                     kind == "RCDATA" ? FormData(path, data) : BitmapData(path, data)});
            } else {
                throw EConvertError("unknown resource kind " + kind);
            }
        }
        WriteFileAtomically(out, Generate(resources, language));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ldrc: %s\n", e.what());
        return 1;
    }
    return 0;
}
