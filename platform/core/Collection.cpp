#include "platform/core/Collection.h"

#include <algorithm>

#include "platform/core/SysUtils.h"

namespace ld {

TClass TCollectionItem::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TCollectionItem>("TCollectionItem", TPersistent::StaticClass());
    return &info;
}

TClass TCollection::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TCollection>("TCollection", TPersistent::StaticClass()).Abstract();
    return &info;
}

TClass TOwnedCollection::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TOwnedCollection>("TOwnedCollection", TCollection::StaticClass());
    return &info;
}

TCollectionItem::TCollectionItem(TCollection* collection) { SetCollection(collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* value)
{
    if (FCollection == value)
        return;
    if (FCollection != nullptr)
        FCollection->RemoveItem(this);
    if (value != nullptr)
        value->InsertItem(this);
}

Integer TCollectionItem::GetIndex() const
{
    if (FCollection == nullptr)
        return -1;
    auto& items = FCollection->FItems;
    auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : static_cast<Integer>(it - items.begin());
}

void TCollectionItem::SetIndex(Integer value)
{
    const Integer current = GetIndex();
    if (current < 0 || current == value)
        return;
    auto& items = FCollection->FItems;
    if (value < 0 || value >= static_cast<Integer>(items.size()))
        throw EListError(Format("List index out of bounds (%d)", {value}));
    items.erase(items.begin() + current);
    items.insert(items.begin() + value, this);
    Changed(true);
}

void TCollectionItem::Changed(bool allItems)
{
    if (FCollection != nullptr && FCollection->FUpdateCount == 0)
        FCollection->Update(allItems ? nullptr : this);
}

TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

std::string TCollectionItem::GetNamePath() const
{
    if (FCollection == nullptr)
        return ClassName();
    return Format("%s[%d]", {FCollection->GetNamePath(), GetIndex()});
}

TCollection::TCollection(TClass itemClass) : FItemClass(itemClass)
{
    if (itemClass == nullptr || itemClass->ConstructItem == nullptr)
        throw EInvalidOperation("A collection needs an item class that can be created");
}

TCollection::~TCollection()
{
    FUpdateCount = 1; // no updates while dying
    Clear();
}

TCollectionItem* TCollection::Add()
{
    TCollectionItem* item = FItemClass->ConstructItem(this);
    return item;
}

TCollectionItem* TCollection::Insert(Integer index)
{
    if (index < 0 || index > Count())
        throw EListError(Format("List index out of bounds (%d)", {index}));
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(Integer index)
{
    delete Items(index);
}

void TCollection::Clear()
{
    if (FItems.empty())
        return;
    BeginUpdate();
    while (!FItems.empty())
        delete FItems.back();
    EndUpdate();
}

TCollectionItem* TCollection::Items(Integer index) const
{
    if (index < 0 || index >= Count())
        throw EListError(Format("List index out of bounds (%d)", {index}));
    return FItems[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::FindItemID(Integer id) const
{
    for (TCollectionItem* item : FItems)
        if (item->FID == id)
            return item;
    return nullptr;
}

void TCollection::InsertItem(TCollectionItem* item)
{
    FItems.push_back(item);
    item->FCollection = this;
    item->FID = FNextID++;
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item)
{
    auto it = std::find(FItems.rbegin(), FItems.rend(), item);
    if (it != FItems.rend())
        FItems.erase(std::next(it).base());
    item->FCollection = nullptr;
    Changed();
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        Changed();
}

void TCollection::Changed()
{
    if (FUpdateCount == 0)
        Update(nullptr);
}

void TCollection::Assign(TPersistent* source)
{
    if (auto* other = dynamic_cast<TCollection*>(source)) {
        if (other == this)
            return;
        BeginUpdate();
        try {
            Clear();
            for (TCollectionItem* item : other->FItems)
                Add()->Assign(item);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        return;
    }
    inherited::Assign(source);
}

std::string TCollection::GetNamePath() const
{
    TPersistent* owner = GetOwner();
    if (owner == nullptr)
        return ClassName();
    const std::string ownerPath = owner->GetNamePath();
    if (ownerPath.empty())
        return ClassName();
    // The owner's property that holds this collection is not known here; the
    // convention is its class name without the T.
    return ownerPath + "." + ClassName();
}

} // namespace ld
