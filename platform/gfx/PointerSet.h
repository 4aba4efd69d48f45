// A set of live object addresses, for checking handles before they are used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ld {

// Open addressing with linear probing. Handles are looked up far more often
// than they come and go (every drawing call checks its DC and objects), so the
// table is kept at most a quarter full, tombstones included, and a look-up
// rarely probes more than one slot. Regions come and go by the dozen in every
// paint, and a node-based set would allocate for each.
class TPointerSet {
public:
    void insert(const void* p);
    void erase(const void* p);
    bool contains(const void* p) const { return Find(p) != NotFound; }
    size_t size() const { return FCount; }

private:
    static constexpr uintptr_t Empty = 0, Tombstone = 1;
    static constexpr size_t NotFound = ~size_t(0);
    std::vector<uintptr_t> FSlots;
    unsigned FShift = 64; // 64 - log2(slot count)
    size_t FCount = 0, FUsed = 0; // live entries; live plus tombstones

    size_t Home(const void* p) const
    {
        // Fibonacci hashing: the top bits of the product mix every address bit.
        return size_t((uint64_t(reinterpret_cast<uintptr_t>(p)) * 0x9E3779B97F4A7C15ull) >> FShift);
    }
    size_t Find(const void* p) const
    {
        if (FSlots.empty() || p == nullptr)
            return NotFound;
        const uintptr_t key = reinterpret_cast<uintptr_t>(p);
        const size_t mask = FSlots.size() - 1;
        for (size_t i = Home(p);; i = (i + 1) & mask) {
            if (FSlots[i] == key)
                return i;
            if (FSlots[i] == Empty)
                return NotFound;
        }
    }
    void Rehash(size_t wanted);
};

} // namespace ld
