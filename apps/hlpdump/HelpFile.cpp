// Reading a Windows Help 4 file. Layout of the parts read here:
//
//   header        u32 magic 0x00035F3F, i32 directory offset, i32 first free
//                 block, i32 file size
//   internal file i32 reserved, i32 used size, u8 flags, then its data
//   directory     a B+ tree (internal file at the directory offset) of
//                 (zero-ended name, i32 offset of the internal file)
//   B+ tree       u16 magic 0x293B, u16 flags, u16 page size, char[16] layout,
//                 i16 0, i16 splits, i16 root page, i16 -1, i16 pages,
//                 i16 levels, i32 entries; then the pages. An index page starts
//                 u16 free, i16 entries, i16 first child; a leaf page u16 free,
//                 i16 entries, i16 previous leaf, i16 next leaf (-1 ends).
//   |SYSTEM       u16 0x036C, u16 minor, u16 major, i32 date, u16 flags; then
//                 records (u16 type, u16 size, data): 1 title, 10 contents file
//   |CONTEXT      leaves of (i32 hash of the context name, u32 topic offset)
//   |TTLBTREE     leaves of (u32 topic offset, zero-ended title)
//   |KWBTREE      leaves of (zero-ended keyword, i16 count, i32 offset into
//                 |KWDATA, which holds count u32 topic offsets there)
//
// Numbers are little-endian.
#include "apps/hlpdump/HelpFile.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <functional>
#include <iterator>

namespace ld::hlp {

namespace {

constexpr uint32_t HelpMagic = 0x00035F3F;
constexpr uint16_t BTreeMagic = 0x293B;
constexpr uint16_t SystemMagic = 0x036C;
constexpr size_t FileHeaderSize = 9;
constexpr size_t BTreeHeaderSize = 38;
constexpr int MaxLevels = 16;

// Bounded reading of one stretch of the help file; Base is the stretch's offset
// in the file, so that every message names an absolute byte offset.
class TCursor {
public:
    TCursor(std::string_view data, size_t base, std::string what) : FData(data), FBase(base), FWhat(std::move(what)) {}

    size_t Pos() const { return FPos; }
    size_t Left() const { return FData.size() - FPos; }
    bool AtEnd() const { return FPos == FData.size(); }

    [[noreturn]] void Fail(const std::string& fault) const
    {
        throw EHelpFileError("offset " + std::to_string(FBase + FPos) + ": " + FWhat + ": " + fault);
    }

