// The installer's two costly paths: a large registry file read and written back,
// and the cleaning of a long library search path on disk.
#include "installer/core/Environments.h"
#include "installer/core/PackageInstall.h"
#include "installer/wine/Codepage.h"
#include "installer/wine/RegistryFile.h"
#include "installer/wine/WineOs.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace ld::deckinstall;

namespace {

// A user.reg of about 20 MB with the value forms Wine writes.
std::string MakeLargeUserReg()
{
    std::string text = "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n"
                       "#arch=win64\n";
    for (int key = 0; text.size() < 20u * 1024 * 1024; ++key) {
        text += "\n[Software\\\\Vendor" + std::to_string(key % 97) + "\\\\Product\\\\Settings" +
                std::to_string(key) + "] 1700000000\n#time=1da1747c66d0000\n";
        for (int value = 0; value < 8; ++value) {
            const std::string name = "\"Value" + std::to_string(value) + "\"=";
            switch (value % 4) {
            case 0: text += name + "\"C:\\\\Program Files\\\\Vendor\\\\B\\xf6rland\\\\file" + std::to_string(key) + ".dat\"\n"; break;
            case 1: text += name + "dword:0000" + std::to_string(1000 + value) + "\n"; break;
            case 2: text += name + "str(2):\"%SystemRoot%\\\\system32\\\\x.dll\"\n"; break;
            default:
                text += name + "hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\n"
                               "  17,18,19,1a,1b,1c,1d,1e,1f\n";
            }
        }
    }
    text += "\n[Software\\\\Borland\\\\Delphi\\\\4.0\\\\Library] 1700000000\n#time=1da1747c66d0000\n"
            "\"Search Path\"=\"$(DELPHI)\\\\Lib\"\n";
    return text;
}

void BM_RegistryRoundTrip20MB(benchmark::State& state)
{
    static const std::string text = MakeLargeUserReg();
    const fs::path out = fs::temp_directory_path() / ("ldinstall-bench-" + std::to_string(getpid()) + ".reg");
    const TRegistryData value{1, WideToBytes(AnsiToWide("$(DELPHI)\\Lib;c:\\setup\\LibD4") + u'\0')};
    for (auto _ : state) {
        TRegistryFile file(text, "user.reg");
        file.SetValue(u"Software\\Borland\\Delphi\\4.0\\Library", u"Search Path", value, FileTimeNow());
        std::ofstream(out, std::ios::binary | std::ios::trunc) << file.Serialize();
    }
    fs::remove(out);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_RegistryRoundTrip20MB)->Unit(benchmark::kMillisecond);

void WriteFile(const fs::path& path, const std::string& content)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

// A prefix whose Delphi root holds 2,500 library folders, with 5,000 stale folders
// of the package outside it (dropped from the path, never emptied, so every
// iteration does the same work) and 2,500 entries that name no folder.
struct TSearchPathBench {
    fs::path Root;
    std::string SearchPath;

    TSearchPathBench()
    {
        std::string pattern = (fs::temp_directory_path() / "ldinstall-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp");
        Root = pattern;
        const fs::path prefix = Root / "prefix";
        fs::create_directories(prefix / "dosdevices");
        fs::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
        WriteFile(prefix / "system.reg", "WINE REGISTRY Version 2\n");
        WriteFile(prefix / "user.reg", "WINE REGISTRY Version 2\n");
        for (int i = 0; i < 10000; ++i) {
            std::string entry;
            if (i % 2 == 0) {
                entry = "C:\\Old\\Copy" + std::to_string(i);
                WriteFile(prefix / "drive_c" / "Old" / ("Copy" + std::to_string(i)) / "LaunchdeckPackageD4.bpl", "x");
            } else if (i % 4 == 1) {
                entry = "$(DELPHI)\\Lib\\Part" + std::to_string(i);
                fs::create_directories(prefix / "drive_c" / "Borland" / "Delphi4" / "Lib" / ("Part" + std::to_string(i)));
            } else {
                entry = "C:\\Nowhere\\Part" + std::to_string(i);
            }
            SearchPath += (i ? ";" : "") + entry;
        }
    }
    ~TSearchPathBench() { fs::remove_all(Root); }
};

void BM_CleanSearchPath10000(benchmark::State& state)
{
    static TSearchPathBench bench;
    std::ostringstream sink;
    TWineOs os(TWinePrefix(bench.Root / "prefix"), sink, sink);
    TInstallContext context{os, "c:\\setup\\", "C:\\windows\\system32\\"};
    size_t kept = 0;
    for (auto _ : state) {
        std::string searchPath = bench.SearchPath;
        CleanSearchPath(context, searchPath, "C:\\Borland\\Delphi4\\", "c:\\setup\\LibD4");
        kept = static_cast<size_t>(std::count(searchPath.begin(), searchPath.end(), ';')) + 1;
    }
    if (kept != 5001)
        state.SkipWithError("the cleaning kept the wrong entries");
    state.counters["entries_kept"] = static_cast<double>(kept);
}
BENCHMARK(BM_CleanSearchPath10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
