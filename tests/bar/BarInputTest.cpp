// The bar's answers to real input through the queue, on the simulated clock:
// the hot tab and its leave timer, pressing and clicking with the order of
// events, the hand cursor, a drag resting on a tab, accelerators, and the
// designer's hit test.
#include "tests/bar/BarTestSupport.h"

#include <vector>

#include "platform/vcl/DragDrop.h"
#include "platform/win/Input.h"

namespace ld::test {
namespace {

// Tab colour $808080 derives highlight $C0C0C0, shadow $404040, light $A0A0A0.
constexpr COLORREF Highlight = 0xC0C0C0, Shadow = 0x404040, Light = 0xA0A0A0, Black = 0x000000;

// A designer that hands a mouse message to the control only when the
// control's hit test asks for it, as the host's form designer does.
class TTestDesigner : public TDesigner {
public:
    explicit TTestDesigner(std::vector<std::string>& events) : FEvents(events) {}
    bool IsDesignMsg(TControl* sender, TMessage& message) override
    {
        if (message.Msg < WM_MOUSEFIRST || message.Msg > WM_MOUSELAST)
            return false;
        return sender->Perform(CM_DESIGNHITTEST, message.WParam, message.LParam) == 0;
    }
    void Modified() override { FEvents.push_back("modified"); }

private:
    std::vector<std::string>& FEvents;
};

class BarInputTest : public BarTest {
protected:
    // Four sheets on a client of 84 x 300 with known tab colours; the first
    // sheet is open, so tab 0 is at the top and tabs 1-3 at the bottom.
    TLaunchdeck* InputBar(TShortcutOptions options = {soFlatTabs, soButtonTabs, soAnimatedSheets})
    {
        TLaunchdeck* bar = AddBar(4, 300);
        bar->SetOptions(options);
        bar->SetTabColor(0x00808080);
        bar->SetActiveSheet(bar->GetSheet(0));
        Backend->RunUntilIdle();
        return bar;
    }
    // The change events and the bar's mouse-button events, in order. The
    // mouse events come after the bar's own work: the hot and the pressed
    // tab are already set when they fire, and the pressed tab cleared.
    void Log(TLaunchdeck* bar)
    {
        LogChanges(bar);
        bar->SetOnMouseDown(TMouseEvent::Lambda([this, bar](TObject*, TMouseButton b, TShiftState, Integer x, Integer y) {
            Events.push_back(b == mbLeft ? "down" : "rdown");
            const bool marks = b == mbLeft && !bar->ComponentState().Contains(csDesigning);
            EXPECT_EQ(bar->GetDownIndex(), marks ? bar->GetGroupAtPos({x, y}) : -1);
        }));
        bar->SetOnMouseMove(TMouseMoveEvent::Lambda([bar](TObject*, TShiftState, Integer x, Integer y) {
            EXPECT_EQ(bar->GetActiveGroup(), bar->GetGroupAtPos({x, y}));
        }));
        bar->SetOnMouseUp(TMouseEvent::Lambda([this, bar](TObject*, TMouseButton b, TShiftState, Integer, Integer) {
            Events.push_back(b == mbLeft ? "up" : "rup");
            EXPECT_EQ(bar->GetDownIndex(), -1);
        }));
    }
    static TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
    // Moves the pointer to a client point of Control and handles what follows.
    void MoveOver(TControl* control, TPoint client)
    {
        const TPoint p = control->ClientToScreen(client);
        Backend->MoveTo(p.X, p.Y);
        Backend->RunUntilIdle();
    }
    void MoveToTab(TLaunchdeck* bar, Integer index) { MoveOver(bar, Centre(bar->GetGroupRect(index))); }
    void ClickTab(TLaunchdeck* bar, Integer index, TPointerButton button = TPointerButton::Left)
    {
        MoveToTab(bar, index);
        Backend->Press(button);
        Backend->Release(button);
        Backend->RunUntilIdle();
    }
    // The middle of the open sheet, away from every tab.
    static TPoint OnSheet(TLaunchdeck* bar) { return Centre(bar->GetActiveSheet()->GetBoundsRect()); }
    // How tab Index is drawn, read from three of its pixels.
    static std::string Look(TLaunchdeck* bar, Integer index)
    {
        const TRect r = bar->GetGroupRect(index);
        const COLORREF topLeft = Pixel(bar, r.Left, r.Top), topRight = Pixel(bar, r.Right - 1, r.Top);
        if (topLeft == Black && topRight == Highlight)
            return "sunk";
        if (topLeft == Highlight && topRight == Black)
            return Pixel(bar, r.Left + 1, r.Top + 1) == Light ? "raised" : "3d";
        if (topLeft == Highlight && topRight == Shadow)
            return "flat";
        return "unknown";
    }
    HCURSOR Hand() const { return Screen->GetCursors(crHandPoint); }
};

using Strings = std::vector<std::string>;

// ---- hot tab, press and click ----------------------------------------------------------

TEST_F(BarInputTest, TheTabUnderThePointerIsRaisedPressedSunkAndFlatOnceLeft)
{
    TLaunchdeck* bar = InputBar();
    Log(bar);
    MoveToTab(bar, 2);
    EXPECT_EQ(bar->GetActiveGroup(), 2);
    EXPECT_EQ(bar->GetActiveTab(), 2);
    EXPECT_EQ(Look(bar, 2), "raised");
    EXPECT_EQ(Look(bar, 1), "flat");
    Backend->SaveWindowShot(bar->GetHandle(), OutputPath("bar_input_hot.png"));

    Backend->Press();
    Backend->RunUntilIdle();
    EXPECT_EQ(bar->GetDownIndex(), 2);
    EXPECT_EQ(Look(bar, 2), "sunk");
    Backend->SaveWindowShot(bar->GetHandle(), OutputPath("bar_input_pressed.png"));

    // The bar holds the mouse: moving off the tab makes it un-hot and flat,
    // moving back makes it sunk again.
    MoveOver(bar, OnSheet(bar));
    EXPECT_EQ(bar->GetActiveGroup(), -1);
    EXPECT_EQ(bar->GetDownIndex(), 2);
    EXPECT_EQ(Look(bar, 2), "flat");
    MoveToTab(bar, 2);
    EXPECT_EQ(Look(bar, 2), "sunk");

    // Released elsewhere: nothing opens, nothing is asked.
    MoveOver(bar, OnSheet(bar));
    Backend->Release();
    Backend->RunUntilIdle();
    EXPECT_EQ(bar->GetDownIndex(), -1);
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(0));
    EXPECT_EQ(Events, (Strings{"down", "up"}));
    EXPECT_EQ(Look(bar, 2), "flat");
}

TEST_F(BarInputTest, AClickOpensTheTabBetweenMouseDownAndMouseUp)
{
    TLaunchdeck* bar = InputBar();
    Log(bar);
    TickSource::SetStep(1);
    const uint64_t reads = TickSource::ReadCount();
    ClickTab(bar, 2);
    EXPECT_EQ(Events, (Strings{"down", "changing", "change", "up"}));
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(2));
    EXPECT_GE(TickSource::ReadCount() - reads, 120u) << "the roll ran";
    EXPECT_EQ(bar->GetDownIndex(), -1);

