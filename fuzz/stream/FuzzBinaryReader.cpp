// Binary form reader: any bytes must be read into components or refused with a
// filer error; the text converter must agree on what is valid.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/stream/Reader.h"
#include "platform/stream/TextForm.h"
#include "tests/stream/TestComponents.h"

using namespace ld;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool registered = (test::RegisterTestClasses(), true);
    (void)registered;
    const std::string input(reinterpret_cast<const char*>(data), size);
    try {
        TStringStream stream(input);
        TComponent* root = ReadComponentFromStream(&stream, nullptr);
        FreeObject(root);
    } catch (const EFilerError&) {
    } catch (const EStreamError&) {
    }
    std::string text;
    try {
        text = BinaryToText(ToBinaryStream(input));
    } catch (const EReadError&) {
        return 0;
    }
    // What we write we must be able to read back, as the same text.
    try {
        if (BinaryToText(TextToBinary(text)) != text) {
            std::fprintf(stderr, "the text form changed when read back\n");
            std::abort();
        }
    } catch (const EReadError& e) {
        std::fprintf(stderr, "the text form written was unreadable: %s\n", e.Message().c_str());
        std::abort();
    }
    return 0;
}
