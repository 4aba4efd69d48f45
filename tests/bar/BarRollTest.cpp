// The sheet roll on the simulated clock: the order of events, when no slide
// runs, the end state equal to a direct change, the slide keeping off visible
// scroll buttons, and a time window across the tick wrap.
#include "tests/bar/BarTestSupport.h"

#include <vector>

namespace ld::test {
namespace {

class BarRollTest : public BarTest {
protected:
    // Pixels of the bar's window on the screen, row by row.
    std::vector<uint32_t> Grab(TLaunchdeck* bar) const
    {
        const TPoint origin = bar->ClientToScreen({0, 0});
        std::vector<uint32_t> pixels;
        for (Integer y = 0; y < bar->GetClientHeight(); ++y)
            for (Integer x = 0; x < bar->GetClientWidth(); ++x)
                pixels.push_back(GetScreenSurface().Pixel(origin.X + x, origin.Y + y));
        return pixels;
    }
};

TEST_F(BarRollTest, RollAsksChangingSlidesThenChangesInThatOrder)
{
    TLaunchdeck* bar = AddBar(4, 300);
    bar->SetActiveSheet(bar->GetSheet(0));
    Backend->RunUntilIdle();
    LogChanges(bar);
    TickSource::SetStep(1);
    const uint64_t before = TickSource::ReadCount();
    bar->RollInSheet(3);
    EXPECT_EQ(Events, (std::vector<std::string>{"changing", "change"}));
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(3));
    // One read to start, then one per millisecond until the end has passed.
    EXPECT_GE(TickSource::ReadCount() - before, 120u);

    Events.clear();
    bar->RollInSheet(3);
    EXPECT_EQ(Events, (std::vector<std::string>{"changing"})) << "the open tab: no slide, no change";
}

TEST_F(BarRollTest, NoSlideWhenRefusedUnanimatedOrAtTheWrap)
{
    TLaunchdeck* bar = AddBar(4, 300);
    bar->SetActiveSheet(bar->GetSheet(0));
    Backend->RunUntilIdle();
    LogChanges(bar);
    TickSource::SetStep(1);
    uint64_t before = TickSource::ReadCount();
    Allow = false;
    bar->RollInSheet(2);
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(0));
    EXPECT_EQ(TickSource::ReadCount(), before) << "a refusal prevents the slide";

    Allow = true;
    bar->SetOptions(TShortcutOptions{soFlatTabs});
    Backend->RunUntilIdle();
    before = TickSource::ReadCount();
    bar->RollInSheet(2);
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(2));
    EXPECT_LT(TickSource::ReadCount() - before, 5u);

    bar->SetOptions(TShortcutOptions{soAnimatedSheets});
    Backend->RunUntilIdle();
    TickSource::SetTicks(0xFFFFFFFFu - 60);
    before = TickSource::ReadCount();
    bar->RollInSheet(0);
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(0)) << "the end state is shown at once";
    EXPECT_LT(TickSource::ReadCount() - before, 5u);
}

TEST_F(BarRollTest, RollsToTheLastAndBackEndAsDirectChanges)
{
    for (const TShortcutOptions options : {TShortcutOptions{soAnimatedSheets},
                                           TShortcutOptions{soFlatTabs, soButtonTabs, soAnimatedSheets}}) {
        TLaunchdeck* bar = AddBar(6, 300);
        bar->SetOptions(options);
        bar->SetActiveSheet(bar->GetSheet(0));
        Backend->RunUntilIdle();
        TickSource::SetStep(1);
        bar->RollInSheet(5);
        Backend->RunUntilIdle();
        const auto rolledDown = Grab(bar);
        bar->RollInSheet(0);
        Backend->RunUntilIdle();
        const auto rolledUp = Grab(bar);
        TickSource::SetStep(0);

        bar->SetActiveSheet(bar->GetSheet(5));
        Backend->RunUntilIdle();
        EXPECT_TRUE(Grab(bar) == rolledDown);
        bar->SetActiveSheet(bar->GetSheet(0));
        Backend->RunUntilIdle();
        EXPECT_TRUE(Grab(bar) == rolledUp);
        delete bar;
    }
}

TEST_F(BarRollTest, SlidesMovePixelsButNeverOverVisibleScrollButtons)
{
    // Twelve tabs and a sheet of 80 pixels on 200: both scroll buttons show
    // once the stack is scrolled to the middle.
    TLaunchdeck* bar = AddBar(12, 200);
    bar->SetMinSheetHeight(80);
    bar->SetActiveSheet(bar->GetSheet(6));
    bar->DownButtonClick(nullptr);
    Backend->RunUntilIdle();
    ASSERT_TRUE(bar->GetUpButton()->GetVisible());
    ASSERT_TRUE(bar->GetDownButton()->GetVisible());
    const Integer width = bar->GetClientWidth();
    const Integer height = bar->GetClientHeight();
    const auto before = Grab(bar);
    auto buttonRows = [&](const std::vector<uint32_t>& pixels) {
        std::vector<uint32_t> rows;
        for (Integer y = 0; y < height; ++y)
            if (y < TLaunchdeck::ScrollButtonHeight || y >= height - TLaunchdeck::ScrollButtonHeight)
                rows.insert(rows.end(), pixels.begin() + y * width, pixels.begin() + (y + 1) * width);
        return rows;
    };

    TickSource::SetStep(1);
    for (const Integer target : {7, 9, 11}) {
        bar->RollUp(target);
        EXPECT_TRUE(buttonRows(Grab(bar)) == buttonRows(before)) << "up to " << target;
    }
    EXPECT_FALSE(Grab(bar) == before) << "the slides moved the tabs";
    for (const Integer target : {5, 3, 0}) {
        bar->RollDown(target);
        EXPECT_TRUE(buttonRows(Grab(bar)) == buttonRows(before)) << "down to " << target;
    }
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(6)) << "a slide changes no state";
}

} // namespace
} // namespace ld::test
