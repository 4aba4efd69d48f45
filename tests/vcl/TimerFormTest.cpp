// TTimer on the simulated clock, and forms: frames per border style,
// centring, ShowModal with its own loop, closing, exceptions in handlers.
#include "tests/vcl/VclTestSupport.h"

#include "platform/core/SysUtils.h"

namespace ld::test {
namespace {

using TimerTest = VclTest;

TEST_F(TimerTest, TicksEveryIntervalAndANewIntervalRestartsThePeriod)
{
    auto* t = new TTimer(Form);
    int ticks = 0;
    t->SetInterval(100);
    t->SetOnTimer(TNotifyEvent::Lambda([&](TObject*) { ++ticks; }));
    Backend->Advance(99);
    EXPECT_EQ(ticks, 0);
    Backend->Advance(1);
    EXPECT_EQ(ticks, 1);
    Backend->Advance(50);
    t->SetInterval(150);
    Backend->Advance(100);
    EXPECT_EQ(ticks, 1);
    Backend->Advance(50);
    EXPECT_EQ(ticks, 2);
    t->SetEnabled(false);
    Backend->Advance(1000);
    EXPECT_EQ(ticks, 2);
}

TEST_F(TimerTest, AHandlerMayFreeItsOwnTimer)
{
    auto* t = new TTimer(nullptr);
    int ticks = 0;
    t->SetInterval(50);
    t->SetOnTimer(TNotifyEvent::Lambda([&](TObject* sender) {
        ++ticks;
        delete static_cast<TTimer*>(sender);
    }));
    Backend->Advance(200);
    EXPECT_EQ(ticks, 1);
}

TEST_F(TimerTest, ExceptionsInHandlersAreReportedAndTheLoopGoesOn)
{
    auto* t = new TTimer(Form);
    t->SetInterval(10);
    int ticks = 0;
    t->SetOnTimer(TNotifyEvent::Lambda([&](TObject*) {
        ++ticks;
        throw EListError("List index out of bounds (7)");
    }));
    Integer before = Application->GetExceptionCount();
    Backend->Advance(20);
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(Application->GetExceptionCount(), before + 2);
    EXPECT_EQ(Application->GetLastExceptionMessage(), "List index out of bounds (7)");
}

using FormTest = VclTest;

TEST_F(FormTest, BorderStylesDecideTheFrame)
{
    RECT w, c;
    GetWindowRect(Form->GetHandle(), w);
    c = Form->GetClientRect();
    // Sizeable: a 4-pixel frame and a 19-pixel caption.
    EXPECT_EQ(w.Width() - c.Width(), 8);
    EXPECT_EQ(w.Height() - c.Height(), 8 + 19);
    EXPECT_EQ(Pixel(w.Left + w.Width() / 2, w.Top + 10), GetSysColor(COLOR_ACTIVECAPTION));
    Form->SetBorderStyle(bsDialog);
    GetWindowRect(Form->GetHandle(), w);
    c = Form->GetClientRect();
    EXPECT_EQ(w.Width() - c.Width(), 6);
    Form->SetBorderStyle(bsNone);
    GetWindowRect(Form->GetHandle(), w);
    c = Form->GetClientRect();
    EXPECT_EQ(w.Width(), c.Width());
    EXPECT_TRUE(IsWindowVisible(Form->GetHandle()));
}

TEST_F(FormTest, ScreenCenterPlacesTheFormInTheMiddle)
{
    auto* f = new TForm(nullptr);
    f->SetBounds(0, 0, 200, 100);
    f->SetPosition(poScreenCenter);
    f->Show();
    Backend->RunUntilIdle();
    EXPECT_EQ(f->GetLeft(), (1024 - 200) / 2);
    EXPECT_EQ(f->GetTop(), (768 - 100) / 2);
    EXPECT_EQ(Screen->GetActiveForm(), f);
    delete f;
}

TEST_F(FormTest, ShowModalRunsItsOwnLoopUntilAModalResult)
{
    auto* dialog = new TForm(nullptr);
    dialog->SetBounds(300, 300, 200, 120);
    dialog->SetBorderStyle(bsDialog);
    TProbe* ok = new TProbe(dialog, "Ok");
    ok->SetBounds(10, 10, 60, 24);
    ok->SetParent(dialog);
    ok->SetOnClick(TNotifyEvent::Lambda([&](TObject*) { dialog->SetModalResult(mrOk); }));
    bool mainWasDisabled = false;
    Backend->Script([&] {
        mainWasDisabled = !IsWindowEnabled(Form->GetHandle());
        TPoint p = ok->ClientToScreen({5, 5});
        Backend->Click(p.X, p.Y);
    });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_TRUE(mainWasDisabled);
    EXPECT_TRUE(IsWindowEnabled(Form->GetHandle()));
    EXPECT_FALSE(dialog->GetVisible());
    EXPECT_THROW(
        {
            dialog->Show();
            dialog->ShowModal();
        },
        EInvalidOperation);
    delete dialog;
}

TEST_F(FormTest, EscapeReachesACancelButtonAndCloseCancelsAModalForm)
{
    auto* dialog = new TForm(nullptr);
    Backend->Script([&] { dialog->Close(); });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    delete dialog;
}

TEST_F(FormTest, CloseHidesAndCloseQueryCanRefuse)
{
    auto* f = new TForm(nullptr);
    f->Show();
    bool allow = false;
    f->SetOnCloseQuery(TCloseQueryEvent::Lambda([&](TObject*, bool& canClose) { canClose = allow; }));
    f->Close();
    EXPECT_TRUE(f->GetVisible());
    allow = true;
    f->Close();
    EXPECT_FALSE(f->GetVisible());
    delete f;
}

TEST_F(FormTest, CursorsOfTheScreen)
{
    EXPECT_EQ(GetCursorName(Screen->GetCursors(crHandPoint)), "hand");
    EXPECT_EQ(GetCursorName(Screen->GetCursors(crDrag)), "drag");
    EXPECT_EQ(GetCursorName(Screen->GetCursors(crNoDrop)), "nodrop");
    EXPECT_EQ(GetCursorName(Screen->GetCursors(crIBeam)), "ibeam");
    EXPECT_EQ(GetCursorName(Screen->GetCursors(12345)), "arrow");
    TProbe* a = AddProbe("A", Bounds(10, 10, 50, 50));
    a->SetCursor(crHandPoint);
    Backend->RunUntilIdle();
    TPoint p = ScreenOf(a, 5, 5);
    Backend->MoveTo(p.X, p.Y);
    Backend->RunUntilIdle();
    EXPECT_EQ(GetCursorName(Backend->GetShownCursor()), "hand");
    Screen->SetCursor(crHourGlass);
    EXPECT_EQ(GetCursorName(Backend->GetShownCursor()), "wait");
    Screen->SetCursor(crDefault);
    EXPECT_EQ(GetCursorName(Backend->GetShownCursor()), "hand");
    EXPECT_EQ(Screen->GetWidth(), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CXHSCROLL), 16);
}

} // namespace
} // namespace ld::test
