// The X window: what it shows against the screen surface, input from XTest
// reaching controls as real messages, cursors, presenting from a busy-wait
// animation, and an idle program's cost.
#include <sys/resource.h>

#include <algorithm>

#include "platform/backends/X11Cursors.h"
#include "platform/backends/X11Keys.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/Png.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/TickSource.h"
#include "tests/backends/X11TestSupport.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace ld::x11test {
namespace {

uint32_t Opaque(uint32_t p) { return p | 0xFF000000u; }

using X11PresentTest = X11Test;

TEST_F(X11PresentTest, AfterAPaintTheWindowShowsTheScreen)
{
    EXPECT_TRUE(FBackend->UsesShm()) << "Xvfb offers MIT-SHM; presenting should use it";
    TProbe* probe;
    TForm* form = MakeForm(30, 20, &probe);
    TPoint client = form->ClientToScreen(TPoint{0, 0});
    const TRect area = Bounds(client.X, client.Y, form->GetClientWidth(), form->GetClientHeight());
    EXPECT_EQ(FirstDifference(area), "");

    // A small change goes too, and alone: a pixel changed behind the window
    // system's back (no device context) is not sent.
    const TPoint behind{area.Right - 5, area.Bottom - 5};
    GetScreenSurface().SetPixel(behind.X, behind.Y, 0xFF123456u);
    probe->Hot = true;
    probe->Invalidate();
    uint64_t before = FBackend->GetPresentCount();
    uint64_t pixelsBefore = FBackend->GetPresentedPixels();
    Settle();
    EXPECT_EQ(FBackend->GetPresentCount(), before + 1);
    EXPECT_EQ(FBackend->GetPresentedPixels() - pixelsBefore, 120u * 40u);
    TPoint origin = probe->ClientToScreen(TPoint{0, 0});
    EXPECT_EQ(FirstDifference(Bounds(origin.X, origin.Y, 120, 40)), "");
    EXPECT_NE(Opaque(FBackend->CaptureWindow(Bounds(behind.X, behind.Y, 1, 1))->Pixel(0, 0)), 0xFF123456u);
}

TEST_F(X11VirtualDesktopTest, TheTitleIsTheMainFormsCaption)
{
    TForm* form = MakeForm(10, 10, nullptr);
    form->SetCaption("Caf\xE9 list");
    Application->SetMainForm(form);
    FBackend->WaitForInput(0);
    char* name = nullptr;
    ASSERT_TRUE(XFetchName(FHand, FBackend->GetWindow(), &name));
    EXPECT_EQ(std::string(name), "Caf\xE9 list");  // WM_NAME is Latin-1, as our strings
    XFree(name);
    Application->SetMainForm(nullptr);
}

// An animation that holds a DC, draws a frame, and busy-waits on the tick
// count without the loop running: each frame must reach the window within
// 4 ms of being drawn, while the loop is still running.
TEST_F(X11PresentTest, FramesOfABusyWaitReachTheWindowWhileItRuns)
{
    TForm* form = MakeForm(20, 20, nullptr);
    Settle();
    HDC dc = GetDC(form->GetHandle());
    const RECT band{10, 60, 150, 80};
    int seen = 0;
    const int frames = 8;
    for (int frame = 0; frame < frames; ++frame) {
        TColor colour = TColor(0x102030 * (frame + 1) & 0xFFFFFF);
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, band, brush);
        DeleteObject(brush);
        // 5 ms of reads, as the animation waits for its next frame. The
        // last read comes after the time is up even when the machine took
        // the processor from us meanwhile, as the animation's own last read does.
        long long drawn = NowMs();
        while (NowMs() - drawn < 5)
            GetTickCount();
        GetTickCount();
        POINT at{15, 65};
        ClientToScreen(form->GetHandle(), at);
        uint32_t shown = Opaque(FBackend->CaptureWindow({at.X, at.Y, at.X + 1, at.Y + 1})->Pixel(0, 0));
        uint32_t want = Opaque(GetScreenSurface().Pixel(at.X, at.Y));
        seen += shown == want;
    }
    ReleaseDC(form->GetHandle(), dc);
    EXPECT_EQ(seen, frames);
}

