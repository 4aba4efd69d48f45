// A form file holding a list with items, binary or text: any bytes must be
// read or refused with a filer error. A refused items value keeps the items
// read whole so far in a sound collection, which writes and reads back as it
// stands.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "controls/list/ShortcutList.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Stream.h"
#include "platform/stream/Writer.h"

using namespace ld;

namespace {

void Fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// Every item belongs to the collection at its own index.
void CheckItems(TShortcutItems* items)
{
    for (Integer i = 0; i < items->GetCount(); ++i) {
        TShortcutItem* item = items->GetItem(i);
        if (item == nullptr || item->GetOwnerItems() != items || item->GetIndex() != i)
            Fail("items out of order after reading");
    }
}

// What the list holds now must store and come back the same.
void CheckRoundTrip(TShortcutList* list)
{
    TMemoryStream stored;
    WriteComponentToStream(&stored, list);
    stored.SetPosition(0);
    auto* copy = new TShortcutList(nullptr);
    ReadComponentFromStream(&stored, copy);
    TShortcutItems* a = list->GetItems();
    TShortcutItems* b = copy->GetItems();
    if (a->GetCount() != b->GetCount())
        Fail("item count changed in a round trip");
    for (Integer i = 0; i < a->GetCount(); ++i) {
        TShortcutItem* x = a->GetItem(i);
        TShortcutItem* y = b->GetItem(i);
        if (x->GetCaption() != y->GetCaption() || x->GetImageIndex() != y->GetImageIndex() ||
            x->GetTag() != y->GetTag() || x->GetEnabled() != y->GetEnabled())
            Fail("an item changed in a round trip");
    }
    delete copy;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    auto* list = new TShortcutList(nullptr);
    try {
        TStringStream stream(input);
        ReadComponentFromStream(&stream, list);
    } catch (const EFilerError&) {
    } catch (const EStreamError&) {
    }
    CheckItems(list->GetItems());
    // A name read from the input may clash with nothing here; the stored form
    // of the items is what is checked.
    list->SetName("");
    CheckRoundTrip(list);
    delete list;
    return 0;
}
