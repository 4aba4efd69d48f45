#include "installer/wine/RegistryFile.h"

#include "installer/wine/Codepage.h"

#include <chrono>

namespace ld::deckinstall {

namespace {

const std::string_view Signature = "WINE REGISTRY Version 2";
constexpr uint64_t TicksPerSecond = 10000000;
constexpr uint64_t SecondsFrom1601To1970 = 11644473600ull;

struct TLine {
    size_t Begin = 0;
    size_t End = 0;         // after the line break
    std::string_view Text;  // without the line break
};

class TLineReader {
public:
    explicit TLineReader(std::string_view text) : FText(text) {}
    bool Next(TLine& line)
    {
        if (FPos >= FText.size())
            return false;
        const size_t newline = FText.find('\n', FPos);
        line.Begin = FPos;
        line.End = newline == std::string_view::npos ? FText.size() : newline + 1;
        size_t contentEnd = newline == std::string_view::npos ? FText.size() : newline;
        if (contentEnd > FPos && FText[contentEnd - 1] == '\r')
            --contentEnd;
        line.Text = FText.substr(FPos, contentEnd - FPos);
        FPos = line.End;
        ++FNumber;
        return true;
    }
    size_t Number() const { return FNumber; }
    size_t Position() const { return FPos; }
    void Rewind(const TLine& line)
    {
        FPos = line.Begin;
        --FNumber;
    }

private:
    std::string_view FText;
    size_t FPos = 0;
    size_t FNumber = 0;
};

bool IsBlankLine(std::string_view line)
{
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

size_t SkipBlanks(std::string_view text, size_t pos)
{
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
    return pos;
}

// The name and where the data begins, of a line "name"=data or @=data.
bool ParseValueHead(std::string_view line, std::u16string& name, size_t& dataStart, std::string& error)
{
    size_t pos = 1;
    name.clear();
    if (line[0] == '"' && !ParseEscaped(line, pos, '"', name, error))
        return false;
    pos = SkipBlanks(line, pos);
    if (pos >= line.size() || line[pos] != '=') {
        error = "'=' expected after the value name";
        return false;
    }
    dataStart = SkipBlanks(line, pos + 1);
    return true;
}

bool IsHexData(std::string_view data)
{
    return data.starts_with("hex:") || data.starts_with("hex(");
}

// The data of a value item, its continuation lines joined.
std::string JoinedData(std::string_view item, size_t dataStart)
{
    std::string data;
    TLineReader reader(item);
    TLine line;
    bool first = true;
    while (reader.Next(line)) {
        std::string_view part = first ? line.Text.substr(dataStart) : line.Text.substr(SkipBlanks(line.Text, 0));
        first = false;
        if (!DataContinues(part)) {
            data += part;
            break;
        }
        while (!part.empty() && part.back() != '\\')
            part.remove_suffix(1);
        part.remove_suffix(1);
        data += part;
    }
    return data;
}

std::string HexOf64(uint64_t value)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), digits[value & 15]);
        value >>= 4;
    } while (value != 0);
    return text;
}

std::string KeyLine(std::u16string_view path, uint64_t now)
{
    const uint64_t seconds = now / TicksPerSecond - SecondsFrom1601To1970;
    return "[" + EscapeText(path, "[]") + "] " + std::to_string(static_cast<uint32_t>(seconds)) + "\n";
}

std::string TimeLine(uint64_t now)
{
    return "#time=" + HexOf64(now) + "\n";
}

} // namespace

uint64_t FileTimeNow()
{
    const auto since1970 = std::chrono::system_clock::now().time_since_epoch();
    const auto ticks = std::chrono::duration_cast<std::chrono::nanoseconds>(since1970).count() / 100;
    return static_cast<uint64_t>(ticks) + SecondsFrom1601To1970 * TicksPerSecond;
}

TRegistryFile::TRegistryFile(std::string text, std::string fileName)
    : FText(std::move(text)), FFileName(std::move(fileName))
{
    Parse();
}

void TRegistryFile::Fail(size_t lineNumber, const std::string& what) const
{
    throw ERegistryFileError(FFileName + ": line " + std::to_string(lineNumber) + ": " + what);
}

