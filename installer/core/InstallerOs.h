// The operating-system calls the installer makes, and nothing more. The
// algorithms are written once against this interface; one implementation uses the
// real Win32 "A" calls, the other works on a Wine prefix from Linux.
//
// Strings are 8-bit ANSI bytes (code page 1252), exactly as the "A" calls take
// and return them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ld::deckinstall {

enum class TRootKey { LocalMachine, CurrentUser };

using TKeyHandle = std::uintptr_t;

// Registry data types the installer tells apart.
constexpr uint32_t REG_NONE = 0;
constexpr uint32_t REG_SZ = 1;
constexpr uint32_t REG_EXPAND_SZ = 2;
constexpr uint32_t REG_BINARY = 3;
constexpr uint32_t REG_DWORD = 4;
constexpr uint32_t REG_MULTI_SZ = 7;

enum class TQueryResult { Ok, NotFound, Failed };

struct TRegValueData {
    uint32_t Type = REG_NONE;
    std::string Bytes; // string types already converted to ANSI, terminator included
};

enum class TMessageKind { Information, Error };

class TInstallerOs {
public:
    virtual ~TInstallerOs() = default;

    // Opens an existing key for full access; never creates one. False when the key
    // is missing or full access is refused.
    virtual bool OpenKey(TRootKey root, const std::string& path, TKeyHandle& key) = 0;
    virtual TQueryResult QueryValue(TKeyHandle key, const std::string& name, TRegValueData& data) = 0;
    // Stores type REG_SZ: the text plus its terminating zero byte.
    virtual bool SetStringValue(TKeyHandle key, const std::string& name, const std::string& text) = 0;
    virtual std::vector<std::string> ValueNames(TKeyHandle key) = 0;
    virtual bool DeleteValue(TKeyHandle key, const std::string& name) = 0;
    virtual void CloseKey(TKeyHandle key) = 0;

    // True only for a file; a folder of that name does not count.
    virtual bool IsFile(const std::string& path) = 0;
    virtual bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
    // Names (without folder) of every entry matching a wildcard pattern such as
    // "D:\Lib\name*.*", hidden, system, read-only entries and sub-folders included.
    virtual std::vector<std::string> FindNames(const std::string& pattern) = 0;
    virtual std::string SystemFolder() = 0;
    virtual std::string ProgramFileName() = 0;

    // Whole-file reading and writing of a text file. Reading false: it could not
    // be opened. Writing false: it could not be created. A write never leaves a
    // half-written file behind.
    virtual bool ReadWholeFile(const std::string& path, std::string& bytes) = 0;
    virtual bool WriteWholeFile(const std::string& path, const std::string& bytes) = 0;

    // Equality ignoring case by the rules of the user's locale.
    virtual bool SameTextIgnoreCase(const std::string& a, const std::string& b) = 0;

    // Information: the final message. Error: the report of an unhandled failure.
    virtual void ShowMessage(const std::string& text, const std::string& caption, TMessageKind kind) = 0;
};

} // namespace ld::deckinstall
