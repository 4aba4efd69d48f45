// The list class and its geometry: construction, the published properties,
// where items, icons and captions lie, hit testing, the place on a sheet and
// the full-select bands, and how image lists reach the layout.
#include "tests/list/ListTestSupport.h"

#include "platform/core/TypeInfo.h"
#include "platform/win/Window.h"

namespace ld::test {
namespace {

using ListLayoutTest = ListTest;

TEST_F(ListLayoutTest, ConstructionGivesTheListItsStyleFontAndButtonsAtRunTimeOnly)
{
    TShortcutList* list = AddList();
    EXPECT_EQ(list->GetControlStyle(), TControlStyle{csOpaque});
    EXPECT_TRUE(list->GetParentColor());
    EXPECT_FALSE(list->GetParentFont());
    EXPECT_EQ(list->GetFont()->GetColor(), clWhite);
    EXPECT_FALSE(list->GetCtl3D());
    EXPECT_FALSE(list->GetParentCtl3D());
    EXPECT_FALSE(list->GetTabStop());
    EXPECT_TRUE(list->GetAllowReorder());
    EXPECT_EQ(list->GetStyle(), ssLargeImages);
    EXPECT_NE(GetWindowLongPtr(list->GetHandle(), GWL_STYLE) & WS_CLIPCHILDREN, 0);
    ASSERT_NE(list->GetUpButton(), nullptr);
    EXPECT_EQ(list->GetUpButton()->GetButtonType(), sbUp);
    EXPECT_EQ(list->GetDownButton()->GetParent(), list);
    EXPECT_EQ(list->GetColor(), Form->GetColor());

    auto* fresh = new TShortcutList(Form);
    EXPECT_EQ(fresh->GetWidth(), 100);
    EXPECT_EQ(fresh->GetHeight(), 100);
    Form->SetDesigning(true);
    auto* designed = new TShortcutList(Form);
    EXPECT_EQ(designed->GetUpButton(), nullptr);
    EXPECT_EQ(designed->GetDownButton(), nullptr);
    delete designed;
    Form->SetDesigning(false);
}

TEST_F(ListLayoutTest, ThirtySevenPropertiesArePublishedInOrderWithTheirDefaults)
{
    std::vector<std::string> names;
    for (const TPropInfo* p : TShortcutList::StaticClass()->Properties())
        names.push_back(p->Name);
    const std::vector<std::string> expected{
        "Name", "Tag", "Left", "Top", "Width", "Height", "Cursor", "Hint", "HelpContext",
        "OnClick", "Enabled", "Font", "ParentFont", "ParentShowHint", "ShowHint", "PopupMenu", "TabOrder",
        "Visible", "Items", "LargeImages", "SmallImages", "Style", "AllowReorder", "OnReorder", "OnReordering",
        "OnAcceptItem", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag", "OnEnter", "OnExit",
        "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"};
    EXPECT_EQ(names, expected);
    const TClassInfo* info = TShortcutList::StaticClass();
    EXPECT_EQ(info->FindProperty("Color"), nullptr);
    auto defaultOf = [&](const char* name) {
        const TPropInfo* p = info->FindProperty(name);
        return p->HasDefault ? std::to_string(p->Default) : std::string("none");
    };
    EXPECT_EQ(defaultOf("Enabled"), "1");
    EXPECT_EQ(defaultOf("ParentFont"), "1");
    EXPECT_EQ(defaultOf("TabOrder"), "-1");
    EXPECT_EQ(defaultOf("AllowReorder"), "1");
    EXPECT_EQ(defaultOf("Style"), "none");
    EXPECT_EQ(defaultOf("ShowHint"), "none");
}

TEST_F(ListLayoutTest, ItemsStackFromTheTopLineWithTheGapBetween)
{
    TShortcutList* list = AddList(120, 400);
    AddItems(list, {"One", "", "Three"});
    TShortcutItems* items = list->GetItems();
    // Large, no image list: 32 x 32 cells centred, caption 4 below.
    const Integer line = list->GetTextRect(items->GetItem(0)).Height();
    EXPECT_GT(line, 8);
    for (Integer i = 0; i < 3; ++i) {
        TShortcutItem* item = items->GetItem(i);
        EXPECT_EQ(item->GetLeft(), 60 - 16);
        EXPECT_EQ(item->GetTop(), 6 + i * (32 + 4 + line + 12)) << i;
        EXPECT_EQ(list->GetIconRect(item, false), Rect(44, item->GetTop(), 76, item->GetTop() + 32));
        EXPECT_EQ(list->GetIconRect(item, true), Rect(42, item->GetTop() - 2, 78, item->GetTop() + 34));
        EXPECT_EQ(list->GetTextRect(item).Top, item->GetTop() + 36);
    }
    // An empty caption is measured as one space: one line, centred.
    const TRect empty = list->GetTextRect(items->GetItem(1));
    EXPECT_EQ(empty.Height(), line);
    EXPECT_EQ(empty.Left, 60 - empty.Width() / 2);
    EXPECT_EQ(list->GetItemRect(items->GetItem(0)).Top, 6);
    EXPECT_EQ(list->GetHighlightRect(items->GetItem(0)), list->GetIconRect(items->GetItem(0), true));

    list->SetStyle(ssSmallImages);
    for (Integer i = 0; i < 3; ++i) {
        TShortcutItem* item = items->GetItem(i);
        EXPECT_EQ(item->GetLeft(), 2);
        EXPECT_EQ(item->GetTop(), 3 + i * (16 + 6)) << i;
        const TRect text = list->GetTextRect(item);
        EXPECT_EQ(text.Left, 2 + 16 + 4);
        EXPECT_EQ(text.Top, item->GetTop());
        EXPECT_EQ(text.Bottom, item->GetTop() + line);
    }
    EXPECT_EQ(list->GetItemGap(), 6);
}

TEST_F(ListLayoutTest, ALongCaptionWrapsAndAWordWiderThanTheClientGoesPastBothSides)
{
    TShortcutList* list = AddList(80, 400);
    AddItems(list, {"Wide words wrap here", "Supercalifragilisticexpialidocious", "&&x"});
    TShortcutItems* items = list->GetItems();
    const TRect wrapped = list->GetTextRect(items->GetItem(0));
    const TRect plain = list->GetTextRect(items->GetItem(2));
    EXPECT_GE(wrapped.Height(), 2 * plain.Height());
    EXPECT_LE(wrapped.Width(), 80);
    const TRect wide = list->GetTextRect(items->GetItem(1));
    EXPECT_GT(wide.Width(), 80);
    EXPECT_LT(wide.Left, 0);
    EXPECT_EQ(wide.Left, 40 - wide.Width() / 2);
    EXPECT_EQ(wide.Right, wide.Left + wide.Width());
    // Measuring counts every ampersand.
    list->GetItems()->GetItem(2)->SetCaption("&x");
    EXPECT_LT(list->GetTextRect(items->GetItem(2)).Width(), plain.Width());
}

TEST_F(ListLayoutTest, GetItemAtFindsItemsButNotGapsMarginsOrBeyondTheLast)
{
    TShortcutList* list = AddList(120, 400);
    AddItems(list, {"One", "Two"});
    TShortcutItem* first = list->GetItems()->GetItem(0);
    TShortcutItem* second = list->GetItems()->GetItem(1);
    const TRect r = list->GetItemRect(first);
    EXPECT_EQ(list->GetItemAt(r.Left, r.Top), first);
    EXPECT_EQ(list->GetItemAt(r.Right - 1, r.Bottom - 1), first);
    EXPECT_EQ(list->GetItemAt(r.Right, r.Top), nullptr);
    EXPECT_EQ(list->GetItemAt(r.Left, r.Bottom), nullptr); // the gap
    EXPECT_EQ(list->GetItemAt(5, r.Top + 10), nullptr);    // beside the icon
    EXPECT_EQ(list->GetItemAt(60, list->GetItemRect(second).Top), second);
    EXPECT_EQ(list->GetItemAt(60, list->GetItemRect(second).Bottom + 1), nullptr);

    // Without a parent there is no layout, but the geometry still answers.
    TShortcutList alone(nullptr);
    AddItems(&alone, {"One"});
    TShortcutItem* only = alone.GetItems()->GetItem(0);
    EXPECT_EQ(alone.GetTextRect(only).Height(), list->GetTextRect(first).Height());
    EXPECT_EQ(alone.GetItemAt(50, 5), only);
    alone.EnsureItemVisible(only);
    alone.SetActiveItem(only);
    EXPECT_FALSE(alone.HandleAllocated());
}

// The item under a point and the drop zone at it, as a walk from the first
// item finds them, compared with the list's answers at every row (every fourth
// inside an update, where both walk) and a few columns: both styles,
// full-select or not, at the top, stepped down, scrolled part of an item, and
// inside an update that left the positions stale.
TEST_F(ListLayoutTest, HitTestsAndDropZonesAreThoseOfAWalkFromTheFirstItem)
{
    Form->SetBounds(0, 0, 400, 500);
    const std::vector<std::string> captions{"", "Mail", "A caption long enough to wrap twice over",
                                            "Supercalifragilisticexpialidocious", "&&x"};
    auto compare = [](TShortcutList* list, const std::string& state, Integer rowStep = 1) {
        TShortcutItems* items = list->GetItems();
        std::vector<TRect> rects;
        for (Integer i = 0; i < items->GetCount(); ++i)
            rects.push_back(list->GetItemRect(items->GetItem(i)));
        const Integer gap = list->GetItemGap();
        const Integer width = list->GetClientWidth();
        const TRect below{0, rects.back().Bottom, width, list->GetClientHeight()};
        int mismatches = 0;
        for (Integer y = rects.front().Top - 2 * gap; y < rects.back().Bottom + 2 * gap; y += rowStep)
            for (const Integer x : {-1, 1, 20, width / 2, width - 3, width + 1}) {
                TShortcutItem* walked = nullptr;
                TShortcutItem* before = nullptr;
                for (Integer i = 0; i < items->GetCount() && walked == nullptr; ++i)
                    if (PtInRect(rects[i], {x, y}))
                        walked = items->GetItem(i);
                for (Integer i = 0; i < items->GetCount() && before == nullptr; ++i) {
                    const Integer top = items->GetItem(i)->GetTop();
                    if (PtInRect({0, top - gap, width, top}, {x, y}))
                        before = items->GetItem(i);
                }
                const Integer kind = PtInRect(below, {x, y}) ? 2 : before != nullptr ? 1 : 0;
                const TDropPosition drop = FindDropPosition(list, {x, y});
                const bool same = list->GetItemAt(x, y) == walked && drop.Kind == kind &&
                                  (kind != 1 || drop.BeforeItem == before);
                if (!same && ++mismatches <= 3)
                    ADD_FAILURE() << state << ": at " << x << ", " << y;
            }
    };
    for (const bool fullSelect : {false, true}) {
        for (const TShortcutStyle style : {ssLargeImages, ssSmallImages}) {
            TShortcutList* list = fullSelect ? AddBarList({soFlatTabs, soButtonItems}, 1, 260) : AddList(120, 220);
            list->SetStyle(style);
            for (Integer i = 0; i < 16; ++i)
                AddItems(list, {captions[i % captions.size()]});
            const std::string name = std::string(fullSelect ? "full-select " : "") + (style ? "small" : "large");
            compare(list, name + " at the top");
            for (int step = 0; step < 4; ++step)
                list->DownButtonClick(nullptr);
            compare(list, name + " four steps down");
            list->ScrollItems(-23);
            compare(list, name + " part of an item further");
            TShortcutItems* items = list->GetItems();
            items->BeginUpdate();
            items->Insert(3)->SetCaption("Stale");
            items->GetItem(6)->SetCaption("Longer now than it was before");
            compare(list, name + " in an update", 4);
            items->EndUpdate();
            compare(list, name + " after the update");
            delete (fullSelect ? static_cast<TControl*>(list->GetParent()->GetParent()) : list);
        }
    }
}

TEST_F(ListLayoutTest, OnASheetTheListFillsItLessTheMarginAndCannotBeMoved)
{
    TShortcutList* list = AddBarList({soFlatTabs});
    TWinControl* sheet = list->GetParent();
    const Integer w = sheet->GetClientWidth();
    const Integer h = sheet->GetClientHeight();
    EXPECT_EQ(list->GetBoundsRect(), Rect(5, 5, 5 + w - 10, 5 + h - 10));
    list->SetBounds(0, 0, 20, 20);
    list->SetLeft(30);
    EXPECT_EQ(list->GetBoundsRect(), Rect(5, 5, 5 + w - 10, 5 + h - 10));
    EXPECT_FALSE(list->IsFullSelect());
    // The bar asks its open sheet's list for the active item.
    auto* bar = static_cast<TLaunchdeck*>(sheet->GetParent());
    AddItems(list, {"One"});
    EXPECT_EQ(bar->GetActiveList(), list);
    EXPECT_EQ(bar->GetActiveItem(), nullptr);
    list->SetActiveItem(list->GetItems()->GetItem(0));
    EXPECT_EQ(bar->GetActiveItem(), list->GetItems()->GetItem(0));
    delete bar;

    TShortcutList* full = AddBarList({soFlatTabs, soButtonItems});
    TWinControl* fullSheet = full->GetParent();
    EXPECT_TRUE(full->IsFullSelect());
    EXPECT_EQ(full->GetBoundsRect(), Rect(0, 0, fullSheet->GetClientWidth(), fullSheet->GetClientHeight()));
    // The bar's option reaches the list at the bar's next layout.
    auto* fullBar = static_cast<TLaunchdeck*>(fullSheet->GetParent());
    fullBar->SetOptions({soFlatTabs});
    EXPECT_FALSE(full->IsFullSelect());
    EXPECT_EQ(full->GetLeft(), 5);
    EXPECT_EQ(ListRectOnSheet(101, 50, false), Rect(5, 5, 96, 45));
    EXPECT_EQ(ListRectOnSheet(101, 50, true), Rect(0, 0, 101, 50));
}

TEST_F(ListLayoutTest, FullSelectBandsSpanTheListAndTouchWithoutOverlapping)
{
    TShortcutList* list = AddBarList({soFlatTabs, soButtonItems});
    AddItems(list, {"One", "A caption that wraps onto more lines than one", "Three"});
    TShortcutItems* items = list->GetItems();
    for (Integer i = 0; i < 3; ++i) {
        const TRect band = list->GetHighlightRect(items->GetItem(i));
        const TRect item = list->GetItemRect(items->GetItem(i));
        EXPECT_EQ(band, Rect(0, item.Top - 6, list->GetWidth(), item.Bottom + 6)) << i;
        if (i > 0) {
            EXPECT_EQ(band.Top, list->GetHighlightRect(items->GetItem(i - 1)).Bottom) << i;
        }
    }
}

TEST_F(ListLayoutTest, ImageListsSizeTheCellsAndTheirChangesAndRemovalReachTheList)
{
    TShortcutList* list = AddList(120, 400);
    AddItems(list, {"One", "Two"});
    TImageList* large = MakeImages(48, {clRed});
    TImageList* small = MakeImages(20, {clBlue});
    list->SetLargeImages(large);
    list->SetSmallImages(small);
    TShortcutItem* second = list->GetItems()->GetItem(1);
    const Integer line = list->GetTextRect(second).Height();
    EXPECT_EQ(list->GetActiveImages(), large);
    EXPECT_EQ(second->GetTop(), 6 + 48 + 4 + line + 12);
    EXPECT_EQ(second->GetLeft(), 60 - 24);
    large->SetHeight(40); // a change of the image list lays the list out
    EXPECT_EQ(second->GetTop(), 6 + 40 + 4 + line + 12);
    // Scrolled, then another style: the other cell size, back at the top.
    list->ScrollItems(-20);
    EXPECT_EQ(list->GetScrollOffset(), -20);
    list->SetStyle(ssSmallImages);
    EXPECT_EQ(list->GetScrollOffset(), 0);
    EXPECT_EQ(second->GetTop(), 3 + std::max<Integer>(20, line) + 6);
    delete small;
    EXPECT_EQ(list->GetSmallImages(), nullptr);
    EXPECT_EQ(second->GetTop(), 3 + std::max<Integer>(16, line) + 6);
    // An image list owned elsewhere is let go of as well.
    auto* foreign = new TImageList(nullptr, 24, 24);
    list->SetSmallImages(foreign);
    delete foreign;
    EXPECT_EQ(list->GetSmallImages(), nullptr);
    list->SetLargeImages(nullptr);
    EXPECT_EQ(large->GetCount(), 0); // resized lists are emptied: nothing else touched
}

} // namespace
} // namespace ld::test