    // The open tab: asked, but nothing changes.
    Events.clear();
    ClickTab(bar, 2);
    EXPECT_EQ(Events, (Strings{"down", "changing", "up"}));

    // The right button presses nothing and opens nothing; its events fire once.
    Events.clear();
    ClickTab(bar, 0, TPointerButton::Right);
    EXPECT_EQ(Events, (Strings{"rdown", "rup"}));
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(2));
    EXPECT_EQ(bar->GetDownIndex(), -1);

    // Pressed and released on no tab (the gap row below tab 0): nothing at all.
    bar->SetOptions({soButtonTabs, soAnimatedSheets});
    Backend->RunUntilIdle();
    Events.clear();
    MoveOver(bar, {40, bar->GetGroupRect(0).Bottom});
    ASSERT_EQ(bar->GetActiveGroup(), -1);
    Backend->Press();
    Backend->Release();
    Backend->RunUntilIdle();
    EXPECT_EQ(Events, (Strings{"down", "up"}));
}

TEST_F(BarInputTest, APressReleasedOnAnotherTabOpensNothingAndRedrawsBoth)
{
    TLaunchdeck* bar = InputBar();
    Log(bar);
    MoveToTab(bar, 2);
    Backend->Press();
    Backend->RunUntilIdle();
    MoveToTab(bar, 1);
    EXPECT_EQ(bar->GetActiveGroup(), 1);
    EXPECT_EQ(Look(bar, 1), "flat") << "hot but another tab is pressed";
    EXPECT_EQ(Look(bar, 2), "flat");
    Backend->Release();
    Backend->RunUntilIdle();
    EXPECT_EQ(Events, (Strings{"down", "up"}));
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(0));
    // Nothing pressed any more: the hot tab rises at once.
    EXPECT_EQ(Look(bar, 1), "raised");
    EXPECT_EQ(Look(bar, 2), "flat");
}

