#include <gtest/gtest.h>

#include "platform/core/List.h"
#include "platform/core/SysUtils.h"

using namespace ld;

namespace {
int a, b, c, d;

std::vector<void*> Items(const TList& list) { return list.List(); }

// Every failing operation must report the index and leave the list as it was.
void ExpectIndexError(TList& list, const std::function<void()>& op, Integer index)
{
    const auto before = Items(list);
    try {
        op();
        FAIL() << "no error for index " << index;
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), Format("List index out of bounds (%d)", {index}));
    }
    EXPECT_EQ(Items(list), before);
}
} // namespace

TEST(TList, AddInsertMoveExchangeRemove)
{
    TList list;
    EXPECT_EQ(list.Add(&a), 0);
    EXPECT_EQ(list.Add(&b), 1);
    list.Insert(0, &c);
    list.Insert(3, &d);
    EXPECT_EQ(Items(list), (std::vector<void*>{&c, &a, &b, &d}));
    list.Move(0, 3);
    EXPECT_EQ(Items(list), (std::vector<void*>{&a, &b, &d, &c}));
    list.Exchange(0, 3);
    EXPECT_EQ(Items(list), (std::vector<void*>{&c, &b, &d, &a}));
    EXPECT_EQ(list.Remove(&d), 2);
    EXPECT_EQ(list.Remove(&d), -1);
    EXPECT_EQ(list.IndexOf(&a), 2);
    list.Put(1, &d);
    EXPECT_EQ(list.Get(1), &d);
    list.Delete(0);
    EXPECT_EQ(Items(list), (std::vector<void*>{&d, &a}));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(TList, BadIndexRaisesAndChangesNothing)
{
    TList list;
    list.Add(&a);
    list.Add(&b);
    ExpectIndexError(list, [&] { list.Get(2); }, 2);
    ExpectIndexError(list, [&] { list.Get(-1); }, -1);
    ExpectIndexError(list, [&] { list.Put(5, &c); }, 5);
    ExpectIndexError(list, [&] { list.Delete(2); }, 2);
    ExpectIndexError(list, [&] { list.Insert(3, &c); }, 3);
    ExpectIndexError(list, [&] { list.Insert(-1, &c); }, -1);
    ExpectIndexError(list, [&] { list.Move(0, 2); }, 2);
    ExpectIndexError(list, [&] { list.Move(-1, 0); }, -1);
    ExpectIndexError(list, [&] { list.Exchange(0, 7); }, 7);
    list.Move(1, 1); // same index: nothing, no error, even though checked nowhere else
    EXPECT_EQ(Items(list), (std::vector<void*>{&a, &b}));
    EXPECT_THROW(list.SetCount(-1), EListError);
}
