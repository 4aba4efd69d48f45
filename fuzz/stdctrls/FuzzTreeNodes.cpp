// A stored tree view: any bytes must be read into the tree or refused with a
// filer error, and a tree that was read must write and read back to the same
// nodes.
#include <cstdlib>
#include <string>

#include "platform/stdctrls/ComCtrls.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Writer.h"

using namespace ld;

namespace {

std::string Nodes(TTreeView* tree)
{
    std::string out;
    TTreeNodes* items = tree->GetItems();
    for (Integer i = 0; i < items->GetCount(); ++i)
        out += std::to_string(items->GetItem(i)->GetLevel()) + ":" + items->GetItem(i)->GetText() + "\n";
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    auto* tree = new TTreeView(nullptr);
    try {
        TStringStream stream(input);
        ReadComponentFromStream(&stream, tree);
    } catch (const EFilerError&) {
        delete tree;
        return 0;
    } catch (const EStreamError&) {
        delete tree;
        return 0;
    }
    TMemoryStream written;
    WriteComponentToStream(&written, tree);
    written.SetPosition(0);
    auto* copy = new TTreeView(nullptr);
    ReadComponentFromStream(&written, copy);
    if (Nodes(copy) != Nodes(tree))
        std::abort();
    delete copy;
    delete tree;
    return 0;
}