TEST_F(BarInputTest, ARefusedClickLeavesTheTabRaisedNotSunk)
{
    TLaunchdeck* bar = InputBar();
    Log(bar);
    Allow = false;
    TickSource::SetStep(1);
    const uint64_t reads = TickSource::ReadCount();
    ClickTab(bar, 3);
    EXPECT_EQ(Events, (Strings{"down", "changing", "up"}));
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(0));
    EXPECT_LT(TickSource::ReadCount() - reads, 20u) << "no roll";
    EXPECT_EQ(Look(bar, 3), "raised");
}

TEST_F(BarInputTest, HotCaptionsAreNavyOnlyWhileNothingIsPressed)
{
    TLaunchdeck* bar = InputBar({soHotTabs});
    bar->GetSheet(1)->SetCaption("MMMM");
    const TRect tab = bar->GetGroupRect(1);
    auto navy = [&] {
        for (Integer y = tab.Top; y < tab.Bottom; ++y)
            for (Integer x = tab.Left; x < tab.Right; ++x)
                if (Pixel(bar, x, y) == 0x800000)
                    return true;
        return false;
    };
    MoveToTab(bar, 1);
    EXPECT_TRUE(navy());
    EXPECT_EQ(Look(bar, 1), "3d") << "no button tabs: the idle style stays";
    Allow = false;
    Log(bar);
    Backend->Press();
    Backend->RunUntilIdle();
    EXPECT_FALSE(navy());
    Backend->Release();
    Backend->RunUntilIdle();
    EXPECT_TRUE(navy()) << "the release repaints the hot caption";
}

// ---- leaving -------------------------------------------------------------------------------

TEST_F(BarInputTest, LeavingTheBarDarkensTheHotTabAtOnce)
{
    TLaunchdeck* bar = InputBar();
    MoveToTab(bar, 1);
    ASSERT_EQ(Look(bar, 1), "raised");
    MoveOver(Form, {300, 200}); // the form, right of the bar
    EXPECT_EQ(bar->GetActiveGroup(), -1);
    EXPECT_EQ(Look(bar, 1), "flat");

    // Onto the open sheet, a child of the bar: no tab is there.
    MoveToTab(bar, 1);
    MoveOver(bar, OnSheet(bar));
    EXPECT_EQ(bar->GetActiveGroup(), -1);
}

TEST_F(BarInputTest, TheLeaveTimerDarkensAHotTabWhoseLeavingWentUnreported)
{
    TLaunchdeck* bar = InputBar();
    auto* other = new TCustomControl(Form);
    other->SetParent(Form);
    other->SetBounds(200, 20, 80, 80);
    Backend->RunUntilIdle();
    MoveToTab(bar, 1);
    // Another control takes the mouse: the pointer's leaving is then not
    // told to the bar, and the timer waits while the capture lasts.
    SetCaptureControl(other);
    MoveOver(Form, {300, 200});
    EXPECT_EQ(bar->GetActiveGroup(), 1);
    Backend->Advance(350);
    EXPECT_EQ(bar->GetActiveGroup(), 1) << "nothing while another window holds the mouse";
    SetCaptureControl(nullptr);
    Backend->Advance(100);
    EXPECT_EQ(bar->GetActiveGroup(), -1);
    EXPECT_EQ(Look(bar, 1), "flat");
}

