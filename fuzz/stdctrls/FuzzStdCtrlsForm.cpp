// A stored form of standard controls, mutated: it must be read or refused
// with a class library exception, and whatever is read must show, paint,
// take a few keys and write back without harm, whatever values it holds.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/backends/HeadlessBackend.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Stream.h"
#include "platform/stream/Writer.h"
#include "platform/vcl/Forms.h"
#include "platform/win/TickSource.h"

using namespace ld;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Using a class of the unit links it in, and loading it registers them all.
    static const bool linked = TEdit::StaticClass() != nullptr;
    (void)linked;
    static THeadlessBackend* backend = [] {
        TickSource::UseSimulatedClock(10000);
        return new THeadlessBackend(640, 480);
    }();
    const std::string input(reinterpret_cast<const char*>(data), size);
    auto* form = new TForm(nullptr);
    try {
        TStringStream stream(input);
        ReadComponentFromStream(&stream, form);
        form->SetBounds(0, 0, 400, 300);
        form->Show();
        backend->RunUntilIdle();
        form->SelectFirst();
        for (Integer key : {Integer('A'), Integer(VK_RETURN), Integer(VK_DOWN), Integer(VK_TAB), Integer(VK_BACK)})
            backend->Key(key);
        backend->RunUntilIdle();
        TMemoryStream out;
        WriteComponentToStream(&out, form);
    } catch (const Exception& e) {
        if (std::getenv("LD_FUZZ_VERBOSE"))
            std::fprintf(stderr, "refused: %s\n", e.what());
    }
    delete form;
    backend->RunUntilIdle();
    return 0;
}
