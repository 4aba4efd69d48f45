// Where tests write their files (PNGs, logs, form files): the build's
// test-output folder. CTest names it in LD_TEST_OUTPUT; a test program started
// by hand falls back to the same folder, compiled in, so it never writes into
// whatever directory it was started from. A relative folder is refused for
// the same reason.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#ifndef LD_TEST_OUTPUT_DEFAULT
#error "LD_TEST_OUTPUT_DEFAULT is defined for every test target by the top-level CMakeLists.txt"
#endif

namespace ld::test {

// The folder (or its sub-folder Sub), created when missing.
inline std::filesystem::path TestOutputDir(const std::string& sub = {})
{
    const char* env = std::getenv("LD_TEST_OUTPUT");
    const std::filesystem::path dir = env != nullptr && *env != 0 ? env : LD_TEST_OUTPUT_DEFAULT;
    if (dir.is_relative())
        throw std::runtime_error("LD_TEST_OUTPUT must be an absolute folder, not '" + dir.string() + "'");
    const std::filesystem::path path = sub.empty() ? dir : dir / sub;
    std::filesystem::create_directories(path);
    return path;
}

inline std::string TestOutputPath(const std::string& name) { return (TestOutputDir() / name).string(); }

} // namespace ld::test
