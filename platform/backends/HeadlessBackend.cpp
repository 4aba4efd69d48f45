#include "platform/backends/HeadlessBackend.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/gfx/Png.h"
#include "platform/vcl/Forms.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/TickSource.h"

namespace ld {

THeadlessBackend::THeadlessBackend(Integer width, Integer height)
{
    SetScreenSize(width, height);
    SetBackend(this);
}

THeadlessBackend::~THeadlessBackend()
{
    if (GetBackend() == this)
        SetBackend(nullptr);
}

bool THeadlessBackend::WaitForInput(DWORD timeout)
{
    if (!FScript.empty()) {
        auto step = std::move(FScript.front());
        FScript.pop_front();
        step();
        return true;
    }
    if (timeout == INFINITE)
        return false;
    if (TickSource::IsSimulated())
        TickSource::Advance(timeout);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(timeout));
    return true;
}

void THeadlessBackend::MoveTo(Integer x, Integer y)
{
    FPointer = {x, y};
    InjectMouseMove(x, y);
}

void THeadlessBackend::Press(TPointerButton button) { InjectMouseButton(button, true); }
void THeadlessBackend::Release(TPointerButton button) { InjectMouseButton(button, false); }

void THeadlessBackend::Click(Integer x, Integer y, TPointerButton button)
{
    MoveTo(x, y);
    Press(button);
    Release(button);
}

void THeadlessBackend::DoubleClick(Integer x, Integer y)
{
    Click(x, y);
    Click(x, y);
}

void THeadlessBackend::Wheel(Integer notches)
{
    for (Integer i = 0; i < std::abs(notches); ++i)
        InjectMouseWheel(notches > 0 ? WHEEL_DELTA : -WHEEL_DELTA);
}

void THeadlessBackend::DragTo(Integer x, Integer y, Integer step)
{
    step = std::max(step, 1);
    TPoint p = FPointer;
    while (p.X != x || p.Y != y) {
        p.X += std::clamp(x - p.X, -step, step);
        p.Y += std::clamp(y - p.Y, -step, step);
        MoveTo(p.X, p.Y);
    }
}

void THeadlessBackend::KeyDown(Integer vk) { InjectKey(vk, true); }
void THeadlessBackend::KeyUp(Integer vk) { InjectKey(vk, false); }

void THeadlessBackend::Key(Integer vk)
{
    KeyDown(vk);
    KeyUp(vk);
}

void THeadlessBackend::KeyWith(Integer modifierVk, Integer vk)
{
    KeyDown(modifierVk);
    Key(vk);
    KeyUp(modifierVk);
}

void THeadlessBackend::Type(const std::string& text)
{
    for (char c : text) {
        if (c >= 'a' && c <= 'z')
            Key(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z')
            KeyWith(VK_SHIFT, c);
        else if ((c >= '0' && c <= '9') || c == ' ')
            Key(c);
        else if (c == '\r' || c == '\n')
            Key(VK_RETURN);
    }
}

void THeadlessBackend::RunUntilIdle()
{
    // Idle work may make messages (an enter notice repaints): go round until
    // a turn finds nothing.
    for (int rounds = 0; rounds < 1000; ++rounds) {
        Application->ProcessMessages();
        Application->DoIdleWork();
        if (!HasPendingMessages())
            return;
    }
}

void THeadlessBackend::Advance(DWORD ms)
{
    RunUntilIdle();
    DWORD end = TickSource::Peek() + ms;
    for (;;) {
        // A clock that steps at every read may have gone past the end by
        // itself; what is left must not wrap round to almost 2^32 ms.
        if (!TickAfter(end, TickSource::Peek()))
            return;
        DWORD delay = NextTimerDelay();
        DWORD left = end - TickSource::Peek();
        if (delay == INFINITE || delay > left) {
            TickSource::SetTicks(end);
            RunUntilIdle();
            return;
        }
        TickSource::Advance(delay);
        RunUntilIdle();
    }
}

std::unique_ptr<TSurface> THeadlessBackend::Capture(const TRect& area) const
{
    const TSurface& screen = GetScreenSurface();
    TRect r;
    IntersectRect(r, area, screen.Bounds());
    auto out = std::make_unique<TSurface>(std::max(r.Width(), 1), std::max(r.Height(), 1));
    for (Integer y = r.Top; y < r.Bottom; ++y)
        std::copy(screen.Row(y) + r.Left, screen.Row(y) + r.Right, out->Row(y - r.Top));
    return out;
}

void THeadlessBackend::SaveScreenshot(const std::string& path) const { SavePngFile(path, GetScreenSurface()); }

void THeadlessBackend::SaveWindowShot(HWND window, const std::string& path) const
{
    RECT r;
    if (!GetWindowRect(window, r))
        return;
    SavePngFile(path, *Capture(r));
}

} // namespace ld
