// Text form parser: any text must convert or be refused with a parser error, and
// whatever it accepts must convert back and forth stably.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/stream/TextForm.h"

using namespace ld;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::string binary;
    try {
        binary = TextToBinary(input);
    } catch (const EReadError&) {
        return 0;
    }
    // Accepted text must give a valid stream whose text parses to the same
    // stream again (the second round trip is exact even where floats round).
    try {
        const std::string text = BinaryToText(binary);
        const std::string again = TextToBinary(text);
        if (BinaryToText(again) != text) {
            std::fprintf(stderr, "unstable round trip\n");
            std::abort();
        }
    } catch (const EReadError& e) {
        std::fprintf(stderr, "accepted text gave an unreadable stream: %s\n", e.Message().c_str());
        std::abort();
    }
    return 0;
}