    void Need(size_t count) const
    {
        if (count > Left())
            Fail("needs " + std::to_string(count) + " bytes, " + std::to_string(Left()) + " left");
    }
    void Skip(size_t count)
    {
        Need(count);
        FPos += count;
    }
    uint8_t U8()
    {
        Need(1);
        return static_cast<uint8_t>(FData[FPos++]);
    }
    uint16_t U16()
    {
        Need(2);
        const uint16_t low = U8();
        return static_cast<uint16_t>(low | (U8() << 8));
    }
    int16_t I16() { return static_cast<int16_t>(U16()); }
    uint32_t U32()
    {
        Need(4);
        const uint32_t low = U16();
        return low | (static_cast<uint32_t>(U16()) << 16);
    }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    std::string StringZ()
    {
        const size_t end = FData.find('\0', FPos);
        if (end == std::string_view::npos)
            Fail("a text runs past its end");
        std::string text(FData.substr(FPos, end - FPos));
        FPos = end + 1;
        return text;
    }

private:
    std::string_view FData;
    size_t FBase;
    std::string FWhat;
    size_t FPos = 0;
};

// Calls ReadEntry for every entry of the tree's leaves, first to last. Each
// page is read at most once; a tree whose pages or counts disagree is refused.
void WalkBTree(std::string_view data, size_t base, const std::string& name, const std::function<void(TCursor&)>& readEntry)
{
    TCursor header(data, base, name);
    if (header.U16() != BTreeMagic)
        header.Fail("not a B+ tree");
    header.U16(); // flags
    const uint16_t pageSize = header.U16();
    header.Skip(16 + 2 + 2); // layout, zero, splits
    const int16_t root = header.I16();
    header.I16(); // -1
    const int16_t totalPages = header.I16();
    const int16_t levels = header.I16();
    const int32_t totalEntries = header.I32();
    if (pageSize < 8)
        header.Fail("page size " + std::to_string(pageSize) + " is too small");
    if (totalPages < 0 || BTreeHeaderSize + size_t(totalPages) * pageSize > data.size())
        header.Fail(std::to_string(totalPages) + " pages of " + std::to_string(pageSize) + " bytes do not fit");
    if (levels <= 0 || totalPages == 0) {
        if (totalEntries != 0)
            header.Fail("an empty tree claims " + std::to_string(totalEntries) + " entries");
        return;
    }
    if (levels > MaxLevels)
        header.Fail(std::to_string(levels) + " levels");

    const auto page = [&](int32_t number) {
        if (number < 0 || number >= totalPages)
            header.Fail("page " + std::to_string(number) + " of " + std::to_string(totalPages));
        const size_t start = BTreeHeaderSize + size_t(number) * pageSize;
        return TCursor(data.substr(start, pageSize), base + start, name);
    };

    int32_t current = root;
    for (int level = 1; level < levels; ++level) {
        TCursor index = page(current);
        index.U16();
        index.I16();
        current = index.I16(); // the first child
    }
    std::vector<bool> seen(size_t(totalPages), false);
    int64_t count = 0;
    while (current != -1) {
        TCursor leaf = page(current);
        if (seen[size_t(current)])
            leaf.Fail("the leaf pages form a loop");
        seen[size_t(current)] = true;
        leaf.U16();
        const int16_t entries = leaf.I16();
        leaf.I16();
        const int16_t next = leaf.I16();
        if (entries < 0)
            leaf.Fail(std::to_string(entries) + " entries");
        for (int i = 0; i < entries; ++i)
            readEntry(leaf);
        count += entries;
        current = next;
    }
    if (count != totalEntries)
        header.Fail("the leaves hold " + std::to_string(count) + " entries, the header says " +
                    std::to_string(totalEntries));
}

// Context names are kept as hashes of their bytes. Most bytes count as their
// value less 0x30, the lower-case letters and the brackets less 0x50 (so a
// letter counts alike in either case), the bytes below '0' as 0xD0 more (a
// signed byte, negative); a few punctuation marks have values of their own.
constexpr std::array<int8_t, 256> HashTable = [] {
    std::array<int8_t, 256> t{};
    for (int c = 0; c < 256; ++c)
        t[size_t(c)] = static_cast<int8_t>(c < 0x30 ? c + 0xD0 : c <= 0x5A || c >= 0x80 ? c - 0x30 : c - 0x50);
    t[0x00] = 0;
    t['!'] = 0x0B;
    t['.'] = 0x0C;
    t['0'] = 0x0A;
    t['_'] = 0x0D;
    t[0xB4] = 0x0B;
    return t;
}();

} // namespace

int32_t THelpFile::ContextHash(std::string_view name)
{
    if (name.empty())
        return 1;
    uint32_t hash = 0;
    for (const char c : name)
        hash = hash * 43 + static_cast<uint32_t>(static_cast<int32_t>(HashTable[static_cast<uint8_t>(c)]));
    return static_cast<int32_t>(hash);
}

THelpFile::THelpFile(std::string bytes) : FBytes(std::move(bytes))
{
    if (FBytes.size() > MaxSize)
        throw EHelpFileError("the file has " + std::to_string(FBytes.size()) + " bytes, more than a help file may have");
    ReadDirectory();
    ReadSystem();
    ReadContexts();
    ReadTitles();
    ReadKeywords();
}

THelpFile THelpFile::Load(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw EHelpFileError("cannot open the file");
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || size_t(size) > MaxSize)
        throw EHelpFileError("the file is too large for a help file");
    in.seekg(0);
    std::string bytes(size_t(size), '\0');
    if (!in.read(bytes.data(), size))
        throw EHelpFileError("cannot read the file");
    return THelpFile(std::move(bytes));
}

void THelpFile::ReadDirectory()
{
    TCursor header(FBytes, 0, "file header");
    if (header.U32() != HelpMagic)
        header.Fail("not a help file");
    const int32_t directory = header.I32();
    header.I32(); // first free block
    const int32_t size = header.I32();
    if (size < 16 || uint32_t(size) > FBytes.size())
        header.Fail("the header gives the file size " + std::to_string(size) + ", it has " +
                    std::to_string(FBytes.size()) + " bytes");
    const std::string_view file(FBytes.data(), size_t(size));

    // An internal file: its header, then its data, all inside the help file.
    const auto internal = [&](const std::string& name, int32_t offset) {
        TCursor at(file, 0, name);
        if (offset < 16 || size_t(offset) > file.size())
            at.Fail("its offset " + std::to_string(offset) + " lies outside the file");
        TCursor fh(file.substr(size_t(offset)), size_t(offset), name);
        fh.I32(); // reserved
        const int32_t used = fh.I32();
        fh.U8();
        if (used < 0 || size_t(used) > fh.Left())
            fh.Fail("its size " + std::to_string(used) + " runs past the end of the file");
        return THelpInternalFile{name, uint32_t(offset), uint32_t(used)};
    };

    const THelpInternalFile dir = internal("internal directory", directory);
    WalkBTree(DataOf(dir), dir.Offset + FileHeaderSize, "internal directory", [&](TCursor& entry) {
        std::string name = entry.StringZ();
        const int32_t offset = entry.I32();
        FFiles.push_back(internal(name, offset));
    });
}