// ---- input -----------------------------------------------------------------------

class X11InputTest : public X11Test {
protected:
    // A probe with the keyboard focus and the pointer over it.
    TProbe* FocusedProbe()
    {
        TProbe* probe;
        MakeForm(50, 40, &probe);
        Settle();
        TPoint at = probe->ClientToScreen(TPoint{20, 10});
        HandMoveTo(at.X, at.Y);
        HandFocusOurWindow();
        probe->SetFocus();
        return probe;
    }
};

TEST_F(X11InputTest, AClickReachesTheControlAsMessagesAndFiresItsClick)
{
    TProbe* probe;
    MakeForm(50, 40, &probe);
    int fired = 0;
    probe->SetOnClick(TNotifyEvent::Lambda([&fired](TObject*) { ++fired; }));
    Settle();
    TPoint at = probe->ClientToScreen(TPoint{20, 10});
    HandMoveTo(at.X, at.Y);
    HandButton(1, true);
    HandButton(1, false);
    ASSERT_TRUE(PumpUntil([&] { return fired > 0; }));
    EXPECT_EQ(fired, 1);
    EXPECT_TRUE(probe->Saw(WM_LBUTTONDOWN));
    EXPECT_TRUE(probe->Saw(WM_LBUTTONUP));
    EXPECT_TRUE(probe->Saw(WM_MOUSEMOVE));
}

// X makes a notch of the wheel a click of button 4 (away from the user) or 5.
TEST_F(X11InputTest, WheelButtonsReachTheControlUnderThePointerAsNotches)
{
    TProbe* probe;
    MakeForm(50, 40, &probe);
    std::vector<Integer> deltas;
    TPoint where;
    probe->SetOnMouseWheel(TMouseWheelEvent::Lambda([&](TObject*, TShiftState, Integer delta, TPoint at, bool& handled) {
        deltas.push_back(delta);
        where = at;
        handled = true;
    }));
    Settle();
    const TPoint at = probe->ClientToScreen(TPoint{20, 10});
    HandMoveTo(at.X, at.Y);
    for (unsigned button : {4u, 5u, 5u}) {
        HandButton(button, true);
        HandButton(button, false);
    }
    ASSERT_TRUE(PumpUntil([&] { return deltas.size() == 3; }));
    EXPECT_EQ(deltas, (std::vector<Integer>{WHEEL_DELTA, -WHEEL_DELTA, -WHEEL_DELTA}));
    EXPECT_EQ(where, at);
    EXPECT_FALSE(probe->Saw(WM_LBUTTONDOWN) || probe->Saw(WM_MBUTTONDOWN) || probe->Saw(WM_RBUTTONDOWN));
}

TEST_F(X11InputTest, TwoQuickClicksAreADoubleClickByTheWindowSystemsRule)
{
    TProbe* probe;
    MakeForm(50, 40, &probe);
    Settle();
    auto count = [probe](UINT msg) { return std::count(probe->Messages.begin(), probe->Messages.end(), msg); };
    TPoint at = probe->ClientToScreen(TPoint{20, 10});
    HandMoveTo(at.X, at.Y);
    for (int i = 0; i < 2; ++i) {
        HandButton(1, true);
        HandButton(1, false);
    }
    ASSERT_TRUE(PumpUntil([&] { return count(WM_LBUTTONUP) == 2; }));
    EXPECT_EQ(count(WM_LBUTTONDOWN), 1);
    EXPECT_EQ(count(WM_LBUTTONDBLCLK), 1);
    // A third press far from the second is a press again.
    HandMoveTo(at.X + 60, at.Y + 20);
    HandButton(1, true);
    HandButton(1, false);
    ASSERT_TRUE(PumpUntil([&] { return count(WM_LBUTTONUP) == 3; }));
    EXPECT_EQ(count(WM_LBUTTONDOWN), 2);
    EXPECT_EQ(count(WM_LBUTTONDBLCLK), 1);
}

