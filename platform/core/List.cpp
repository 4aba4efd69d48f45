#include "platform/core/List.h"

#include <algorithm>

#include "platform/core/SysUtils.h"

namespace ld {

TClass TList::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TList>("TList", TObject::StaticClass());
    return &info;
}

TList::~TList() = default;

void TList::CheckIndex(Integer index) const
{
    if (index < 0 || index >= Count())
        throw EListError(Format("List index out of bounds (%d)", {index}));
}

Integer TList::Add(void* item)
{
    FItems.push_back(item);
    return Count() - 1;
}

void TList::Insert(Integer index, void* item)
{
    if (index < 0 || index > Count())
        throw EListError(Format("List index out of bounds (%d)", {index}));
    FItems.insert(FItems.begin() + index, item);
}

void TList::Delete(Integer index)
{
    CheckIndex(index);
    FItems.erase(FItems.begin() + index);
}

Integer TList::Remove(void* item)
{
    const Integer index = IndexOf(item);
    if (index >= 0)
        Delete(index);
    return index;
}

void* TList::Extract(void* item)
{
    return Remove(item) >= 0 ? item : nullptr;
}

void TList::Move(Integer curIndex, Integer newIndex)
{
    if (curIndex == newIndex)
        return;
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    void* item = FItems[static_cast<size_t>(curIndex)];
    FItems.erase(FItems.begin() + curIndex);
    FItems.insert(FItems.begin() + newIndex, item);
}

void TList::Exchange(Integer index1, Integer index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    std::swap(FItems[static_cast<size_t>(index1)], FItems[static_cast<size_t>(index2)]);
}

Integer TList::IndexOf(const void* item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<Integer>(it - FItems.begin());
}

void* TList::Get(Integer index) const
{
    CheckIndex(index);
    return FItems[static_cast<size_t>(index)];
}

void TList::Put(Integer index, void* item)
{
    CheckIndex(index);
    FItems[static_cast<size_t>(index)] = item;
}

void TList::SetCount(Integer newCount)
{
    // A count beyond what memory could ever hold is refused, not attempted.
    if (newCount < 0 || newCount > (1 << 28))
        throw EListError(Format("List count out of bounds (%d)", {newCount}));
    FItems.resize(static_cast<size_t>(newCount), nullptr);
}

void TList::SetCapacity(Integer newCapacity)
{
    if (newCapacity < Count() || newCapacity > (1 << 28))
        throw EListError(Format("List capacity out of bounds (%d)", {newCapacity}));
    FItems.reserve(static_cast<size_t>(newCapacity));
}

void TList::Clear()
{
    FItems.clear();
    FItems.shrink_to_fit();
}

void TList::Pack()
{
    FItems.erase(std::remove(FItems.begin(), FItems.end(), nullptr), FItems.end());
}

} // namespace ld
