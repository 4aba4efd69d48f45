// One of a Wine prefix's registry files (system.reg, user.reg), read whole and
// written back with every line it does not change kept byte for byte.
#pragma once

#include "installer/wine/RegistryText.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ld::deckinstall {

// A malformed registry file; the message names the file and the line.
class ERegistryFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TRegistryFile {
public:
    // Throws ERegistryFileError for anything Wine would not read back as written.
    TRegistryFile(std::string text, std::string fileName);

    std::string Serialize() const;
    const std::string& FileName() const { return FFileName; }
    // "win32", "win64", or empty when the file does not say.
    const std::string& Architecture() const { return FArchitecture; }

    // Key paths are relative to the file's root, parts joined by one backslash;
    // names compare without regard to case. A key that only has subkeys exists too.
    bool KeyExists(std::u16string_view path) const;
    std::vector<std::u16string> ValueNames(std::u16string_view path) const;
    bool QueryValue(std::u16string_view path, std::u16string_view name, TRegistryData& data) const;
    // Now is the modification time as a FILETIME (100 ns since 1601).
    void SetValue(std::u16string_view path, std::u16string_view name, const TRegistryData& data, uint64_t now);
    bool DeleteValue(std::u16string_view path, std::u16string_view name, uint64_t now);

private:
    // Text of the original file (Begin, End) or text of our own.
    struct TChunk {
        size_t Begin = 0;
        size_t End = 0;
        bool IsOwned = false;
        std::string Owned;
    };
    struct TItem {
        TChunk Text;
        bool IsValue = false;
        std::u16string Name;
    };
    struct TKey {
        std::u16string Path;
        std::u16string Folded;
        TChunk Header;
        std::vector<TItem> Items;
    };

    void Parse();
    void AddParsedKey(std::u16string path, size_t begin, size_t end);
    void EnsureEndsWithNewline(TChunk& chunk);
    [[noreturn]] void Fail(size_t lineNumber, const std::string& what) const;
    std::string_view TextOf(const TChunk& chunk) const;
    std::vector<size_t> BlocksOf(std::u16string_view path) const;
    size_t AddKeyBlock(std::u16string_view path, uint64_t now);
    void Touch(TKey& key, uint64_t now);
    static TChunk OwnedChunk(std::string text);

    std::string FText;
    std::string FFileName;
    std::string FArchitecture;
    TChunk FPreamble;
    std::vector<TKey> FKeys;      // in the order they were read or added
    std::vector<size_t> FOrder;   // the order in which they are written
    std::unordered_map<std::u16string, std::vector<size_t>> FIndex; // folded path -> blocks
};

// The current time as a FILETIME.
uint64_t FileTimeNow();

} // namespace ld::deckinstall
