// Group layout: the worked example with gaps, flat and with a minimum sheet
// height, hit testing, the scroll buttons and scrolling, and the sheet bounds
// lock.
#include "tests/bar/BarTestSupport.h"

#include "controls/list/ShortcutList.h"

namespace ld::test {
namespace {

using BarLayoutTest = BarTest;

TGroupMetrics Example(bool flat, Integer minSheetHeight)
{
    TGroupMetrics m;
    m.TabHeight = 18;
    m.Flat = flat;
    m.MinSheetHeight = minSheetHeight;
    m.Active = 1;
    m.VisibleCount = 3;
    m.Client = Rect(0, 0, 84, 300);
    return m;
}

TEST(GroupGeometry, TheWorkedExample)
{
    const TGroupMetrics gaps = Example(false, 0);
    EXPECT_EQ(GroupRectOf(gaps, 0, true), Rect(0, 0, 84, 18));
    EXPECT_EQ(GroupRectOf(gaps, 1, true), Rect(0, 19, 84, 37));
    EXPECT_EQ(GroupRectOf(gaps, 2, true), Rect(0, 282, 84, 300));
    EXPECT_EQ(SheetRectOf(gaps), Rect(0, 37, 84, 282));

    const TGroupMetrics flat = Example(true, 0);
    EXPECT_EQ(GroupRectOf(flat, 1, true), Rect(0, 18, 84, 36));
    EXPECT_EQ(GroupRectOf(flat, 2, true), Rect(0, 282, 84, 300));
    EXPECT_EQ(SheetRectOf(flat), Rect(0, 35, 84, 282));

    const TGroupMetrics tall = Example(false, 300);
    EXPECT_EQ(GroupRectOf(tall, 2, true), Rect(0, 338, 84, 356));
    EXPECT_EQ(SheetRectOf(tall), Rect(0, 37, 84, 338));
}

TEST(GroupGeometry, RangeAndActiveSheetChecks)
{
    TGroupMetrics m = Example(false, 0);
    EXPECT_EQ(GroupRectOf(m, 3, true), TRect{});
    EXPECT_EQ(GroupRectOf(m, -1, true), TRect{});
    // Past the last tab without the range check: one pitch below it.
    m.Active = 2;
    EXPECT_EQ(GroupRectOf(m, 3, false), Rect(0, 301, 84, 319));
    // Before the first tab no pitch is passed: the first tab's place.
    EXPECT_EQ(GroupRectOf(m, -1, false), Rect(0, 0, 84, 18));
    m.Active = -1;
    EXPECT_EQ(GroupRectOf(m, 0, true), TRect{});
    EXPECT_EQ(SheetRectOf(m), TRect{});
}

TEST_F(BarLayoutTest, TheBarPlacesItsTabsAndSheetsAsTheExampleSays)
{
    auto* bar = AddBar(3);
    bar->SetBorderStyle(bsNone);
    bar->SetOptions({soButtonTabs, soAnimatedSheets}); // with gaps
    SetClient(bar, 84, 300);
    bar->SetActiveSheet(bar->GetSheet(1));
    EXPECT_EQ(bar->GetGroupRect(0), Rect(0, 0, 84, 18));
    EXPECT_EQ(bar->GetGroupRect(1), Rect(0, 19, 84, 37));
    EXPECT_EQ(bar->GetGroupRect(2), Rect(0, 282, 84, 300));
    for (Integer i = 0; i < 3; ++i) // hidden sheets get the rectangle too
        EXPECT_EQ(bar->GetSheet(i)->GetBoundsRect(), Rect(0, 37, 84, 282));
    bar->SetMinSheetHeight(300);
    EXPECT_EQ(bar->GetGroupRect(2), Rect(0, 338, 84, 356));
    EXPECT_EQ(bar->GetSheet(1)->GetBoundsRect(), Rect(0, 37, 84, 338));
    EXPECT_TRUE(bar->GetDownButton()->GetVisible());
    EXPECT_FALSE(bar->GetUpButton()->GetVisible());

    bar->SetMinSheetHeight(0);
    bar->SetOptions({soFlatTabs});
    SetClient(bar, 84, 300);
    EXPECT_EQ(bar->GetClientHeight(), 300);
    EXPECT_EQ(bar->GetGroupRect(1), Rect(0, 18, 84, 36));
    EXPECT_EQ(bar->GetSheet(1)->GetBoundsRect(), Rect(0, 35, 84, 282));
}

TEST_F(BarLayoutTest, HitTestingFindsTabsButNotGapsOrTheSheet)
{
    auto* bar = AddBar(3);
    bar->SetBorderStyle(bsNone);
    bar->SetOptions({});
    SetClient(bar, 84, 300);
    bar->SetActiveSheet(bar->GetSheet(1));
    EXPECT_EQ(bar->GetGroupAtPos({5, 0}), 0);
    EXPECT_EQ(bar->GetGroupAtPos({83, 17}), 0);
    EXPECT_EQ(bar->GetGroupAtPos({5, 18}), -1); // the gap row
    EXPECT_EQ(bar->GetGroupAtPos({5, 19}), 1);
    EXPECT_EQ(bar->GetGroupAtPos({5, 100}), -1);
    EXPECT_EQ(bar->GetGroupAtPos({5, 299}), 2);
    EXPECT_EQ(bar->GetGroupAtPos({84, 5}), -1);
}

TEST_F(BarLayoutTest, WithoutAnOpenSheetNothingIsHitAndNoButtonShows)
{
    auto* bar = AddBar(30, 200);
    for (Integer i = 0; i < 30; ++i)
        bar->GetSheet(i)->SetVisible(false);
    EXPECT_EQ(bar->GetActiveSheet(), nullptr);
    EXPECT_EQ(bar->GetGroupRect(0), TRect{});
    EXPECT_EQ(bar->GetGroupAtPos({0, 0}), -1);
    EXPECT_FALSE(bar->GetUpButton()->GetVisible());
    EXPECT_FALSE(bar->GetDownButton()->GetVisible());
}

TEST_F(BarLayoutTest, ScrollButtonsShowOnlyWhereTabsAreHiddenAndScrollBy8)
{
    auto* bar = AddBar(20, 200); // flat: 20 tabs of 18 do not fit in 200
    bar->SetActiveSheet(bar->GetSheet(0));
    EXPECT_FALSE(bar->GetUpButton()->GetVisible());
    EXPECT_TRUE(bar->GetDownButton()->GetVisible());
    EXPECT_EQ(bar->GetUpButton()->GetBoundsRect(), Rect(0, 0, 84, 12));
    EXPECT_EQ(bar->GetDownButton()->GetBoundsRect(), Rect(0, 188, 84, 200));

    // Opening the last sheet scrolls its tab above the bottom edge.
    bar->SetActiveSheet(bar->GetSheet(19));
    EXPECT_EQ(bar->GetScrollOffset() % 8, 0);
    EXPECT_LE(bar->GetGroupRect(19).Bottom, 200);
    EXPECT_TRUE(bar->GetUpButton()->GetVisible());

    // The up button's clicks, through the pointer, until it hides.
    Integer clicks = 0;
    while (bar->GetUpButton()->GetVisible() && clicks < 100) {
        const TPoint p = bar->GetUpButton()->ClientToScreen({40, 6});
        Backend->MoveTo(p.X, p.Y);
        Backend->Press();
        Backend->Release();
        Backend->RunUntilIdle();
        ++clicks;
    }
    EXPECT_LT(clicks, 100);
    for (Integer i = 0; i < 20; ++i)
        EXPECT_GE(bar->GetGroupRect(i).Top, 0);
    EXPECT_LT(bar->GetGroupRect(0).Top, 8);
}

// A notch of the wheel makes the arrows' steps nearest to a tab (two of 8
// for tabs 18 high) while that arrow shows; past it the wheel does nothing,
// and an open caption editor holds the tabs still.
TEST_F(BarLayoutTest, TheWheelScrollsTheTabsByATabANotchWhileAnArrowShows)
{
    auto* bar = AddBar(20, 200);
    bar->SetActiveSheet(bar->GetSheet(0));
    const TPoint p = bar->ClientToScreen({40, 190});
    Backend->MoveTo(p.X, p.Y);
    auto wheel = [&](Integer notches) {
        Backend->Wheel(notches);
        Backend->RunUntilIdle();
        return bar->GetScrollOffset();
    };
    EXPECT_EQ(wheel(1), 0) << "nothing hidden above";
    EXPECT_EQ(wheel(-1), -16);
    EXPECT_EQ(wheel(-2), -48);
    EXPECT_EQ(bar->GetActiveGroup(), bar->GetGroupAtPos({40, 190})) << "the tab under the pointer is hot";
    const Integer end = wheel(-30);
    EXPECT_FALSE(bar->GetDownButton()->GetVisible());
    EXPECT_LE(bar->GetGroupRect(19).Bottom, 200);
    EXPECT_EQ(wheel(-1), end);
    bar->EditCaption(bar->GetSheet(19));
    ASSERT_NE(bar->GetCaptionEdit(), nullptr);
    EXPECT_EQ(wheel(1), end);
    Backend->Key(VK_ESCAPE);
    Backend->RunUntilIdle();
    ASSERT_EQ(bar->GetCaptionEdit(), nullptr);
    EXPECT_EQ(wheel(1), end + 16);
}

TEST_F(BarLayoutTest, EnsureSheetVisibleIgnoresTheButtonOfItsOwnEnd)
{
    auto* bar = AddBar(20, 200);
    bar->SetActiveSheet(bar->GetSheet(19));
    // The last tab may end at the client bottom although the down button shows.
    bar->DownButtonClick(nullptr);
    bar->UpButtonClick(nullptr);
    EXPECT_EQ(bar->GetGroupRect(19).Bottom, 200);
    bar->EnsureSheetVisible(bar->GetSheet(19));
    EXPECT_EQ(bar->GetGroupRect(19).Bottom, 200);
}

TEST_F(BarLayoutTest, CodeCannotMoveASheet)
{
    auto* bar = AddBar(2, 200);
    TShortcutSheet* sheet = bar->GetActiveSheet();
    const TRect placed = sheet->GetBoundsRect();
    sheet->SetLeft(30);
    sheet->SetHeight(10);
    EXPECT_EQ(sheet->GetBoundsRect(), placed);
}

class TCountingList : public TShortcutList {
public:
    using TShortcutList::TShortcutList;
    void LayoutChanged() override { ++Layouts; }
    int Layouts = 0;
};

TEST_F(BarLayoutTest, EveryLayoutChangeReachesListsAtAnyDepth)
{
    auto* bar = AddBar(2, 200);
    auto* direct = new TCountingList(Form);
    direct->SetParent(bar->GetSheet(0));
    auto* panel = new TShortcutSheet(Form); // any windowed container
    panel->SetParent(bar->GetSheet(1));
    auto* nested = new TCountingList(Form);
    nested->SetParent(panel);
    // Joining a parent lays a list out too: count from here.
    direct->Layouts = 0;
    nested->Layouts = 0;
    bar->SetTabHeight(20);
    EXPECT_EQ(direct->Layouts, 1);
    EXPECT_EQ(nested->Layouts, 1);
    bar->SetBounds(0, 0, 84, 150); // WM_SIZE
    EXPECT_GE(direct->Layouts, 2);
}

} // namespace
} // namespace ld::test