void TRegistryFile::Parse()
{
    TLineReader reader(FText);
    TLine line;
    if (!reader.Next(line) || line.Text != Signature)
        Fail(1, "not a registry file (the first line must be \"WINE REGISTRY Version 2\")");
    std::string error;
    std::u16string name;
    TRegistryData scratch;
    TKey* key = nullptr;
    while (reader.Next(line)) {
        const std::string_view text = line.Text;
        if (!text.empty() && text[0] == '[') {
            size_t pos = 1;
            std::u16string path;
            if (!ParseEscaped(text, pos, ']', path, error))
                Fail(reader.Number(), "bad key name: " + error);
            pos = SkipBlanks(text, pos);
            while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
                ++pos;
            if (!IsBlankLine(text.substr(pos)))
                Fail(reader.Number(), "unexpected text after the key name");
            if (FKeys.empty())
                FPreamble = TChunk{0, line.Begin, false, {}};
            AddParsedKey(std::move(path), line.Begin, line.End);
            key = &FKeys.back();
            continue;
        }
        if (IsBlankLine(text) || text[0] == ';' || text[0] == '#') {
            if (key == nullptr) {
                if (text.starts_with("#arch="))
                    FArchitecture = std::string(text.substr(6));
            } else {
                key->Items.push_back(TItem{TChunk{line.Begin, line.End, false, {}}, false, {}});
            }
            continue;
        }
        if (text[0] != '"' && text[0] != '@')
            Fail(reader.Number(), "unrecognised line");
        if (key == nullptr)
            Fail(reader.Number(), "value outside any key");
        const size_t firstLine = reader.Number();
        size_t dataStart = 0;
        if (!ParseValueHead(text, name, dataStart, error))
            Fail(firstLine, error);
        const size_t begin = line.Begin;
        bool continued = false;
        if (IsHexData(text.substr(dataStart))) {
            while (DataContinues(line.Text)) {
                continued = true;
                if (!reader.Next(line))
                    Fail(reader.Number(), "hex data continues past the end of the file");
            }
        }
        const std::string_view item(FText.data() + begin, line.End - begin);
        const bool parsed = continued ? ParseValueData(JoinedData(item, dataStart), scratch, error)
                                      : ParseValueData(text.substr(dataStart), scratch, error);
        if (!parsed)
            Fail(firstLine, error);
        key->Items.push_back(TItem{TChunk{begin, line.End, false, {}}, true, std::move(name)});
        name = std::u16string();
    }
    if (FKeys.empty())
        FPreamble = TChunk{0, FText.size(), false, {}};
}

void TRegistryFile::AddParsedKey(std::u16string path, size_t begin, size_t end)
{
    TKey key;
    key.Folded = FoldCase(path);
    key.Path = std::move(path);
    key.Header = TChunk{begin, end, false, {}};
    FIndex[key.Folded].push_back(FKeys.size());
    FOrder.push_back(FKeys.size());
    FKeys.push_back(std::move(key));
}

std::string_view TRegistryFile::TextOf(const TChunk& chunk) const
{
    if (chunk.IsOwned)
        return chunk.Owned;
    return std::string_view(FText).substr(chunk.Begin, chunk.End - chunk.Begin);
}

TRegistryFile::TChunk TRegistryFile::OwnedChunk(std::string text)
{
    return TChunk{0, 0, true, std::move(text)};
}

void TRegistryFile::EnsureEndsWithNewline(TChunk& chunk)
{
    const std::string_view text = TextOf(chunk);
    if (!text.empty() && text.back() != '\n')
        chunk = OwnedChunk(std::string(text) + "\n");
}

std::string TRegistryFile::Serialize() const
{
    std::string out;
    out.reserve(FText.size() + 256);
    out += TextOf(FPreamble);
    for (size_t index : FOrder) {
        const TKey& key = FKeys[index];
        out += TextOf(key.Header);
        for (const TItem& item : key.Items)
            out += TextOf(item.Text);
    }
    return out;
}

std::vector<size_t> TRegistryFile::BlocksOf(std::u16string_view path) const
{
    const auto found = FIndex.find(FoldCase(path));
    return found == FIndex.end() ? std::vector<size_t>() : found->second;
}

bool TRegistryFile::KeyExists(std::u16string_view path) const
{
    if (path.empty() || FIndex.contains(FoldCase(path)))
        return true;
    const std::u16string prefix = FoldCase(path) + u'\\';
    for (const TKey& key : FKeys)
        if (key.Folded.starts_with(prefix))
            return true;
    return false;
}

std::vector<std::u16string> TRegistryFile::ValueNames(std::u16string_view path) const
{
    std::vector<std::u16string> names;
    for (size_t index : BlocksOf(path))
        for (const TItem& item : FKeys[index].Items) {
            if (!item.IsValue)
                continue;
            bool seen = false;
            for (const std::u16string& name : names)
                seen = seen || SameTextWide(name, item.Name);
            if (!seen)
                names.push_back(item.Name);
        }
    return names;
}