std::string_view THelpFile::DataOf(const THelpInternalFile& file) const
{
    return std::string_view(FBytes).substr(file.Offset + FileHeaderSize, file.Size);
}

const THelpInternalFile* THelpFile::FindFile(std::string_view name) const
{
    for (const THelpInternalFile& file : FFiles)
        if (file.Name == name)
            return &file;
    return nullptr;
}

void THelpFile::ReadSystem()
{
    const THelpInternalFile* system = FindFile("|SYSTEM");
    if (system == nullptr)
        throw EHelpFileError("the help file has no |SYSTEM file");
    TCursor in(DataOf(*system), system->Offset + FileHeaderSize, "|SYSTEM");
    if (in.U16() != SystemMagic)
        in.Fail("wrong magic number");
    FMinor = in.U16();
    in.U16(); // major
    in.I32(); // date
    in.U16(); // flags
    if (FMinor <= 16) {
        FTitle = in.StringZ();
        return;
    }
    while (!in.AtEnd()) {
        const uint16_t type = in.U16();
        const uint16_t size = in.U16();
        in.Need(size);
        std::string data(DataOf(*system).substr(in.Pos(), size));
        in.Skip(size);
        // Text records end with a zero byte; a missing one ends the text at the record's end.
        if (const size_t end = data.find('\0'); end != std::string::npos)
            data.resize(end);
        if (type == 1)
            FTitle = data;
        else if (type == 10)
            FContentsFile = data;
    }
}

void THelpFile::ReadContexts()
{
    if (const THelpInternalFile* context = FindFile("|CONTEXT"))
        WalkBTree(DataOf(*context), context->Offset + FileHeaderSize, "|CONTEXT", [&](TCursor& entry) {
            const int32_t hash = entry.I32();
            FContexts[hash] = entry.U32();
        });
}

void THelpFile::ReadTitles()
{
    if (const THelpInternalFile* titles = FindFile("|TTLBTREE"))
        WalkBTree(DataOf(*titles), titles->Offset + FileHeaderSize, "|TTLBTREE", [&](TCursor& entry) {
            const uint32_t offset = entry.U32();
            FTitles[offset] = entry.StringZ();
        });
}

void THelpFile::ReadKeywords()
{
    const THelpInternalFile* tree = FindFile("|KWBTREE");
    if (tree == nullptr)
        return;
    const THelpInternalFile* data = FindFile("|KWDATA");
    if (data == nullptr)
        throw EHelpFileError("the help file has |KWBTREE but no |KWDATA");
    const std::string_view topics = DataOf(*data);
    WalkBTree(DataOf(*tree), tree->Offset + FileHeaderSize, "|KWBTREE", [&](TCursor& entry) {
        THelpKeyword keyword{entry.StringZ(), {}};
        const int16_t count = entry.I16();
        const int32_t offset = entry.I32();
        if (count < 0 || offset < 0 || size_t(offset) + size_t(count) * 4 > topics.size())
            entry.Fail("keyword \"" + keyword.Text + "\": " + std::to_string(count) + " topics at " +
                       std::to_string(offset) + " lie outside |KWDATA");
        TCursor list(topics.substr(size_t(offset), size_t(count) * 4), data->Offset + FileHeaderSize + size_t(offset),
                     "|KWDATA");
        keyword.Topics.reserve(size_t(count));
        for (int i = 0; i < count; ++i)
            keyword.Topics.push_back(list.U32());
        FKeywords.push_back(std::move(keyword));
    });
}

std::optional<uint32_t> THelpFile::FindContext(std::string_view name) const
{
    const auto found = FContexts.find(ContextHash(name));
    if (found == FContexts.end())
        return std::nullopt;
    return found->second;
}

std::string THelpFile::TitleOf(uint32_t offset) const
{
    const auto found = FTitles.find(offset);
    return found == FTitles.end() ? std::string() : found->second;
}

const THelpKeyword* THelpFile::FindKeyword(std::string_view text) const
{
    for (const THelpKeyword& keyword : FKeywords)
        if (keyword.Text == text)
            return &keyword;
    return nullptr;
}

} // namespace ld::hlp