TEST_F(BarInputTest, HotTrackingPausesWhileAScrollButtonHoldsTheMouse)
{
    // Twelve tabs on 200 pixels with the first sheet open: the down button
    // shows, lying over the lowest tabs.
    TLaunchdeck* bar = AddBar(12, 200);
    bar->SetMinSheetHeight(80);
    bar->SetActiveSheet(bar->GetSheet(0));
    Backend->RunUntilIdle();
    TShortcutButton* down = bar->GetDownButton();
    ASSERT_TRUE(down->GetVisible());
    const TPoint onButton{40, bar->GetClientHeight() - 6};
    const Integer under = bar->GetGroupAtPos(onButton);
    ASSERT_NE(under, -1);

    MoveToTab(bar, 1);
    MoveOver(bar, onButton);
    EXPECT_EQ(bar->GetActiveGroup(), under) << "the tab below the button is under the pointer";
    Backend->Press();
    Backend->RunUntilIdle();
    ASSERT_TRUE(down->GetMouseCapture());
    for (Integer i : {1, 0, 2}) {
        MoveToTab(bar, i);
        EXPECT_EQ(bar->GetActiveGroup(), under) << "tab " << i;
    }
    // Released far off the form: the bar heard of no leaving it could act on.
    Backend->MoveTo(900, 700);
    Backend->RunUntilIdle();
    Backend->Release();
    Backend->RunUntilIdle();
    Backend->Advance(100);
    EXPECT_EQ(bar->GetActiveGroup(), -1) << "the leave timer still watched the hot tab";
}

// ---- cursor ----------------------------------------------------------------------------------

TEST_F(BarInputTest, TheCursorIsAHandOverTabsOnly)
{
    TLaunchdeck* bar = AddBar(12, 200);
    bar->SetOptions({soButtonTabs}); // with gap rows
    bar->SetMinSheetHeight(80);
    bar->SetActiveSheet(bar->GetSheet(0));
    Backend->RunUntilIdle();
    ASSERT_TRUE(bar->GetDownButton()->GetVisible());
    MoveToTab(bar, 0);
    EXPECT_EQ(Backend->GetShownCursor(), Hand());
    MoveOver(bar, OnSheet(bar));
    EXPECT_NE(Backend->GetShownCursor(), Hand());
    MoveToTab(bar, 1);
    EXPECT_EQ(Backend->GetShownCursor(), Hand());
    MoveOver(bar, {40, bar->GetGroupRect(1).Bottom}); // the gap row
    EXPECT_EQ(bar->GetGroupAtPos({40, bar->GetGroupRect(1).Bottom}), -1);
    EXPECT_NE(Backend->GetShownCursor(), Hand());
    MoveOver(bar, {40, bar->GetClientHeight() - 6}); // the down button over a tab
    EXPECT_EQ(Backend->GetShownCursor(), LoadCursor(nullptr, IDC_ARROW));
    MoveOver(Form, {300, 200});
    EXPECT_NE(Backend->GetShownCursor(), Hand());
}

// ---- drag ------------------------------------------------------------------------------------

class BarDragTest : public BarInputTest {
protected:
    void SetUp() override
    {
        BarInputTest::SetUp();
        Source = new TCustomControl(Form);
        Source->SetParent(Form);
        Source->SetBounds(250, 20, 60, 60);
        Source->SetDragMode(dmAutomatic);
        Backend->RunUntilIdle();
    }
    void BeginDragFromSource()
    {
        MoveOver(Source, {30, 30});
        Backend->Press();
        Backend->RunUntilIdle();
        ASSERT_NE(GetDragObject(), nullptr);
    }
    void DragOverTab(TLaunchdeck* bar, Integer index)
    {
        const TPoint p = bar->ClientToScreen(Centre(bar->GetGroupRect(index)));
        Backend->DragTo(p.X, p.Y);
        Backend->RunUntilIdle();
    }
    TCustomControl* Source = nullptr;
};

