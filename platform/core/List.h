// TList: an ordered list of untyped pointers. A bad index raises EListError
// "List index out of bounds (%d)" and leaves the list unchanged.
#pragma once

#include <vector>

#include "platform/core/Object.h"

namespace ld {

class TList : public TObject {
    LD_CLASS(TList, TObject)

    TList() = default;
    ~TList() override;

    Integer Add(void* item);
    void Insert(Integer index, void* item);
    void Delete(Integer index);
    // Removes the first occurrence; returns its former index, or -1.
    Integer Remove(void* item);
    // Removes the first occurrence without freeing anything; returns the item or null.
    void* Extract(void* item);
    void Move(Integer curIndex, Integer newIndex);
    void Exchange(Integer index1, Integer index2);
    Integer IndexOf(const void* item) const;
    void* Get(Integer index) const;
    void Put(Integer index, void* item);
    void* First() const { return Get(0); }
    void* Last() const { return Get(Count() - 1); }
    Integer Count() const { return static_cast<Integer>(FItems.size()); }
    void SetCount(Integer newCount);
    Integer Capacity() const { return static_cast<Integer>(FItems.capacity()); }
    void SetCapacity(Integer newCapacity);
    void Clear();
    // Removes the null entries.
    void Pack();

    // Typed access for callers that know what they keep.
    template <class T>
    T* Item(Integer index) const { return static_cast<T*>(Get(index)); }

    // The array itself, for iteration.
    const std::vector<void*>& List() const { return FItems; }

private:
    void CheckIndex(Integer index) const;
    std::vector<void*> FItems;
};

} // namespace ld
