#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "platform/gfx/PointerSet.h"

namespace ld {
namespace {

// Objects come and go in any order, as handles do; the set must know exactly
// the live ones however many tombstones and regrowths lie behind it.
TEST(PointerSet, KnowsExactlyTheLiveAddressesThroughChurn)
{
    std::vector<int> storage(5000);
    std::vector<bool> live(storage.size(), false);
    TPointerSet set;
    std::mt19937 rng(3);
    size_t count = 0;
    for (int step = 0; step < 100000; ++step) {
        const size_t i = rng() % storage.size();
        if (live[i]) {
            set.erase(&storage[i]);
            --count;
        } else {
            set.insert(&storage[i]);
            ++count;
        }
        live[i] = !live[i];
        const size_t probe = rng() % storage.size();
        ASSERT_EQ(set.contains(&storage[probe]), live[probe]) << "step " << step;
    }
    EXPECT_EQ(set.size(), count);
    for (size_t i = 0; i < storage.size(); ++i)
        EXPECT_EQ(set.contains(&storage[i]), live[i]);
    EXPECT_FALSE(set.contains(nullptr));
    // Erasing what is not there changes nothing.
    int outside = 0;
    set.erase(&outside);
    EXPECT_EQ(set.size(), count);
}

} // namespace
} // namespace ld
