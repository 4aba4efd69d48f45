#include "tests/backends/X11TestSupport.h"

#include "platform/gfx/Graphics.h"
#include "platform/vcl/DragDrop.h"
#include "platform/win/Paint.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/TickSource.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include "tests/support/TestOutput.h"

namespace ld::x11test {

std::filesystem::path OutputDir()
{
    return test::TestOutputDir("backends");
}

long long NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// ---- TProbe -------------------------------------------------------------------

TProbe::TProbe(TComponent* owner, TColor face) : TCustomControl(owner), FFace(face)
{
    FControlStyle = {csCaptureMouse, csClickEvents, csOpaque};
    SetTabStop(true);
}

void TProbe::WndProc(TMessage& m)
{
    Messages.push_back(m.Msg);
    if (m.Msg == WM_CHAR || m.Msg == WM_SYSCHAR)
        Chars += char(m.WParam);
    if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
        Hot = m.Msg == CM_MOUSEENTER;
        Invalidate();
    }
    TCustomControl::WndProc(m);
}

void TProbe::Click()
{
    ++Clicks;
    TCustomControl::Click();
}

void TProbe::Paint()
{
    GetCanvas()->GetBrush()->SetColor(Hot ? clWhite : FFace);
    GetCanvas()->FillRect(GetClientRect());
}

bool TProbe::Saw(UINT msg) const
{
    for (UINT m : Messages)
        if (m == msg)
            return true;
    return false;
}

// ---- X11Test ------------------------------------------------------------------

void X11Test::SetUp()
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "no DISPLAY: run under tests/backends/with-xvfb";
    TickSource::UseMonotonicClock();
    FBackend = std::make_unique<TX11Backend>(FLayout, 640, 480);
    FHand = XOpenDisplay(nullptr);
    ASSERT_NE(FHand, nullptr);
}

void X11Test::TearDown()
{
    // A test that failed halfway leaves no drag behind to outlive its controls.
    if (GetDragObject())
        CancelDrag();
    ReleaseCapture();
    for (TForm* f : FForms)
        delete f;
    FForms.clear();
    if (FBackend) {
        // The key state outlives the backend: a test that ends before the
        // hand's last key release is read would leave a modifier held for
        // the next one.
        PumpUntil([] { return GetAsyncKeyState(VK_SHIFT) >= 0 && GetAsyncKeyState(VK_CONTROL) >= 0 &&
                              GetAsyncKeyState(VK_MENU) >= 0; }, 1000);
        Application->ProcessMessages();
        FBackend.reset();
    }
    if (FHand) {
        // The pointer goes back where no later window of a test will be.
        XTestFakeMotionEvent(FHand, DefaultScreen(FHand), 1200, 1000, CurrentTime);
        XCloseDisplay(FHand);
        FHand = nullptr;
    }
    Application->ResetTerminated();
}

bool X11Test::PumpUntil(const std::function<bool()>& done, int timeoutMs)
{
    long long deadline = NowMs() + timeoutMs;
    for (;;) {
        Application->ProcessMessages();
        Application->DoIdleWork();
        Application->ProcessMessages();
        if (done())
            return true;
        if (NowMs() > deadline)
            return false;
        FBackend->WaitForInput(5);
    }
}

void X11Test::Settle()
{
    for (int i = 0; i < 100; ++i) {
        Application->ProcessMessages();
        Application->DoIdleWork();
        if (!HasPendingMessages())
            break;
    }
    // Twice: what the server said back (exposures, places) is handled and shown too.
    for (int round = 0; round < 2; ++round) {
        FBackend->Present();
        XSync(FBackend->GetDisplay(), False);
        FBackend->HandlePendingEvents();
        Application->ProcessMessages();
    }
    FBackend->Present();
    XSync(FBackend->GetDisplay(), False);
}

TForm* X11Test::MakeForm(Integer left, Integer top, TProbe** probe)
{
    auto* form = new TForm(nullptr);
    form->SetCaption("Probe form");
    form->SetBounds(left, top, 200, 120);
    auto* p = new TProbe(form, TColor(0xC0E0FF));
    p->SetBounds(8, 8, 120, 40);
    p->SetParent(form);
    form->Show();
    FForms.push_back(form);
    if (probe)
        *probe = p;
    WaitUntilShown(form);
    return form;
}

void X11Test::WaitUntilShown(TForm* form)
{
    bool shown = PumpUntil([&] {
        Window w = XWindowOf(form);
        if (!w)
            return false;
        XWindowAttributes a;
        if (!XGetWindowAttributes(FHand, w, &a) || a.map_state != IsViewable)
            return false;
        if (FLayout == TX11Layout::VirtualDesktop)
            return true;
        int x = 0, y = 0;
        Window child;
        XTranslateCoordinates(FHand, w, DefaultRootWindow(FHand), 0, 0, &x, &y, &child);
        TPoint origin = form->ClientToScreen(TPoint{0, 0});
        return origin.X == x && origin.Y == y && a.width == form->GetClientWidth() &&
               a.height == form->GetClientHeight();
    });
    ASSERT_TRUE(shown) << "the form's X window was not shown where the form is";
    Settle();
}

unsigned long X11Test::XWindowOf(TForm* form) const
{
    return form->HandleAllocated() ? FBackend->XWindowOf(form->GetHandle()) : 0;
}

std::string X11Test::FirstDifference(const TRect& area)
{
    auto shown = FBackend->CaptureWindow(area);
    const TSurface& screen = GetScreenSurface();
    for (Integer y = 0; y < area.Height(); ++y)
        for (Integer x = 0; x < area.Width(); ++x)
            if ((shown->Row(y)[x] | 0xFF000000u) != (screen.Pixel(area.Left + x, area.Top + y) | 0xFF000000u))
                return std::to_string(area.Left + x) + "," + std::to_string(area.Top + y);
    return {};
}

void X11Test::HandMoveTo(Integer x, Integer y)
{
    XTestFakeMotionEvent(FHand, DefaultScreen(FHand), x, y, CurrentTime);
    XFlush(FHand);
}

void X11Test::HandButton(unsigned button, bool down)
{
    XTestFakeButtonEvent(FHand, button, down, CurrentTime);
    XFlush(FHand);
}

void X11Test::HandKey(unsigned long keysym, bool down)
{
    KeyCode code = XKeysymToKeycode(FHand, keysym);
    ASSERT_NE(code, 0) << "no key for symbol " << keysym;
    XTestFakeKeyEvent(FHand, code, down, CurrentTime);
    XFlush(FHand);
}

bool X11Test::HandGlide(TPoint from, TPoint to, int steps)
{
    for (int i = 1; i <= steps; ++i) {
        TPoint p{from.X + (to.X - from.X) * i / steps, from.Y + (to.Y - from.Y) * i / steps};
        HandMoveTo(p.X, p.Y);
        if (!PumpUntil([&] {
                POINT now;
                GetCursorPos(now);
                return now.X == p.X && now.Y == p.Y && !HasPendingMessages();
            }))
            return false;
    }
    return true;
}

void SendCloseRequest(Display* display, unsigned long window)
{
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = window;
    ev.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &ev);
    XFlush(display);
}

void X11Test::HandFocusOurWindow(TForm* form)
{
    if (!form && !FForms.empty())
        form = FForms.front();
    Window w = form ? XWindowOf(form) : FBackend->GetWindow();
    XSetInputFocus(FHand, w, RevertToParent, CurrentTime);
    XSync(FHand, False);
}

} // namespace ld::x11test