TEST_F(X11InputTest, TypedKeysReachTheFocusedControlAsKeysAndCharacters)
{
    TProbe* probe = FocusedProbe();
    ASSERT_EQ(GetFocus(), probe->GetHandle());
    HandKey(XK_a, true);
    HandKey(XK_a, false);
    HandKey(XK_Shift_L, true);
    HandKey(XK_1, true);
    HandKey(XK_1, false);
    HandKey(XK_Shift_L, false);
    HandKey(XK_Home, true);  // a key that makes no character
    HandKey(XK_Home, false);
    auto count = [probe](UINT msg) { return std::count(probe->Messages.begin(), probe->Messages.end(), msg); };
    ASSERT_TRUE(PumpUntil([&] { return count(WM_KEYUP) == 4; }));
    EXPECT_EQ(count(WM_KEYDOWN), 4);
    EXPECT_EQ(probe->Chars, "a!");
    EXPECT_TRUE(probe->Saw(WM_KEYDOWN));
    // Latin-1 text: a key that the layout gives é.
    KeyCode spare = 0;
    int minCode, maxCode;
    XDisplayKeycodes(FHand, &minCode, &maxCode);
    for (int code = maxCode; code >= minCode && !spare; --code)
        if (XkbKeycodeToKeysym(FHand, KeyCode(code), 0, 0) == NoSymbol)
            spare = KeyCode(code);
    ASSERT_NE(spare, 0);
    KeySym eacute[] = {XK_eacute, XK_Eacute};
    XChangeKeyboardMapping(FHand, spare, 2, eacute, 1);
    XSync(FHand, False);
    PumpUntil([] { return false; }, 100);  // the mapping change reaches the backend
    HandKey(XK_eacute, true);
    HandKey(XK_eacute, false);
    ASSERT_TRUE(PumpUntil([&] { return probe->Chars.size() >= 3; }));
    EXPECT_EQ(probe->Chars, "a!\xE9");
    KeySym none[] = {NoSymbol, NoSymbol};
    XChangeKeyboardMapping(FHand, spare, 2, none, 1);
    XSync(FHand, False);
}

TEST_F(X11InputTest, AltCombinationsAreSystemKeys)
{
    TProbe* probe = FocusedProbe();
    HandKey(XK_Alt_L, true);
    HandKey(XK_f, true);
    HandKey(XK_f, false);
    HandKey(XK_Alt_L, false);
    ASSERT_TRUE(PumpUntil([&] { return probe->Saw(WM_SYSCHAR) && probe->Saw(WM_SYSKEYUP) && probe->Messages.back() != WM_SYSCHAR; }));
    EXPECT_TRUE(probe->Saw(WM_SYSKEYDOWN));
    EXPECT_EQ(probe->Chars, "f");
    EXPECT_FALSE(probe->Saw(WM_CHAR));

    // Alt let go while another client holds the keyboard (a window manager's
    // Alt+F4): back with us, the next Escape is a plain key.
    HandKey(XK_Alt_L, true);
    ASSERT_TRUE(PumpUntil([] { return GetAsyncKeyState(VK_MENU) < 0; }));
    ASSERT_EQ(XGrabKeyboard(FHand, DefaultRootWindow(FHand), False, GrabModeAsync, GrabModeAsync, CurrentTime),
              GrabSuccess);
    XSync(FHand, False);
    HandKey(XK_Alt_L, false);
    XUngrabKeyboard(FHand, CurrentTime);
    XSync(FHand, False);
    probe->Messages.clear();
    HandKey(XK_Escape, true);
    HandKey(XK_Escape, false);
    ASSERT_TRUE(PumpUntil([&] { return probe->Saw(WM_KEYUP) || probe->Saw(WM_SYSKEYUP); }));
    EXPECT_TRUE(probe->Saw(WM_KEYDOWN));
    EXPECT_FALSE(probe->Saw(WM_SYSKEYDOWN));
}

