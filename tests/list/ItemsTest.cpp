// The items and their collection: what each operation does to the list's
// layout and to whoever still points at an item, and the stored form in its
// three layouts, in binary and in text form files.
#include "tests/list/ListTestSupport.h"

#include "platform/core/SysUtils.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Stream.h"
#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"

namespace ld::test {
namespace {

using ItemsTest = ListTest;

std::vector<std::string> Captions(TShortcutItems* items)
{
    std::vector<std::string> result;
    for (Integer i = 0; i < items->GetCount(); ++i)
        result.push_back(items->GetItem(i)->GetCaption());
    return result;
}

TEST_F(ItemsTest, ADetachedCollectionKeepsItemsInOrderAndRefusesBadIndexes)
{
    TShortcutItems items(nullptr);
    items.Add()->SetCaption("b");
    items.Insert(0)->SetCaption("a");
    items.Insert(2)->SetCaption("c");
    EXPECT_EQ(Captions(&items), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(items.GetItem(-1), nullptr);
    EXPECT_EQ(items.GetItem(3), nullptr);
    EXPECT_THROW(items.Insert(5), EListError);
    EXPECT_THROW(items.Insert(-1), EListError);
    EXPECT_THROW(items.Delete(3), EListError);
    EXPECT_EQ(items.GetCount(), 3);
    EXPECT_EQ(items.GetItem(1)->GetIndex(), 1);
    EXPECT_EQ(items.GetItem(1)->GetShortcutList(), nullptr);
    // Freeing an item takes it out; removing an unlisted one does nothing.
    delete items.GetItem(1);
    EXPECT_EQ(Captions(&items), (std::vector<std::string>{"a", "c"}));
    TShortcutItem stray(nullptr);
    items.Remove(&stray);
    EXPECT_EQ(items.GetCount(), 2);
    items.BeginUpdate();
    items.BeginUpdate();
    items.EndUpdate();
    EXPECT_EQ(items.GetUpdateCount(), 1);
    items.EndUpdate();
    items.Clear();
    EXPECT_EQ(items.GetCount(), 0);
}

TEST_F(ItemsTest, AssignCopiesEverythingButThePositionAndFromItselfKeepsTheItems)
{
    TShortcutList* list = AddList();
    AddItems(list, {"One", "Two"});
    TShortcutItem* second = list->GetItems()->GetItem(1);
    const Integer top = second->GetTop();
    int marker = 0;
    TShortcutItems source(nullptr);
    TShortcutItem* s = source.Add();
    s->SetCaption("Mail");
    s->SetImageIndex(4);
    s->SetTag(-7);
    s->SetEnabled(false);
    s->SetData(&marker);
    second->Assign(s);
    EXPECT_EQ(second->GetCaption(), "Mail");
    EXPECT_EQ(second->GetImageIndex(), 4);
    EXPECT_EQ(second->GetTag(), -7);
    EXPECT_FALSE(second->GetEnabled());
    EXPECT_EQ(second->GetData(), &marker);
    EXPECT_EQ(second->GetIndex(), 1);
    EXPECT_EQ(second->GetTop(), top);
    EXPECT_THROW(second->Assign(list->GetFont()), EConvertError);

    list->GetItems()->Assign(list->GetItems());
    EXPECT_EQ(Captions(list->GetItems()), (std::vector<std::string>{"One", "Mail"}));
    list->SetItems(&source);
    ASSERT_EQ(list->GetItems()->GetCount(), 1);
    EXPECT_EQ(list->GetItems()->GetItem(0)->GetTag(), -7);
    EXPECT_NE(list->GetItems()->GetItem(0), s);
}

TEST_F(ItemsTest, ChangesLayTheListOutAndEqualValuesDoNot)
{
    TShortcutList* list = AddList(120, 400);
    AddItems(list, {"One", "Two"});
    TShortcutItem* first = list->GetItems()->GetItem(0);
    TShortcutItem* second = list->GetItems()->GetItem(1);
    const Integer before = second->GetTop();
    first->SetCaption("A caption long enough to wrap onto a second line");
    EXPECT_GT(second->GetTop(), before);
    // Positions moved by hand stay put while nothing changes.
    list->GetItems()->BeginUpdate();
    const Integer wrapped = second->GetTop();
    first->SetCaption(first->GetCaption());
    first->SetImageIndex(0);
    EXPECT_EQ(second->GetTop(), wrapped);
    list->GetItems()->EndUpdate();
    delete first;
    EXPECT_EQ(second->GetTop(), 6);
    EXPECT_EQ(second->GetIndex(), 0);
}

TEST_F(ItemsTest, AnItemLeavingItsCollectionIsForgottenEverywhere)
{
    TShortcutList* list = AddList();
    AddItems(list, {"One", "Two", "Three"});
    TShortcutItems* items = list->GetItems();
    list->SetActiveItem(items->GetItem(1));
    list->SetActiveState(siUp);
    TListDropState& drop = ListDropState();
    drop.ItemDragging = true;
    drop.DragItem = items->GetItem(1);
    SetDropMark(list, items->GetItem(2), 1, {0, 10, 100, 22});
    items->Delete(1);
    EXPECT_EQ(list->GetActiveItem(), nullptr);
    EXPECT_EQ(drop.DragItem, nullptr);
    EXPECT_EQ(drop.DropList, list) << "the marker before another item stays";
    TShortcutItem* taken = items->GetItem(1);
    items->Remove(taken); // out of the collection, not freed
    delete taken;
    EXPECT_EQ(drop.DropBeforeItem, nullptr);
    EXPECT_EQ(drop.DropList, nullptr);
    EXPECT_EQ(drop.DropKind, 0);
    list->SetActiveItem(items->GetItem(0));
    items->Clear();
    EXPECT_EQ(list->GetActiveItem(), nullptr);

    // Cleared inside an update (from the back, with no layout per item), the
    // items are forgotten all the same.
    AddItems(list, {"Four", "Five", "Six"});
    list->SetActiveItem(items->GetItem(2));
    SetDropMark(list, items->GetItem(0), 1, {0, 10, 100, 22});
    items->BeginUpdate();
    items->Clear();
    EXPECT_EQ(list->GetActiveItem(), nullptr);
    EXPECT_EQ(drop.DropBeforeItem, nullptr);
    items->EndUpdate();
    drop = TListDropState();
    Repaint(list); // nothing left to paint that was freed
}

// A list that counts its layouts.
class TCountingList : public TShortcutList {
public:
    using TShortcutList::TShortcutList;
    void LayoutChanged() override
    {
        ++Layouts;
        TShortcutList::LayoutChanged();
    }
    int Layouts = 0;
};

// Both lists hold three items and stand two steps down; then forty more items
// come, some wrapping, some empty, one recaptioned and one deleted again.
TEST_F(ItemsTest, InsideAnUpdateTheListLaysOutOnceAtItsEndAndShowsWhatItemByItemShows)
{
    Form->SetBounds(0, 0, 400, 360);
    auto makeList = [this](Integer left) {
        auto* list = new TCountingList(Form);
        list->SetParent(Form);
        list->SetBounds(left, 10, 120, 200);
        list->SetLargeImages(MakeImages(32, {clRed, clBlue}));
        AddItems(list, {"One", "Two", "Three"});
        list->DownButtonClick(nullptr);
        list->DownButtonClick(nullptr);
        return list;
    };
    auto fill = [](TShortcutItems* items) {
        for (int i = 0; i < 40; ++i) {
            TShortcutItem* item = items->Add();
            item->SetCaption(i % 7 == 0 ? "" : i % 3 == 0 ? "A caption that wraps" : "Item " + std::to_string(i));
            item->SetImageIndex(i % 2);
        }
        items->GetItem(4)->SetCaption("Recaptioned to wrap onto lines");
        items->Delete(5);
    };
    TCountingList* byItem = makeList(10);
    TCountingList* inUpdate = makeList(200);
    fill(byItem->GetItems());
    EXPECT_GT(byItem->Layouts, 80);

    TShortcutItems* items = inUpdate->GetItems();
    inUpdate->Layouts = 0;
    items->BeginUpdate();
    items->BeginUpdate();
    fill(items);
    items->EndUpdate();
    EXPECT_EQ(inUpdate->Layouts, 0);
    items->EndUpdate();
    EXPECT_EQ(inUpdate->Layouts, 1);
    Backend->RunUntilIdle();

    ASSERT_EQ(items->GetCount(), byItem->GetItems()->GetCount());
    for (Integer i = 0; i < items->GetCount(); ++i) {
        EXPECT_EQ(items->GetItem(i)->GetTop(), byItem->GetItems()->GetItem(i)->GetTop()) << i;
        EXPECT_EQ(items->GetItem(i)->GetLeft(), byItem->GetItems()->GetItem(i)->GetLeft()) << i;
    }
    EXPECT_EQ(inUpdate->GetScrollOffset(), byItem->GetScrollOffset());
    ASSERT_NE(inUpdate->GetTopItem(), nullptr);
    EXPECT_EQ(inUpdate->GetTopItem()->GetIndex(), 2);
    EXPECT_TRUE(inUpdate->GetUpButton()->GetVisible());
    EXPECT_TRUE(inUpdate->GetDownButton()->GetVisible());
    int differing = 0;
    for (Integer y = 0; y < 200; ++y)
        for (Integer x = 0; x < 120; ++x)
            differing += ScreenPixel(inUpdate, x, y) != ScreenPixel(byItem, x, y);
    EXPECT_EQ(differing, 0);
    if (HasFailure())
        Backend->SaveWindowShot(Form->GetHandle(), OutputPath("items_update_vs_item_by_item.png"));
}

// ---- stored form ---------------------------------------------------------------------

std::string AsText(TComponent* root)
{
    TMemoryStream binary;
    WriteComponentToStream(&binary, root);
    binary.SetPosition(0);
    TStringStream text;
    ObjectResourceToText(&binary, &text);
    std::string result = text.DataString();
    std::erase(result, '\r');
    return result;
}

TShortcutList* ReadList(const std::string& form, TForm* parent)
{
    auto* list = new TShortcutList(nullptr);
    list->SetParent(parent);
    TStringStream input(form);
    ReadComponentFromStream(&input, list);
    return list;
}

TShortcutList* MakeStoredList(TForm* form)
{
    auto* list = new TShortcutList(nullptr);
    list->SetName("List");
    list->SetParent(form);
    TShortcutItems* items = list->GetItems();
    items->Add()->SetCaption("Mail");
    TShortcutItem* notes = items->Add();
    notes->SetCaption("Notes");
    notes->SetImageIndex(1);
    TShortcutItem* odd = items->Add();
    odd->SetCaption("it's & \"odd\"");
    odd->SetImageIndex(-3);
    odd->SetTag(123456);
    odd->SetEnabled(false);
    return list;
}

// The text form of a list with the given value of Items.Items.
std::string FormWithItems(const std::string& value)
{
    return "object List: TShortcutList\n  Items.Items = (\n" + value + ")\nend\n";
}

TEST_F(ItemsTest, ItemsGoUnderItemsDotItemsAsVersionOnePointSevenAndComeBackInBothForms)
{
    TShortcutList* list = MakeStoredList(Form);
    const std::string text = AsText(list);
    EXPECT_NE(text.find("Items.Items = (\n    '1.7'\n    3\n    'Mail'\n    0\n    0\n    True\n    'Notes'\n    1"),
              std::string::npos)
        << text;
    const std::string binary = ToBinaryStream(text);
    for (const std::string& form : {text, binary}) {
        TShortcutList* copy = ReadList(form, Form);
        TShortcutItems* items = copy->GetItems();
        ASSERT_EQ(items->GetCount(), 3);
        EXPECT_EQ(Captions(items), Captions(list->GetItems()));
        EXPECT_EQ(items->GetItem(1)->GetImageIndex(), 1);
        EXPECT_EQ(items->GetItem(2)->GetImageIndex(), -3);
        EXPECT_EQ(items->GetItem(2)->GetTag(), 123456);
        EXPECT_FALSE(items->GetItem(2)->GetEnabled());
        EXPECT_TRUE(items->GetItem(0)->GetEnabled());
        delete copy;
    }
    // An empty collection stores nothing and reads back empty.
    list->GetItems()->Clear();
    const std::string empty = AsText(list);
    EXPECT_EQ(empty.find("Items"), std::string::npos) << empty;
    TShortcutList* none = ReadList(empty, Form);
    EXPECT_EQ(none->GetItems()->GetCount(), 0);
    delete none;
    delete list;
}

TEST_F(ItemsTest, OlderLayoutsReadTheirFieldsOnlyInBothForms)
{
    struct Case {
        std::string Value;
        Integer Tag;
    };
    const std::vector<Case> cases{
        {"'1.13' 2 'Mail' 0 5 'Notes' 1 6", 6},
        {"'1.0' 2 'Mail' 0 'Notes' 1", 0},
        {"'' 2 'Mail' 0 'Notes' 1", 0},
        {"'1.70' 2 'Mail' 0 'Notes' 1", 0},
    };
    for (const Case& c : cases) {
        const std::string text = FormWithItems(c.Value);
        for (const std::string& form : {text, ToBinaryStream(text)}) {
            TShortcutList* list = ReadList(form, Form);
            TShortcutItems* items = list->GetItems();
            ASSERT_EQ(items->GetCount(), 2) << c.Value;
            EXPECT_EQ(items->GetItem(1)->GetCaption(), "Notes");
            EXPECT_EQ(items->GetItem(1)->GetImageIndex(), 1);
            EXPECT_EQ(items->GetItem(1)->GetTag(), c.Tag) << c.Value;
            EXPECT_TRUE(items->GetItem(1)->GetEnabled());
            delete list;
        }
    }
}

TEST_F(ItemsTest, AMalformedValueRaisesAndKeepsTheItemsReadWhole)
{
    const std::vector<std::string> values{
        "'1.7' 3 'Mail' 0 0 True 'Notes' 1 0 True",          // too few items
        "'1.7' 3 'Mail' 0 0 True 'Notes' 1 0 True 'X' 'Y'",  // a string for an integer
        "'1.7' 2 'Mail' 0 0 True 'Notes' 1 0 True 'extra'",  // no list end
        "'1.7' 2147483647 'Mail' 0 0 True 'Notes' 1 0 True", // a huge count
        "'1.7' 2 'Mail' 0 0 7 'Notes' 1 0 True",             // an integer for a Boolean
    };
    const std::vector<Integer> kept{2, 2, 2, 2, 0};
    for (size_t i = 0; i < values.size(); ++i) {
        const std::string text = FormWithItems(values[i]);
        for (const std::string& form : {text, ToBinaryStream(text)}) {
            auto* list = new TShortcutList(nullptr);
            TStringStream input(form);
            EXPECT_THROW(ReadComponentFromStream(&input, list), EReadError) << values[i];
            EXPECT_EQ(list->GetItems()->GetCount(), kept[i]) << values[i];
            if (kept[i] > 0) {
                EXPECT_EQ(list->GetItems()->GetItem(kept[i] - 1)->GetCaption(), "Notes");
            }
            delete list;
        }
    }
}

} // namespace
} // namespace ld::test
