// Mouse input through the queue into the controls: press, move, release,
// capture, clicks, double clicks, enter and leave, and the popup menu.
#include "tests/vcl/VclTestSupport.h"

namespace ld::test {
namespace {

using MouseTest = VclTest;

TEST_F(MouseTest, PressAndReleaseMakeDownClickUpInThatOrder)
{
    TProbe* a = AddProbe("A", Bounds(10, 10, 50, 50));
    a->LogMoves = false;
    Backend->RunUntilIdle();
    ClearEvents();
    ClickOn(a, 5, 6);
    std::vector<std::string> expected = {"A.MouseEnter", "A.MouseDown 0 5,6", "A.Click", "A.MouseUp 0 5,6"};
    EXPECT_EQ(Events(), expected);
}

TEST_F(MouseTest, CaptureKeepsTheMovesAndAReleaseOutsideIsNoClick)
{
    TProbe* a = AddProbe("A", Bounds(10, 10, 50, 50));
    Backend->RunUntilIdle();
    TPoint p = ScreenOf(a, 5, 5);
    Backend->MoveTo(p.X, p.Y);
    Backend->Press();
    Backend->RunUntilIdle();
    EXPECT_EQ(GetCaptureControl(), a);
    ClearEvents();
    Backend->MoveTo(p.X + 100, p.Y + 100);
    Backend->Release();
    Backend->RunUntilIdle();
    std::vector<std::string> expected = {"A.MouseMove 105,105", "A.MouseUp 0 105,105", "A.MouseLeave"};
    EXPECT_EQ(Events(), expected);
    EXPECT_EQ(GetCaptureControl(), nullptr);
}

TEST_F(MouseTest, WithoutCaptureMouseOrClickEventsThereIsNeither)
{
    TProbe* a = AddProbe("A", Bounds(10, 10, 50, 50));
    a->FControlStyle = {csOpaque};
    a->LogMoves = false;
    Backend->RunUntilIdle();
    TPoint p = ScreenOf(a, 5, 5);
    Backend->MoveTo(p.X, p.Y);
    Backend->Press();
    Backend->RunUntilIdle();
    EXPECT_EQ(GetCaptureControl(), nullptr);
    Backend->Release();
    Backend->RunUntilIdle();
    for (const std::string& e : Events())
        EXPECT_NE(e, "A.Click");
}

TEST_F(MouseTest, DoubleClicksNeedTheStyleAndTheClassStyle)
{
    TProbe* a = AddProbe("A", Bounds(10, 10, 50, 50));
    a->LogMoves = false;
    Backend->RunUntilIdle();
    ClearEvents();
    TPoint p = ScreenOf(a, 5, 5);
    Backend->MoveTo(p.X, p.Y);
    Backend->RunUntilIdle();
    Backend->DoubleClick(p.X, p.Y);
    Backend->RunUntilIdle();
    std::vector<std::string> expected = {"A.MouseEnter", "A.MouseDown 0 5,5", "A.Click", "A.MouseUp 0 5,5",
                                         "A.DblClick", "A.MouseDown 0 double 5,5", "A.MouseUp 0 5,5"};
    EXPECT_EQ(Events(), expected);
    // Without csDoubleClicks the second press is a plain press again.
    a->FControlStyle.Exclude(csDoubleClicks);
    ClearEvents();
    TickSource::Advance(1000);
    Backend->DoubleClick(p.X, p.Y);
    Backend->RunUntilIdle();
    expected = {"A.MouseDown 0 5,5", "A.Click", "A.MouseUp 0 5,5", "A.MouseDown 0 5,5", "A.Click", "A.MouseUp 0 5,5"};
    EXPECT_EQ(Events(), expected);
}

TEST_F(MouseTest, EnterAndLeaveFollowThePointerAndReachTheParent)
{
    TProbe* outer = AddProbe("Outer", Bounds(10, 10, 200, 150));
    TProbe* inner = AddProbe("Inner", Bounds(20, 20, 40, 40), outer);
    outer->LogMoves = inner->LogMoves = false;
    Backend->RunUntilIdle();
    ClearEvents();
    TPoint p = ScreenOf(outer, 5, 5);
    Backend->MoveTo(p.X, p.Y);
    Backend->RunUntilIdle();
    p = ScreenOf(inner, 5, 5);
    Backend->MoveTo(p.X, p.Y);
    Backend->RunUntilIdle();
    Backend->MoveTo(5, 5);
    Backend->RunUntilIdle();
    std::vector<std::string> expected = {"Outer.MouseEnter", "Outer.MouseLeave", "Inner.MouseEnter",
                                         "Outer.ChildEnter Inner", "Inner.MouseLeave", "Outer.ChildLeave Inner"};
    EXPECT_EQ(Events(), expected);
}

TEST_F(MouseTest, WhileAnotherControlCapturesThereIsNoEnter)
{
    TProbe* a = AddProbe("A", Bounds(10, 10, 50, 50));
    TProbe* b = AddProbe("B", Bounds(100, 10, 50, 50));
    a->LogMoves = b->LogMoves = false;
    Backend->RunUntilIdle();
    TPoint p = ScreenOf(a, 5, 5);
    Backend->MoveTo(p.X, p.Y);
    Backend->Press();
    Backend->RunUntilIdle();
    ClearEvents();
    p = ScreenOf(b, 5, 5);
    Backend->MoveTo(p.X, p.Y);
    Backend->RunUntilIdle();
    EXPECT_EQ(Events(), std::vector<std::string>{"A.MouseLeave"});
    Backend->Release();
    Backend->RunUntilIdle();
}

TEST_F(MouseTest, ARightClickShowsThePopupMenuAndAnItemClickFires)
{
    TProbe* a = AddProbe("A", Bounds(10, 10, 50, 50));
    a->LogMoves = false;
    auto* menu = new TPopupMenu(Form);
    auto* item = new TMenuItem(menu);
    item->SetCaption("&Open");
    int clicks = 0;
    item->SetOnClick(TNotifyEvent::Lambda([&](TObject*) { ++clicks; }));
    menu->GetItems()->Add(item);
    a->SetPopupMenu(menu);
    Backend->RunUntilIdle();
    TPoint p = ScreenOf(a, 5, 5);
    HWND shown = nullptr;
    Backend->Script([&] {
        shown = menu->GetWindowHandle();
        RECT r;
        GetWindowRect(shown, r);
        Backend->Click(r.Left + 10, r.Top + 5);
        Note("clicked at " + std::to_string(r.Left + 10) + "," + std::to_string(r.Top + 5));
    });
    Backend->Click(p.X, p.Y, TPointerButton::Right);
    Backend->RunUntilIdle();
    EXPECT_NE(shown, nullptr);
    EXPECT_EQ(clicks, 1) << ::testing::PrintToString(Events());
    EXPECT_EQ(menu->GetWindowHandle(), nullptr);
    EXPECT_EQ(menu->GetPopupComponent(), a);
}

// The wheel goes to the control under the pointer (or the one holding the
// mouse) and is offered to its events, then once to each parent in turn,
// until one handles it; whole notches gather from partial turns.
TEST_F(MouseTest, TheWheelGoesToTheControlUnderThePointerAndUpItsParents)
{
    TProbe* outer = AddProbe("Outer", Bounds(10, 10, 200, 150));
    TProbe* inner = AddProbe("Inner", Bounds(20, 20, 40, 40), outer);
    TProbe* other = AddProbe("Other", Bounds(250, 10, 40, 40));
    bool outerHandles = true;
    auto pos = [](TPoint p) { return std::to_string(p.X) + "," + std::to_string(p.Y); };
    inner->SetOnMouseWheelDown(TMouseWheelUpDownEvent::Lambda(
        [&](TObject*, TShiftState shift, TPoint at, bool&) {
            Note(std::string("Inner.WheelDown") + (shift.Contains(ssCtrl) ? " ctrl " : " ") + pos(at));
        }));
    outer->SetOnMouseWheel(TMouseWheelEvent::Lambda([&](TObject*, TShiftState, Integer delta, TPoint, bool& handled) {
        Note("Outer.Wheel " + std::to_string(delta));
        handled = outerHandles;
    }));
    Form->SetOnMouseWheel(TMouseWheelEvent::Lambda(
        [&](TObject*, TShiftState, Integer delta, TPoint, bool&) { Note("Form.Wheel " + std::to_string(delta)); }));
    Backend->RunUntilIdle();
    const TPoint p = ScreenOf(inner, 5, 5);
    Backend->MoveTo(p.X, p.Y);
    Backend->RunUntilIdle();
    ClearEvents();
    Backend->Wheel(-1);
    Backend->RunUntilIdle();
    std::vector<std::string> expected = {"Inner.WheelDown " + pos(p), "Outer.Wheel -120"};
    EXPECT_EQ(Events(), expected);
    // Unhandled, the notch reaches the form once, with Ctrl in the shift state;
    // two half notches make one.
    outerHandles = false;
    ClearEvents();
    Backend->KeyDown(VK_CONTROL);
    InjectMouseWheel(-60);
    InjectMouseWheel(-60);
    Backend->KeyUp(VK_CONTROL);
    Backend->RunUntilIdle();
    expected = {"Outer.Wheel -60", "Form.Wheel -60", "Inner.WheelDown ctrl " + pos(p), "Outer.Wheel -60",
                "Form.Wheel -60"};
    EXPECT_EQ(Events(), expected);
    // While Other holds the mouse the wheel is its, wherever the pointer is.
    ClearEvents();
    other->SetMouseCapture(true);
    Backend->Wheel(1);
    Backend->RunUntilIdle();
    other->SetMouseCapture(false);
    EXPECT_EQ(Events(), std::vector<std::string>{"Form.Wheel 120"});
}

TEST_F(MouseTest, WindowlessControlsGetTheirMouseThroughTheParent)
{
    class TDot : public TGraphicControl {
    public:
        using TGraphicControl::TGraphicControl;
        void MouseDown(TMouseButton, TShiftState, Integer x, Integer y) override { Note("Dot.MouseDown " + std::to_string(x) + "," + std::to_string(y)); }
        void Click() override { Note("Dot.Click"); }
    };
    auto* dot = new TDot(Form);
    dot->SetBounds(30, 40, 20, 20);
    dot->SetParent(Form);
    Backend->RunUntilIdle();
    ClearEvents();
    ClickOn(dot, 3, 4);
    std::vector<std::string> expected = {"Dot.MouseDown 3,4", "Dot.Click"};
    EXPECT_EQ(Events(), expected);
    EXPECT_EQ(FindDragTarget(ScreenOf(dot, 1, 1), false), dot);
    dot->SetEnabled(false);
    EXPECT_EQ(FindDragTarget(ScreenOf(dot, 1, 1), false), Form);
    EXPECT_EQ(FindDragTarget(ScreenOf(dot, 1, 1), true), dot);
}

} // namespace
} // namespace ld::test