TEST_F(X11InputTest, LeavingTheXWindowMakesAHotControlGoDark)
{
    TProbe* probe;
    MakeForm(50, 40, &probe);
    Settle();
    TPoint at = probe->ClientToScreen(TPoint{20, 10});
    HandMoveTo(at.X, at.Y);
    ASSERT_TRUE(PumpUntil([&] { return probe->Hot; }));
    Settle();
    EXPECT_EQ(FirstDifference({at.X, at.Y, at.X + 1, at.Y + 1}), "");
    EXPECT_EQ(Opaque(FBackend->CaptureWindow({at.X, at.Y, at.X + 1, at.Y + 1})->Pixel(0, 0)), 0xFFFFFFFFu);
    HandMoveTo(900, 700);  // off the form (and the virtual desktop's 640 x 480 at the root's corner)
    ASSERT_TRUE(PumpUntil([&] { return !probe->Hot; }));
    Settle();
    EXPECT_NE(Opaque(FBackend->CaptureWindow({at.X, at.Y, at.X + 1, at.Y + 1})->Pixel(0, 0)), 0xFFFFFFFFu);
}

TEST_F(X11InputTest, FocusOutDeactivatesTheActiveFormAndFocusInActivatesItAgain)
{
    TForm* form = MakeForm(50, 40, nullptr);
    Settle();
    HandFocusOurWindow();
    PumpUntil([] { return false; }, 50);
    ASSERT_EQ(GetActiveWindow(), form->GetHandle());
    // The keyboard to another program's window (a window manager would give
    // it back to ours were it to go nowhere).
    Window other = XCreateSimpleWindow(FHand, DefaultRootWindow(FHand), 700, 500, 100, 100, 0, 0, 0);
    XMapWindow(FHand, other);
    XSync(FHand, False);
    ASSERT_TRUE(PumpUntil([&] {
        XWindowAttributes a{};
        return XGetWindowAttributes(FHand, other, &a) && a.map_state == IsViewable;
    }));
    XSetInputFocus(FHand, other, RevertToPointerRoot, CurrentTime);
    XSync(FHand, False);
    EXPECT_TRUE(PumpUntil([] { return GetActiveWindow() == nullptr; }));
    HandFocusOurWindow();
    EXPECT_TRUE(PumpUntil([&] { return GetActiveWindow() == form->GetHandle(); }));
    XDestroyWindow(FHand, other);
    XSync(FHand, False);
}

// ---- cursors --------------------------------------------------------------------

TEST_F(X11InputTest, TheWindowShowsTheCursorOfTheControlUnderThePointer)
{
    TProbe* probe;
    MakeForm(50, 40, &probe);
    probe->SetCursor(crHandPoint);
    Settle();
    TPoint at = probe->ClientToScreen(TPoint{20, 10});
    HandMoveTo(at.X, at.Y);
    HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
    ASSERT_TRUE(PumpUntil([&] { return FBackend->GetShownCursor() == hand; }));
    EXPECT_EQ(FBackend->GetShownXCursor(), FBackend->XCursorFor(hand));
    HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    HandMoveTo(at.X + 132, at.Y);  // off the probe, on the form
    ASSERT_TRUE(PumpUntil([&] { return FBackend->GetShownCursor() == arrow; }));
    EXPECT_EQ(FBackend->GetShownXCursor(), FBackend->XCursorFor(arrow));
    HandMoveTo(at.X, at.Y);
    ASSERT_TRUE(PumpUntil([&] { return FBackend->GetShownCursor() == hand; }));
    HandMoveTo(600, 400);  // the bare desktop shows the arrow too
    ASSERT_TRUE(PumpUntil([&] { return FBackend->GetShownCursor() == arrow; }));
    // Each shape is its own X cursor, made once.
    HCURSOR drag = Screen->GetCursors(crDrag), noDrop = Screen->GetCursors(crNoDrop);
    EXPECT_NE(FBackend->XCursorFor(drag), FBackend->XCursorFor(noDrop));
    EXPECT_EQ(FBackend->XCursorFor(drag), FBackend->XCursorFor(drag));
    EXPECT_NE(FBackend->XCursorFor(drag), FBackend->XCursorFor(LoadCursor(nullptr, IDC_ARROW)));
}

