// TCollection, an owned list of TCollectionItem objects of one item class, stored
// in a form file as a collection value (each item's published properties).
#pragma once

#include <vector>

#include "platform/core/Persistent.h"

namespace ld {

class TCollection;

class TCollectionItem : public TPersistent {
    LD_CLASS(TCollectionItem, TPersistent)

    // Adds the item to Collection (may be null).
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;

    TCollection* Collection() const { return FCollection; }
    void SetCollection(TCollection* value);
    Integer GetIndex() const;
    virtual void SetIndex(Integer value);
    Integer ID() const { return FID; }
    virtual std::string GetDisplayName() const { return ClassName(); }
    std::string GetNamePath() const override;

protected:
    // Tells the collection that this item (or all, with allItems) changed.
    void Changed(bool allItems);
    TPersistent* GetOwner() const override;

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    Integer FID = 0;
};

class TCollection : public TPersistent {
    LD_CLASS(TCollection, TPersistent)

    // ItemClass must be a class registered with an item constructor.
    explicit TCollection(TClass itemClass);
    ~TCollection() override;

    TCollectionItem* Add();
    TCollectionItem* Insert(Integer index);
    void Delete(Integer index);
    void Clear();
    Integer Count() const { return static_cast<Integer>(FItems.size()); }
    // EListError for a bad index.
    TCollectionItem* Items(Integer index) const;
    TCollectionItem* FindItemID(Integer id) const;
    TClass ItemClass() const { return FItemClass; }

    void BeginUpdate();
    void EndUpdate();
    Integer UpdateCount() const { return FUpdateCount; }

    void Assign(TPersistent* source) override;
    std::string GetNamePath() const override;

protected:
    // Called after a change (Item null: many items) unless updates are pending.
    virtual void Update(TCollectionItem* item) {}
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);
    TClass FItemClass;
    std::vector<TCollectionItem*> FItems;
    Integer FUpdateCount = 0;
    Integer FNextID = 0;
};

// A collection that belongs to a persistent owner (for GetNamePath and streaming).
class TOwnedCollection : public TCollection {
    LD_CLASS(TOwnedCollection, TCollection)

    TOwnedCollection(TPersistent* owner, TClass itemClass) : TCollection(itemClass), FOwner(owner) {}

protected:
    TPersistent* GetOwner() const override { return FOwner; }

private:
    TPersistent* FOwner;
};

} // namespace ld
