// TShortcutItem and TShortcutItems: the items of a list, how their changes
// reach the list, and their stored form (the defined property "Items").
#include "controls/list/ShortcutList.h"

#include "platform/core/SysUtils.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Writer.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"

namespace ld {

// ---- TShortcutItem -----------------------------------------------------------------------

TClass TShortcutItem::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TShortcutItem>("TShortcutItem", TPersistent::StaticClass());
    return &info;
}

TShortcutItem::TShortcutItem(TShortcutItems* owner) : FOwnerItems(owner) {}

TShortcutItem::~TShortcutItem()
{
    if (FOwnerItems != nullptr)
        FOwnerItems->Remove(this);
}

void TShortcutItem::Assign(TPersistent* source)
{
    auto* item = dynamic_cast<TShortcutItem*>(source);
    if (item == nullptr) {
        inherited::Assign(source);
        return;
    }
    SetCaption(item->FCaption);
    FData = item->FData;
    SetImageIndex(item->FImageIndex);
    FTag = item->FTag;
    FEnabled = item->FEnabled;
}

void TShortcutItem::SetCaption(const std::string& value)
{
    if (value == FCaption)
        return;
    FCaption = value;
    if (FOwnerItems != nullptr)
        FOwnerItems->Changed();
}

void TShortcutItem::SetImageIndex(Integer value)
{
    if (value == FImageIndex)
        return;
    FImageIndex = value;
    if (FOwnerItems != nullptr)
        FOwnerItems->Changed();
}

Integer TShortcutItem::GetIndex() const { return FOwnerItems != nullptr ? FOwnerItems->IndexOf(this) : -1; }

TShortcutList* TShortcutItem::GetShortcutList() const
{
    return FOwnerItems != nullptr ? FOwnerItems->GetShortcutList() : nullptr;
}

// ---- TShortcutItems ----------------------------------------------------------------------

TClass TShortcutItems::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TShortcutItems>("TShortcutItems", TPersistent::StaticClass());
    return &info;
}

TShortcutItems::TShortcutItems(TShortcutList* list) : FList(new TList()), FShortcutList(list) {}

TShortcutItems::~TShortcutItems()
{
    Clear();
    FreeAndNil(FList);
}

TShortcutItem* TShortcutItems::Add()
{
    auto* item = new TShortcutItem(this);
    FList->Add(item);
    Changed();
    return item;
}

TShortcutItem* TShortcutItems::Insert(Integer index)
{
    auto* item = new TShortcutItem(this);
    try {
        FList->Insert(index, item);
    } catch (...) {
        // Not listed, so its destructor finds nothing to remove.
        delete item;
        throw;
    }
    Changed();
    return item;
}

TShortcutItem* TShortcutItems::GetItem(Integer index) const
{
    if (index < 0 || index >= FList->Count())
        return nullptr;
    return FList->Item<TShortcutItem>(index);
}

void TShortcutItems::SetItem(Integer index, TShortcutItem* value) { FList->Item<TShortcutItem>(index)->Assign(value); }

void TShortcutItems::Delete(Integer index)
{
    auto* item = FList->Item<TShortcutItem>(index);
    RemoveAt(index);
    // Already out: its destructor need not search the collection for itself.
    item->FOwnerItems = nullptr;
    delete item;
}

void TShortcutItems::Remove(TShortcutItem* item)
{
    const Integer index = FList->IndexOf(item);
    if (index != -1)
        RemoveAt(index);
}

void TShortcutItems::RemoveAt(Integer index)
{
    auto* item = FList->Item<TShortcutItem>(index);
    FList->Delete(index);
    // Whoever still points at the item forgets it before anything can use it.
    ForgetDropItem(item);
    if (FShortcutList != nullptr)
        FShortcutList->ForgetItem(item);
    Changed();
}

// Inside an update the list is neither drawn nor laid out: the update's end
// lays it out once for all the changes made meanwhile.
void TShortcutItems::Changed()
{
    if (FShortcutList != nullptr && FUpdateCount == 0)
        FShortcutList->LayoutChanged();
}

void TShortcutItems::Clear()
{
    // Without a layout after each item (no list, or inside an update) nothing
    // watches the order: taking the items from the back spares moving all the
    // others each time. Otherwise the list lays out as each first item goes.
    if (FShortcutList == nullptr || FUpdateCount > 0) {
        while (GetCount() > 0)
            Delete(GetCount() - 1);
        return;
    }
    while (GetCount() > 0)
        Delete(0);
}

void TShortcutItems::BeginUpdate()
{
    if (FUpdateCount == 0)
        SetUpdateState(true);
    ++FUpdateCount;
}

void TShortcutItems::EndUpdate()
{
    --FUpdateCount;
    if (FUpdateCount == 0)
        SetUpdateState(false);
}

void TShortcutItems::SetUpdateState(bool updating)
{
    if (FShortcutList == nullptr)
        return;
    // Without a window there is no drawing to stop; the layout still follows.
    if (FShortcutList->HandleAllocated())
        SendMessage(FShortcutList->GetHandle(), WM_SETREDRAW, updating ? 0 : 1, 0);
    if (!updating)
        FShortcutList->LayoutChanged();
}

void TShortcutItems::Assign(TPersistent* source)
{
    auto* items = dynamic_cast<TShortcutItems*>(source);
    if (items == nullptr) {
        inherited::Assign(source);
        return;
    }
    // Clearing first would leave nothing to copy.
    if (items == this)
        return;
    BeginUpdate();
    try {
        Clear();
        for (void* p : items->List())
            Add()->Assign(static_cast<TShortcutItem*>(p));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

// ---- stored form -----------------------------------------------------------------------

void TShortcutItems::DefineProperties(TFiler* filer)
{
    inherited::DefineProperties(filer);
    filer->DefineProperty("Items", TReaderProc(this, &TShortcutItems::ReadData),
                          TWriterProc(this, &TShortcutItems::WriteData), GetCount() > 0);
}

void TShortcutItems::WriteData(TWriter* writer)
{
    writer->WriteListBegin();
    writer->WriteString(StoredVersion);
    writer->WriteInteger(GetCount());
    for (void* p : List()) {
        auto* item = static_cast<TShortcutItem*>(p);
        writer->WriteString(item->FCaption);
        writer->WriteInteger(item->FImageIndex);
        writer->WriteInteger(item->FTag);
        writer->WriteBoolean(item->FEnabled);
    }
    writer->WriteListEnd();
}

// Older releases stored fewer fields per item: "1.13" no Enabled, anything
// else neither Tag nor Enabled. A malformed value stops with the reader's
// EReadError and keeps the items read whole so far; a count larger than the
// items present ends there too, so nothing is allocated from the count.
void TShortcutItems::ReadData(TReader* reader)
{
    reader->ReadListBegin();
    Clear();
    const std::string version = reader->ReadString();
    const bool hasTag = version == "1.7" || version == "1.13";
    const bool hasEnabled = version == "1.7";
    const Integer count = reader->ReadInteger();
    for (Integer i = 0; i < count; ++i) {
        TShortcutItem* item = Add();
        try {
            item->SetCaption(reader->ReadString());
            item->SetImageIndex(reader->ReadInteger());
            if (hasTag)
                item->FTag = reader->ReadInteger();
            if (hasEnabled)
                item->FEnabled = reader->ReadBoolean();
        } catch (...) {
            // A half-read item is not one of the items read so far.
            delete item;
            throw;
        }
    }
    reader->ReadListEnd();
}

} // namespace ld
