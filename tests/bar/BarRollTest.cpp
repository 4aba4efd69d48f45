// The sheet roll on the simulated clock: the order of events, when no slide
// runs, the end state equal to a direct change, requests made while a roll
// runs, the slide keeping off visible scroll buttons and off the screen
// without a window, and a time window across the tick wrap.
#include "tests/bar/BarTestSupport.h"

#include <vector>

#include "platform/win/Input.h"

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

TEST_F(BarRollTest, RequestsMadeDuringARollLeaveTheLastOpenAfterOneSlide)
{
    // From sheet 2: a click on tab 4, Alt+D for sheet 0 and a click on tab 5,
    // all queued before the first is handled, so that the last two come in
    // while the first roll lets messages through.
    TLaunchdeck* bar = AddBar(6, 300);
    bar->GetSheet(0)->SetCaption("&Drafts");
    bar->SetActiveSheet(bar->GetSheet(2));
    Backend->RunUntilIdle();
    LogChanges(bar);
    auto queueClick = [&](Integer tab) {
        const TRect r = bar->GetGroupRect(tab);
        const TPoint p = bar->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
        Backend->Click(p.X, p.Y);
    };
    queueClick(4);
    Backend->KeyWith(VK_MENU, 'D');
    queueClick(5);
    TickSource::SetStep(1);
    const uint64_t before = TickSource::ReadCount();
    Backend->RunUntilIdle();
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(5)) << "the last request wins";
    EXPECT_EQ(Events, (std::vector<std::string>{"changing", "changing", "changing", "change"}));
    const uint64_t reads = TickSource::ReadCount() - before;
    EXPECT_TRUE(reads >= 120 && reads < 250) << reads << " reads: one slide of 125 ms, not one per request";

    const TPoint away = bar->ClientToScreen({40, 100});
    Backend->MoveTo(away.X, away.Y);
    Backend->RunUntilIdle();
    const auto rolled = Grab(bar);
    TickSource::SetStep(0);
    bar->SetActiveSheet(bar->GetSheet(2));
    bar->SetActiveSheet(bar->GetSheet(5));
    Backend->RunUntilIdle();
    EXPECT_TRUE(Grab(bar) == rolled) << "drawn as a direct change draws it";
}

TEST_F(BarRollTest, WithoutAWindowOnTheScreenOnlyTheSheetChanges)
{
    // A bar with no parent, and one on a form never shown, both placed over
    // the shown form: a slide through a DC of no window would move its pixels.
    auto* hidden = new TForm(nullptr);
    hidden->SetBounds(100, 100, 400, 360);
    for (TWinControl* parent : {static_cast<TWinControl*>(nullptr), static_cast<TWinControl*>(hidden)}) {
        auto* bar = new TLaunchdeck(Form);
        bar->SetBounds(100, 120, 84, 300);
        bar->SetParent(parent);
        for (Integer i = 0; i < 4; ++i)
            bar->NewSheet()->SetCaption("Sheet" + std::to_string(i));
        bar->SetActiveSheet(bar->GetSheet(0));
        Backend->RunUntilIdle();
        const TSurface& screen = GetScreenSurface();
        const std::vector<uint32_t> before(screen.Row(0), screen.Row(0) + screen.Width() * screen.Height());
        TickSource::SetStep(1);
        const uint64_t reads = TickSource::ReadCount();
        bar->RollInSheet(3);
        EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(3));
        EXPECT_LT(TickSource::ReadCount() - reads, 5u) << "no slide";
        const std::vector<uint32_t> after(screen.Row(0), screen.Row(0) + screen.Width() * screen.Height());
        EXPECT_TRUE(after == before) << "the screen is left alone";
        TickSource::SetStep(0);
        delete bar;
    }
    delete hidden;
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
