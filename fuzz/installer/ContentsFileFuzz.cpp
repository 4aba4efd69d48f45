// Help contents files from outside: any bytes split into lines without reading
// past the end, and joining then splitting gives the same lines back.
#include "installer/core/ContentsFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace ld::deckinstall;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = SplitContentsLines(bytes);
    for (const std::string& line : lines)
        if (line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
            std::abort();
    if (SplitContentsLines(JoinContentsLines(lines)) != lines)
        std::abort();
    return 0;
}