TEST_F(BarDragTest, ADragResting200MsOnAClosedTabOpensItWithTheRoll)
{
    TLaunchdeck* bar = InputBar();
    Log(bar);
    BeginDragFromSource();
    DragOverTab(bar, 2);
    TickSource::SetStep(1); // the roll's busy wait needs a moving clock
    Backend->Advance(190);
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(0));
    EXPECT_TRUE(Events.empty());
    const uint64_t reads = TickSource::ReadCount();
    Backend->Advance(20);
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(2));
    EXPECT_EQ(Events, (Strings{"changing", "change"}));
    EXPECT_GE(TickSource::ReadCount() - reads, 120u) << "the roll ran";
    ASSERT_NE(GetDragObject(), nullptr) << "the drag goes on";

    // Resting on the tab now open: asked, nothing changes, once only.
    Events.clear();
    DragOverTab(bar, 2);
    Backend->Advance(600);
    EXPECT_EQ(Events, (Strings{"changing"}));
    Backend->Release();
    Backend->RunUntilIdle();
    EXPECT_EQ(GetDragObject(), nullptr);
}

TEST_F(BarDragTest, TheTabUnderThePointerWhenTheTimerFiresOpensOrNone)
{
    TLaunchdeck* bar = InputBar();
    Log(bar);
    TickSource::SetStep(1);
    BeginDragFromSource();
    DragOverTab(bar, 1);
    Backend->Advance(100);
    DragOverTab(bar, 3); // the timer runs from the first tab reached
    Backend->Advance(110);
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(3));

    // Reaching a tab, then leaving the tabs before the timer fires: nothing.
    Events.clear();
    DragOverTab(bar, 0);
    const TPoint sheet = bar->ClientToScreen(OnSheet(bar));
    Backend->DragTo(sheet.X, sheet.Y);
    Backend->Advance(300);
    EXPECT_TRUE(Events.empty());

    // The drop ends the drag, but the timer started on the tab still fires.
    DragOverTab(bar, 1);
    Backend->Release();
    Backend->RunUntilIdle();
    EXPECT_EQ(GetDragObject(), nullptr);
    Backend->Advance(250);
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(1));
}

TEST_F(BarDragTest, OnDragOverStillDecidesTheDrop)
{
    TLaunchdeck* bar = InputBar();
    int drops = 0;
    bar->SetOnDragOver(TDragOverEvent::Lambda(
        [](TObject*, TObject*, Integer, Integer, TDragState, bool& accept) { accept = true; }));
    bar->SetOnDragDrop(TDragDropEvent::Lambda([&](TObject*, TObject* source, Integer, Integer) {
        EXPECT_EQ(source, Source);
        ++drops;
    }));
    BeginDragFromSource();
    DragOverTab(bar, 1);
    EXPECT_EQ(GetCursor(), Screen->GetCursors(crDrag));
    Backend->Release();
    Backend->RunUntilIdle();
    EXPECT_EQ(drops, 1);
}

TEST_F(BarDragTest, FreeingTheBarWithItsTimersPendingLeavesNothingToFire)
{
    TLaunchdeck* bar = InputBar();
    Log(bar);
    BeginDragFromSource();
    DragOverTab(bar, 2);
    Backend->Release();
    Backend->RunUntilIdle();
    MoveToTab(bar, 1); // hot, with its leave timer
    ASSERT_EQ(bar->GetActiveGroup(), 1);
    delete bar;
    TickSource::SetStep(1);
    Backend->Advance(500);
    EXPECT_TRUE(Events.empty());
}

// ---- keyboard and designer ------------------------------------------------------------------

