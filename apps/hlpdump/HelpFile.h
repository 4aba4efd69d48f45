// A reader for Windows Help 4 files (.hlp): the internal directory, the help
// file's title from |SYSTEM, topic titles from |TTLBTREE, context names through
// the hashes of |CONTEXT, and the keywords of |KWBTREE with their topics from
// |KWDATA. It reads what the tests need of a help file, not its topic text.
//
// A help file is outside data: every count and offset is checked against the
// bytes that hold it, a B+ tree walk visits each page at most once, and a
// malformed file raises EHelpFileError naming the byte offset and the fault.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ld::hlp {

class EHelpFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct THelpInternalFile {
    std::string Name;
    uint32_t Offset = 0; // of the file's own header, from the start of the help file
    uint32_t Size = 0;   // of its data, the header left out
};

struct THelpKeyword {
    std::string Text;
    std::vector<uint32_t> Topics; // topic offsets, in the order the file lists them
};

class THelpFile {
public:
    // Larger inputs are refused before anything is read: no help file of ours
    // comes near it, and it bounds what a malformed one can make us hold.
    static constexpr size_t MaxSize = 64u << 20;

    explicit THelpFile(std::string bytes);
    // EHelpFileError also for a file that cannot be read.
    static THelpFile Load(const std::string& path);

    const std::vector<THelpInternalFile>& Files() const { return FFiles; }
    const THelpInternalFile* FindFile(std::string_view name) const;
    // |SYSTEM's format number: 33 for the Windows 95 help compiler's files.
    uint16_t Minor() const { return FMinor; }
    const std::string& Title() const { return FTitle; }
    // The contents file |SYSTEM names, empty when it names none.
    const std::string& ContentsFile() const { return FContentsFile; }

    // The topic offset a context name leads to, or none.
    std::optional<uint32_t> FindContext(std::string_view name) const;
    const std::map<int32_t, uint32_t>& Contexts() const { return FContexts; }
    // Topic titles by topic offset.
    const std::map<uint32_t, std::string>& TopicTitles() const { return FTitles; }
    // The title of the topic at Offset, empty when it has none.
    std::string TitleOf(uint32_t offset) const;
    // The K keywords in the file's order (sorted as the viewer's index shows them).
    const std::vector<THelpKeyword>& Keywords() const { return FKeywords; }
    const THelpKeyword* FindKeyword(std::string_view text) const;

    // The hash under which |CONTEXT keeps a context name.
    static int32_t ContextHash(std::string_view name);

private:
    void ReadDirectory();
    void ReadSystem();
    void ReadContexts();
    void ReadTitles();
    void ReadKeywords();
    std::string_view DataOf(const THelpInternalFile& file) const;

    std::string FBytes;
    std::vector<THelpInternalFile> FFiles;
    uint16_t FMinor = 0;
    std::string FTitle;
    std::string FContentsFile;
    std::map<int32_t, uint32_t> FContexts;
    std::map<uint32_t, std::string> FTitles;
    std::vector<THelpKeyword> FKeywords;
};

} // namespace ld::hlp