TEST(X11CursorShapes, TheDragCursorsAreDrawnAsTheHostDrawsThem)
{
    x11::TCursorShape drag = x11::DragShape();
    EXPECT_EQ(drag.At(0, 0), '#');  // the arrow's tip is the hot spot
    EXPECT_EQ(drag.HotX, 0);
    EXPECT_EQ(drag.At(9, 17), '#');   // the page's corner
    EXPECT_EQ(drag.At(12, 20), '.');  // and its white inside
    x11::TCursorShape no = x11::NoDropShape();
    EXPECT_EQ(no.HotX, 11);
    EXPECT_EQ(no.At(11, 11), '#');  // the slash crosses the centre
    EXPECT_EQ(no.At(11, 2), '#');   // the ring
    EXPECT_EQ(no.At(11, 5), '.');   // a white edge inside the ring
    EXPECT_EQ(no.At(14, 8), ' ');   // and clear within, off the slash
    EXPECT_EQ(no.At(30, 30), ' ');
    for (int y = 0; y < 32; ++y)     // the slash runs from top left to bottom right
        for (int x = 0; x < 32; ++x)
            EXPECT_EQ(no.At(x, y), no.At(y, x)) << x << "," << y;
}

// ---- idle ------------------------------------------------------------------------

TEST_F(X11Test, AnIdleSecondCostsLessThanTenMillisecondsOfCpu)
{
    MakeForm(50, 40, nullptr);
    Settle();
    bool done = false;
    static bool* flag;
    flag = &done;
    // A thread timer's id is the one SetTimer gives back.
    uintptr_t timer = SetTimer(nullptr, 0, 1000, [](HWND, UINT, uintptr_t, DWORD) { *flag = true; });
    rusage before, after;
    getrusage(RUSAGE_SELF, &before);
    long long start = NowMs();
    MSG msg;
    while (!done && GetMessage(msg)) {
        TranslateMessage(msg);
        DispatchMessage(msg);
    }
    getrusage(RUSAGE_SELF, &after);
    KillTimer(nullptr, timer);
    auto us = [](const timeval& t) { return t.tv_sec * 1000000LL + t.tv_usec; };
    long long cpu = us(after.ru_utime) - us(before.ru_utime) + us(after.ru_stime) - us(before.ru_stime);
    EXPECT_GE(NowMs() - start, 990);
    EXPECT_LT(cpu, 10000) << "CPU time in microseconds";
}

} // namespace
} // namespace ld::x11test

namespace ld::x11test {
namespace {

TEST(X11KeyMap, KeySymbolsBecomeTheHostsVirtualKeys)
{
    EXPECT_EQ(x11::VirtualKeyOf(XK_a), 'A');
    EXPECT_EQ(x11::VirtualKeyOf(XK_Z), 'Z');
    EXPECT_EQ(x11::VirtualKeyOf(XK_7), '7');
    EXPECT_EQ(x11::VirtualKeyOf(XK_F1), VK_F1);
    EXPECT_EQ(x11::VirtualKeyOf(XK_F10), VK_F1 + 9);
    EXPECT_EQ(x11::VirtualKeyOf(XK_Return), VK_RETURN);
    EXPECT_EQ(x11::VirtualKeyOf(XK_KP_Enter), VK_RETURN);
    EXPECT_EQ(x11::VirtualKeyOf(XK_ISO_Left_Tab), VK_TAB);  // Shift+Tab on most layouts
    EXPECT_EQ(x11::VirtualKeyOf(XK_Alt_L), VK_MENU);
    EXPECT_EQ(x11::VirtualKeyOf(XK_Control_R), VK_CONTROL);
    EXPECT_EQ(x11::VirtualKeyOf(XK_KP_Left), VK_LEFT);
    EXPECT_EQ(x11::VirtualKeyOf(XK_KP_3), 0x63);   // VK_NUMPAD3
    EXPECT_EQ(x11::VirtualKeyOf(XK_comma), 0xBC);  // VK_OEM_COMMA
    EXPECT_EQ(x11::VirtualKeyOf(XK_eacute), 0);    // the backend falls back to the shifted symbol, then VK_OEM_8
}

} // namespace
} // namespace ld::x11test