bool TRegistryFile::QueryValue(std::u16string_view path, std::u16string_view name, TRegistryData& data) const
{
    // A later value of the same name overrides an earlier one, as when Wine loads.
    const TItem* found = nullptr;
    for (size_t index : BlocksOf(path))
        for (const TItem& item : FKeys[index].Items)
            if (item.IsValue && SameTextWide(item.Name, name))
                found = &item;
    if (found == nullptr)
        return false;
    const std::string_view text = TextOf(found->Text);
    std::u16string parsedName;
    size_t dataStart = 0;
    std::string error;
    return ParseValueHead(text, parsedName, dataStart, error) &&
           ParseValueData(JoinedData(text, dataStart), data, error);
}

size_t TRegistryFile::AddKeyBlock(std::u16string_view path, uint64_t now)
{
    TKey key;
    key.Path = std::u16string(path);
    key.Folded = FoldCase(path);
    const std::u16string prefix = key.Folded + u'\\';
    size_t position = FOrder.size();
    for (size_t i = 0; i < FOrder.size(); ++i)
        if (FKeys[FOrder[i]].Folded.starts_with(prefix)) {
            position = i;
            break;
        }
    key.Items.push_back(TItem{OwnedChunk(TimeLine(now)), false, {}});
    if (position < FOrder.size()) {
        // Before its first subkey, which follows a blank line already.
        key.Header = OwnedChunk(KeyLine(path, now));
        key.Items.push_back(TItem{OwnedChunk("\n"), false, {}});
    } else {
        // At the end: the blank line that separates keys goes to what precedes.
        TChunk& before = FOrder.empty()                          ? FPreamble
                         : FKeys[FOrder.back()].Items.empty()    ? FKeys[FOrder.back()].Header
                                                                 : FKeys[FOrder.back()].Items.back().Text;
        EnsureEndsWithNewline(before);
        before = OwnedChunk(std::string(TextOf(before)) + "\n");
        key.Header = OwnedChunk(KeyLine(path, now));
    }
    const size_t index = FKeys.size();
    FIndex[key.Folded].push_back(index);
    FKeys.push_back(std::move(key));
    FOrder.insert(FOrder.begin() + static_cast<std::ptrdiff_t>(position), index);
    return index;
}

void TRegistryFile::Touch(TKey& key, uint64_t now)
{
    key.Header = OwnedChunk(KeyLine(key.Path, now));
    if (!key.Items.empty() && !key.Items.front().IsValue && TextOf(key.Items.front().Text).starts_with("#time="))
        key.Items.front().Text = OwnedChunk(TimeLine(now));
}

void TRegistryFile::SetValue(std::u16string_view path, std::u16string_view name, const TRegistryData& data,
                             uint64_t now)
{
    std::vector<size_t> blocks = BlocksOf(path);
    if (blocks.empty())
        blocks.push_back(AddKeyBlock(path, now));
    bool stored = false;
    for (size_t index : blocks) {
        TKey& key = FKeys[index];
        for (size_t i = 0; i < key.Items.size();) {
            TItem& item = key.Items[i];
            if (!item.IsValue || !SameTextWide(item.Name, name)) {
                ++i;
                continue;
            }
            if (stored) {
                key.Items.erase(key.Items.begin() + static_cast<std::ptrdiff_t>(i));
                Touch(key, now);
                continue;
            }
            // The stored name keeps the case it was written with.
            item.Text = OwnedChunk(FormatValue(item.Name, data));
            stored = true;
            Touch(key, now);
            ++i;
        }
    }
    if (stored)
        return;
    TKey& key = FKeys[blocks.back()];
    size_t position = 0;
    for (size_t i = 0; i < key.Items.size(); ++i) {
        const bool isOption = !key.Items[i].IsValue && TextOf(key.Items[i].Text).starts_with("#");
        if (key.Items[i].IsValue || (isOption && position == i))
            position = i + 1;
    }
    if (position == 0)
        EnsureEndsWithNewline(key.Header);
    else
        EnsureEndsWithNewline(key.Items[position - 1].Text);
    key.Items.insert(key.Items.begin() + static_cast<std::ptrdiff_t>(position),
                     TItem{OwnedChunk(FormatValue(name, data)), true, std::u16string(name)});
    Touch(key, now);
}

bool TRegistryFile::DeleteValue(std::u16string_view path, std::u16string_view name, uint64_t now)
{
    bool deleted = false;
    for (size_t index : BlocksOf(path)) {
        TKey& key = FKeys[index];
        const size_t before = key.Items.size();
        std::erase_if(key.Items, [&](const TItem& item) { return item.IsValue && SameTextWide(item.Name, name); });
        if (key.Items.size() != before) {
            deleted = true;
            Touch(key, now);
        }
    }
    return deleted;
}

} // namespace ld::deckinstall
