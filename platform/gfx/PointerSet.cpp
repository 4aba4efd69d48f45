#include "platform/gfx/PointerSet.h"

namespace ld {

void TPointerSet::insert(const void* p)
{
    if ((FUsed + 1) * 4 > FSlots.size())
        Rehash((FCount + 1) * 8);
    const size_t mask = FSlots.size() - 1;
    size_t i = Home(p);
    while (FSlots[i] > Tombstone)
        i = (i + 1) & mask;
    if (FSlots[i] == Empty)
        ++FUsed;
    FSlots[i] = reinterpret_cast<uintptr_t>(p);
    ++FCount;
}

void TPointerSet::erase(const void* p)
{
    const size_t i = Find(p);
    if (i == NotFound)
        return;
    FSlots[i] = Tombstone;
    --FCount;
}

void TPointerSet::Rehash(size_t wanted)
{
    size_t size = 64;
    unsigned shift = 58;
    while (size < wanted) {
        size *= 2;
        --shift;
    }
    std::vector<uintptr_t> old;
    old.swap(FSlots);
    FSlots.assign(size, Empty);
    FShift = shift;
    FCount = FUsed = 0;
    for (const uintptr_t key : old)
        if (key > Tombstone)
            insert(reinterpret_cast<const void*>(key));
}

} // namespace ld
