// Text pasted into a designed form comes from any program: any bytes must be
// pasted or refused with an exception of the class library, and a refusal
// leaves the form's stored bytes as they were. What is pasted is one change:
// undone it gives the bytes from before, redone those from after, and the
// form saved with it opens again as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "controls/bar/Launchdeck.h"
#include "controls/list/ShortcutList.h"
#include "host/DesignHost.h"
#include "host/FormDesigner.h"
#include "platform/core/ClassRegistry.h"

using namespace ld;

namespace {

// A bar of one sheet holding a list; the bar selected, so a pasted sheet joins it.
constexpr const char* BaseForm = "object Form1: TForm\r\n"
                                 "  object Launchdeck1: TLaunchdeck\r\n"
                                 "    object ShortcutSheet1: TShortcutSheet\r\n"
                                 "      object ShortcutList1: TShortcutList\r\n"
                                 "      end\r\n"
                                 "    end\r\n"
                                 "  end\r\n"
                                 "end\r\n";

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static TDesignHost host;
    static const bool registered = [] {
        RegisterClasses({TLaunchdeck::StaticClass(), TShortcutSheet::StaticClass(), TShortcutList::StaticClass()});
        return true;
    }();
    (void)registered;
    const std::string text(reinterpret_cast<const char*>(data), size);
    auto designer = THostFormDesigner::Open(host.GetRegistry(), BaseForm);
    designer->SelectComponent(designer->GetForm()->FindComponent("Launchdeck1"));
    const std::string before = designer->Save(false);
    try {
        designer->PasteText(text);
    } catch (const Exception&) {
        Check(designer->Save(false) == before);
        Check(!designer->CanUndo());
        return 0;
    }
    const std::string after = designer->Save(false);
    designer->Undo();
    Check(designer->Save(false) == before);
    designer->Redo();
    Check(designer->Save(false) == after);
    Check(THostFormDesigner::Open(host.GetRegistry(), after)->Save(false) == after);
    return 0;
}
