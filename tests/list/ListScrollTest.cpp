// Scrolling: which arrows show, the one-item steps (also from the states the
// steps leave behind), scrolling an item into view, and the animated scroll
// on the simulated clock, including a time window across the tick wrap.
#include "tests/list/ListTestSupport.h"

#include "controls/shared/AnimationTicks.h"
#include "platform/win/Paint.h"

namespace ld::test {
namespace {

using ListScrollTest = ListTest;

// The height of one item with a one-line caption, large style, no images.
Integer ItemHeight(TShortcutList* list) { return list->GetItemRect(list->GetItems()->GetItem(0)).Height(); }

TEST_F(ListScrollTest, TheDownArrowShowsWhenTheLastItemReachesTheBottomLineTheUpArrowWhenOneIsAbove)
{
    TShortcutList* list = AddList(120, 400);
    AddItems(list, {"One", "Two", "Three"});
    const Integer h = ItemHeight(list);
    // Client height at which the last item's bottom lies exactly on the bottom line.
    const Integer exact = 6 + 3 * h + 2 * 12 + 6;
    list->SetClientHeight(exact + 1);
    EXPECT_FALSE(list->GetUpButton()->GetVisible());
    EXPECT_FALSE(list->GetDownButton()->GetVisible());
    list->SetClientHeight(exact);
    EXPECT_FALSE(list->GetUpButton()->GetVisible()) << "the first item on the top line is not above it";
    EXPECT_TRUE(list->GetDownButton()->GetVisible());
    list->DownButtonClick(nullptr);
    EXPECT_TRUE(list->GetUpButton()->GetVisible());
    EXPECT_FALSE(list->GetDownButton()->GetVisible());
    // At the right edge, as big as the up button.
    const TRect up = list->GetUpButton()->GetBoundsRect();
    EXPECT_EQ(up.Right, list->GetClientWidth());
    EXPECT_EQ(up.Top, 0);
    EXPECT_EQ(list->GetDownButton()->GetBoundsRect(),
              Rect(up.Left, exact - up.Height(), up.Right, exact));
}

TEST_F(ListScrollTest, ADownStepFromTheLastItemLeavesNoTopItemAndTheUpStepStartsFromTheLast)
{
    TShortcutList* list = AddList(120, 100);
    AddItems(list, {"One", "Two", "Three"});
    TShortcutItems* items = list->GetItems();
    const Integer pitch = ItemHeight(list) + 12;
    EXPECT_EQ(list->GetTopItem(), items->GetItem(0));
    list->UpButtonClick(nullptr); // the first is the top item: nothing
    EXPECT_EQ(list->GetScrollOffset(), 0);
    list->DownButtonClick(nullptr);
    list->DownButtonClick(nullptr);
    EXPECT_EQ(list->GetTopItem(), items->GetItem(2));
    EXPECT_EQ(list->GetScrollOffset(), -2 * pitch);
    list->DownButtonClick(nullptr);
    EXPECT_EQ(list->GetScrollOffset(), -3 * pitch);
    EXPECT_EQ(list->GetTopItem(), nullptr);
    list->DownButtonClick(nullptr); // no top item: nothing
    EXPECT_EQ(list->GetScrollOffset(), -3 * pitch);
    list->UpButtonClick(nullptr);
    EXPECT_EQ(list->GetScrollOffset(), -2 * pitch);
    EXPECT_EQ(list->GetTopItem(), items->GetItem(2));
    EXPECT_EQ(items->GetItem(2)->GetTop(), 6);
    // The offset survives a layout.
    items->Add()->SetCaption("Four");
    EXPECT_EQ(list->GetScrollOffset(), -2 * pitch);
    EXPECT_EQ(items->GetItem(2)->GetTop(), 6);
}

// A notch of the wheel over a list scrolls one item, as an arrow does; where
// that arrow is hidden the notch goes on to the bar, which scrolls its tabs
// when it can; an open caption editor holds the items still.
TEST_F(ListScrollTest, TheWheelScrollsOneItemANotchWhileAnArrowShows)
{
    TShortcutList* list = AddBarList({}, 12, 200);
    auto* bar = dynamic_cast<TLaunchdeck*>(list->GetParent()->GetParent());
    bar->SetMinSheetHeight(120); // the tabs below the sheet run past the bottom
    AddItems(list, {"One", "Two", "Three", "Four", "Five", "Six"});
    Backend->RunUntilIdle();
    TShortcutItems* items = list->GetItems();
    ASSERT_TRUE(list->GetDownButton()->GetVisible());
    ASSERT_TRUE(bar->GetDownButton()->GetVisible());
    const TRect icon = list->GetIconRect(items->GetItem(0), false);
    const TPoint p = list->ClientToScreen({(icon.Left + icon.Right) / 2, (icon.Top + icon.Bottom) / 2});
    Backend->MoveTo(p.X, p.Y);
    auto wheel = [&](Integer notches) {
        Backend->Wheel(notches);
        Backend->RunUntilIdle();
        return list->GetTopItem();
    };
    Backend->RunUntilIdle();
    EXPECT_EQ(list->GetActiveItem(), items->GetItem(0));
    EXPECT_EQ(wheel(-1), items->GetItem(1));
    EXPECT_EQ(list->GetActiveItem(), items->GetItem(1)) << "the item under the pointer is hot";
    EXPECT_EQ(wheel(1), items->GetItem(0));
    EXPECT_EQ(wheel(1), items->GetItem(0));
    Integer notches = 0;
    while (list->GetDownButton()->GetVisible() && notches < 10) {
        wheel(-1);
        ++notches;
    }
    EXPECT_EQ(list->GetTopItem(), items->GetItem(notches));
    EXPECT_EQ(bar->GetScrollOffset(), 0);
    const Integer offset = list->GetScrollOffset();
    wheel(-1);
    EXPECT_EQ(list->GetScrollOffset(), offset);
    EXPECT_EQ(bar->GetScrollOffset(), -16);
    list->EditCaption(list->GetTopItem());
    ASSERT_NE(list->GetCaptionEdit(), nullptr);
    wheel(1);
    EXPECT_EQ(list->GetScrollOffset(), offset);
}

TEST_F(ListScrollTest, AnItemThatStraddlesTheTopLineAfterALayoutSlidesOntoIt)
{
    TShortcutList* list = AddList(120, 100);
    AddItems(list, {"One", "Two", "Three"});
    list->DownButtonClick(nullptr);
    // The hidden first item grows by a line: the second no longer starts on
    // the top line, and the first straddles it.
    list->GetItems()->GetItem(0)->SetCaption("A caption that wraps onto more lines");
    TShortcutItem* top = list->GetTopItem();
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top, list->GetItems()->GetItem(0));
    EXPECT_EQ(list->GetItemRect(top).Top, 6);
}

TEST_F(ListScrollTest, EnsureItemVisibleOpensTheSheetAndStepsOneItemAtATime)
{
    TShortcutList* list = AddBarList({soFlatTabs}, 2, 300);
    auto* sheet = static_cast<TShortcutSheet*>(list->GetParent());
    TLaunchdeck* bar = sheet->GetLaunchdeck();
    for (int i = 0; i < 12; ++i)
        list->GetItems()->Add()->SetCaption("Item " + std::to_string(i));
    bar->SetActiveSheet(bar->GetSheet(1));
    ASSERT_NE(bar->GetActiveSheet(), sheet);
    TShortcutItem* target = list->GetItems()->GetItem(9);
    list->EnsureItemVisible(target);
    EXPECT_EQ(bar->GetActiveSheet(), sheet);
    const Integer pitch = ItemHeight(list) + 12;
    const TRect r = list->GetItemRect(target);
    EXPECT_LE(r.Bottom, list->GetClientHeight() - 6);
    EXPECT_GT(r.Bottom + pitch, list->GetClientHeight() - 6) << "one step fewer would not do";
    EXPECT_EQ(list->GetScrollOffset() % pitch, 0);
    // Back up to the first.
    list->EnsureItemVisible(list->GetItems()->GetItem(0));
    EXPECT_EQ(list->GetScrollOffset(), 0);
}

TEST_F(ListScrollTest, EnsureItemVisibleEndsWhenNoStepMovesAnything)
{
    TShortcutList* list = AddList(120, 100);
    AddItems(list, {"One", "Two", "Three", "Four", "Five"});
    // Off the lines: the down step finds no top item until realigned.
    list->ScrollItems(-3);
    ASSERT_EQ(list->GetTopItem(), nullptr);
    TShortcutItem* last = list->GetItems()->GetItem(4);
    list->EnsureItemVisible(last);
    EXPECT_LE(list->GetItemRect(last).Bottom, list->GetClientHeight() - 6);
    EXPECT_NE(list->GetTopItem(), nullptr);

    // A single item stepped past the top: nothing straddles, nothing moves.
    TShortcutList* single = AddList(120, 100);
    AddItems(single, {"Only"});
    single->DownButtonClick(nullptr);
    const Integer offset = single->GetScrollOffset();
    single->EnsureItemVisible(single->GetItems()->GetItem(0));
    EXPECT_EQ(single->GetScrollOffset(), offset);
}

TEST_F(ListScrollTest, AScrollAnimatesWithErasingAndEndsRepaintedAtTheExactPlace)
{
    TShortcutList* list = AddList(120, 100);
    AddItems(list, {"One", "Two", "Three", "Four"});
    Backend->RunUntilIdle();
    const Integer before = list->GetItems()->GetItem(1)->GetTop();
    const TPaintCounters start = GetPaintCounters();
    const uint64_t reads = TickSource::ReadCount();
    list->ScrollItems(-30);
    const TPaintCounters end = GetPaintCounters();
    EXPECT_FALSE(list->IsScrolling());
    EXPECT_EQ(list->GetItems()->GetItem(1)->GetTop(), before - 30);
    EXPECT_EQ(list->GetScrollOffset(), -30);
    EXPECT_GE(end.Erases - start.Erases, 10u) << "the uncovered strips are erased frame by frame";
    EXPECT_GE(end.Paints - start.Paints, 1u);
    // 40 ms at one millisecond a read: a bounded number of frames.
    EXPECT_LT(TickSource::ReadCount() - reads, 200u);
    // What the animation left equals a fresh paint.
    const auto shown = Backend->Capture(Rect(0, 0, 1024, 768));
    Repaint(list);
    const auto fresh = Backend->Capture(Rect(0, 0, 1024, 768));
    EXPECT_TRUE(SameSurface(*shown, *fresh));

    // No distance, no repaint.
    const TPaintCounters idle = GetPaintCounters();
    list->ScrollItems(0);
    EXPECT_EQ(GetPaintCounters().Paints, idle.Paints);
    // Outside a scroll the list erases nothing itself.
    HDC dc = GetDC(list->GetHandle());
    EXPECT_EQ(list->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    ReleaseDC(list->GetHandle(), dc);
}

TEST_F(ListScrollTest, ATimeWindowAcrossTheTickWrapSkipsTheAnimation)
{
    TShortcutList* list = AddList(120, 100);
    AddItems(list, {"One", "Two", "Three", "Four"});
    Backend->RunUntilIdle();
#if LD_HOST_SIGNED_TICKS
    const DWORD nearWrap = 0x7FFFFFF0u;
    const DWORD farFromWrap = 0xFFFFFFF0u;
#else
    const DWORD nearWrap = 0xFFFFFFF0u;
    const DWORD farFromWrap = 0x7FFFFFF0u;
#endif
    TickSource::SetTicks(nearWrap);
    TPaintCounters start = GetPaintCounters();
    list->ScrollItems(-20);
    EXPECT_EQ(GetPaintCounters().Erases, start.Erases) << "no frames";
    EXPECT_EQ(list->GetScrollOffset(), -20) << "but the end state";
    EXPECT_GE(GetPaintCounters().Paints, start.Paints + 1);

    TickSource::SetTicks(farFromWrap);
    start = GetPaintCounters();
    list->ScrollItems(20);
    EXPECT_GT(GetPaintCounters().Erases, start.Erases);
    EXPECT_EQ(list->GetScrollOffset(), 0);
}

} // namespace
} // namespace ld::test