TEST_F(BarInputTest, AnAcceleratorOpensItsSheetUnlessTheBarIsDisabled)
{
    TLaunchdeck* bar = InputBar();
    bar->GetSheet(1)->SetCaption("&Mail");
    bar->GetSheet(2)->SetCaption("&Inbox");
    bar->GetSheet(3)->SetCaption("More &items");
    Log(bar);
    TickSource::SetStep(1);
    Backend->KeyWith(VK_MENU, 'I');
    Backend->RunUntilIdle();
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(2)) << "the first caption with the key wins";
    EXPECT_EQ(Events, (Strings{"changing", "change"}));

    // The letter alone, with a focused control that passes characters on.
    Backend->Key('M');
    Backend->RunUntilIdle();
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(1));

    Events.clear();
    bar->SetEnabled(false);
    Backend->KeyWith(VK_MENU, 'I');
    Backend->Key('M');
    Backend->RunUntilIdle();
    EXPECT_TRUE(Events.empty());
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(1));

    bar->SetEnabled(true);
    EXPECT_EQ(bar->Perform(CM_DIALOGCHAR, 'z', 0), 0) << "no caption has it: not used";
    EXPECT_EQ(bar->Perform(CM_DIALOGCHAR, 'i', 0), 1) << "any case";
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(2));
}

TEST_F(BarInputTest, HiddenSheetsHaveNoAcceleratorAndDoNotShiftTheOthers)
{
    TLaunchdeck* bar = InputBar();
    bar->GetSheet(1)->SetCaption("&Hidden");
    bar->GetSheet(1)->SetVisible(false);
    bar->GetSheet(3)->SetCaption("&Last");
    bar->SetActiveSheet(bar->GetSheet(0)); // hiding opened the next sheet
    Backend->RunUntilIdle();
    EXPECT_EQ(bar->Perform(CM_DIALOGCHAR, 'h', 0), 0);
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(0));
    TickSource::SetStep(1);
    EXPECT_EQ(bar->Perform(CM_DIALOGCHAR, 'l', 0), 1);
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(3));
}

TEST_F(BarInputTest, AnAcceleratorTheBarDoesNotUseGoesOnToItsChildren)
{
    TLaunchdeck* bar = InputBar();
    struct TKeen : TCustomControl {
        using TCustomControl::TCustomControl;
        void Dispatch(TMessage& m) override
        {
            if (m.Msg == CM_DIALOGCHAR && m.WParam == 'Q') {
                ++Heard;
                m.Result = 1;
                return;
            }
            TCustomControl::Dispatch(m);
        }
        int Heard = 0;
    };
    auto* keen = new TKeen(Form);
    keen->SetParent(bar->GetSheet(0));
    EXPECT_EQ(bar->Perform(CM_DIALOGCHAR, 'Q', 0), 1);
    EXPECT_EQ(keen->Heard, 1);
}

TEST_F(BarInputTest, TheDesignerHandsOverPressesOnClosedTabsOnly)
{
    auto* form = new TForm(nullptr);
    form->SetDesigning(true);
    TTestDesigner designer(Events);
    form->SetDesigner(&designer);
    form->SetBounds(500, 100, 200, 340);
    form->Show();
    auto* bar = new TLaunchdeck(form);
    bar->SetParent(form);
    for (Integer i = 0; i < 3; ++i)
        bar->NewSheet()->SetCaption("Sheet" + std::to_string(i));
    bar->SetActiveSheet(bar->GetSheet(0));
    Backend->RunUntilIdle();
    Log(bar);
    const uint64_t reads = TickSource::ReadCount();

    ClickTab(bar, 2);
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(2)) << "opened at the press, without a roll";
    EXPECT_EQ(Events, (Strings{"changing", "change", "modified", "down"}));
    EXPECT_LT(TickSource::ReadCount() - reads, 5u);
    EXPECT_NE(Backend->GetShownCursor(), Hand());

    Events.clear();
    ClickTab(bar, 2); // the open tab stays with the designer
    ClickTab(bar, 0, TPointerButton::Right);
    EXPECT_TRUE(Events.empty());

    const LPARAM onTab0 = PointToLParam(Centre(bar->GetGroupRect(0)));
    EXPECT_EQ(bar->Perform(CM_DESIGNHITTEST, MK_LBUTTON, onTab0), 1);
    EXPECT_EQ(bar->Perform(CM_DESIGNHITTEST, MK_LBUTTON | MK_SHIFT, onTab0), 0) << "exactly the left button";
    EXPECT_EQ(bar->Perform(CM_DESIGNHITTEST, MK_LBUTTON, PointToLParam({40, 100})), 0) << "the sheet";
    form->SetDesigner(nullptr);
    delete form;
}

} // namespace
} // namespace ld::test
