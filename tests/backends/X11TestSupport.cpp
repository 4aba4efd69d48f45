#include "tests/backends/X11TestSupport.h"

#include "platform/gfx/Graphics.h"
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
    FBackend = std::make_unique<TX11Backend>(640, 480);
    FHand = XOpenDisplay(nullptr);
    ASSERT_NE(FHand, nullptr);
}

void X11Test::TearDown()
{
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
    return form;
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

void X11Test::HandFocusOurWindow()
{
    XSetInputFocus(FHand, FBackend->GetWindow(), RevertToParent, CurrentTime);
    XSync(FHand, False);
}

} // namespace ld::x11test
