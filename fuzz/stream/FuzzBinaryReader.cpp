// Binary form reader: any bytes must be read into components or refused with a
// filer error; the text converter must agree on what is valid.
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
    try {
        const std::string binary = ToBinaryStream(input);
        const std::string text = BinaryToText(binary);
        // What we write we must be able to read back.
        TextToBinary(text);
    } catch (const EReadError&) {
    }
    return 0;
}
