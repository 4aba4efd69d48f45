// A temporary Wine prefix for the installer's tests: registry files, a drive_c
// tree, drive links, a distribution folder, and a way to run the real program.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace ld::deckinstall::test {

namespace fs = std::filesystem;

using TValues = std::vector<std::pair<std::string, std::string>>;

// One key of a registry file as Wine writes it, with string values; Path and the
// values are given unescaped (single backslashes).
std::string RegKey(const std::string& path, const TValues& values);
// A value line with raw data text, such as dword:00000001.
std::string RegRawValue(const std::string& name, const std::string& data);
std::string RegFile(const std::string& root, const std::string& arch, const std::string& body);

struct TRunResult {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

class TTestPrefix {
public:
    TTestPrefix();
    ~TTestPrefix();
    TTestPrefix(const TTestPrefix&) = delete;
    TTestPrefix& operator=(const TTestPrefix&) = delete;

    fs::path Root;   // everything of the test
    fs::path Prefix; // the Wine prefix
    fs::path DriveC; // drive_c
    fs::path Dist;   // the distribution folder (holds the program)

    void WriteSystemReg(const std::string& body, const std::string& arch = "win32");
    void WriteUserReg(const std::string& body);
    // A drive letter linked to a folder of the prefix ("d" -> drive_d).
    fs::path AddDrive(char letter);
    void MoveDistribution(const fs::path& folder);

    static void WriteFile(const fs::path& path, const std::string& content);
    static std::string ReadFile(const fs::path& path);

    // The package builds and help files in the distribution folder.
    void AddPackage(const std::string& libFolder, const std::string& fileName);
    void AddHelpFiles();

    // Runs the real deckinstall (copied into Dist) with WINEPREFIX set.
    TRunResult Run();
    // As root, runs as user and group 65534 on a tree handed over to them, so that
    // file permissions hold; otherwise as Run.
    TRunResult RunAsOrdinaryUser();
    // As root, hands the whole tree to user and group 65534; returns the program.
    fs::path HandOverToOrdinaryUser();
    TRunResult RunProgram(const fs::path& program, const std::vector<std::string>& arguments, bool asNobody = false);

    // A string value of user.reg or system.reg as the installer would read it; a
    // missing value reads "<missing>".
    std::string UserValue(const std::string& key, const std::string& name) const;
    std::string MachineValue(const std::string& key, const std::string& name) const;
    std::vector<std::string> UserValueNames(const std::string& key) const;
};

} // namespace ld::deckinstall::test
