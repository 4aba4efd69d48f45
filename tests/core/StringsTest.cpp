#include <gtest/gtest.h>

#include "platform/core/Strings.h"
#include "platform/core/SysUtils.h"

using namespace ld;

TEST(TStringList, ObjectsFollowTheirStrings)
{
    TStringList list;
    TStringList marker;
    list.Add("one");
    list.AddObject("two", &marker);
    list.Insert(0, "zero");
    EXPECT_EQ(list.Objects(2), &marker);
    list.Move(2, 0);
    EXPECT_EQ(list.Strings(0), "two");
    EXPECT_EQ(list.Objects(0), &marker);
    list.Exchange(0, 2);
    EXPECT_EQ(list.Objects(2), &marker);
    EXPECT_EQ(list.IndexOfObject(&marker), 2);
    EXPECT_EQ(list.IndexOf("ZERO"), 1);
    EXPECT_THROW(list.Get(3), EStringListError);
    EXPECT_THROW(list.Delete(-1), EStringListError);
    EXPECT_EQ(list.Count(), 3);
}

TEST(TStringList, TextCommaTextAndValues)
{
    TStringList list;
    list.SetText("a\r\nb\nc d\r");
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.GetText(), "a\r\nb\r\nc d\r\n");
    EXPECT_EQ(list.GetCommaText(), "a,b,\"c d\"");
    list.SetCommaText("x, \"y \"\"q\"\"\",z");
    EXPECT_EQ(list.Strings(1), "y \"q\"");
    list.SetValue("Key", "1");
    EXPECT_EQ(list.Values("key"), "1");
    EXPECT_EQ(list.Names(3), "Key");
}

TEST(TStringList, SortedFindsAndRefusesDuplicates)
{
    TStringList list;
    list.SetSorted(true);
    list.Add("pear");
    list.Add("Apple");
    list.Add("fig");
    EXPECT_EQ(list.Strings(0), "Apple");
    EXPECT_EQ(list.Add("FIG"), 1);
    EXPECT_EQ(list.Count(), 3);
    list.SetDuplicates(dupError);
    EXPECT_THROW(list.Add("pear"), EStringListError);
    EXPECT_THROW(list.Insert(0, "a"), EStringListError);
}

TEST(TStringList, ChangeEventsOncePerUpdate)
{
    TStringList list;
    int changes = 0;
    list.SetOnChange(TNotifyEvent::Lambda([&](TObject*) { ++changes; }));
    list.Add("a");
    EXPECT_EQ(changes, 1);
    list.BeginUpdate();
    list.Add("b");
    list.Add("c");
    list.EndUpdate();
    EXPECT_EQ(changes, 2);
    TStringList copy;
    copy.Assign(&list);
    EXPECT_TRUE(copy.Equals(&list));
}
