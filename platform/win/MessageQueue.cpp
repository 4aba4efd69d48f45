#include "platform/win/MessageQueue.h"

#include <deque>

#include "platform/core/SysUtils.h"
#include "platform/win/Backend.h"
#include "platform/win/Input.h"
#include "platform/win/InputQueue.h"
#include "platform/win/TickSource.h"
#include "platform/win/TimerQueue.h"
#include "platform/win/WindowTable.h"

namespace ld {

using namespace winimpl;

namespace {

struct TQueueState {
    std::deque<MSG> Posted;
    bool QuitPosted = false;
    Integer ExitCode = 0;
    TBackend* Backend = nullptr;
};

TQueueState& State()
{
    static TQueueState* state = new TQueueState;
    return *state;
}

bool InRange(UINT msg, UINT minMsg, UINT maxMsg) { return (minMsg == 0 && maxMsg == 0) || (msg >= minMsg && msg <= maxMsg); }

bool MatchesWindow(HWND hwnd, HWND filter) { return !filter || hwnd == filter || IsChild(filter, hwnd); }

bool TakePosted(MSG& msg, HWND filter, UINT minMsg, UINT maxMsg, bool remove)
{
    auto& posted = State().Posted;
    for (auto it = posted.begin(); it != posted.end();) {
        // A message for a window that has died since is dropped.
        if (it->hwnd && !IsWindow(it->hwnd)) {
            it = posted.erase(it);
            continue;
        }
        if (MatchesWindow(it->hwnd, filter) && InRange(it->message, minMsg, maxMsg)) {
            msg = *it;
            if (remove)
                posted.erase(it);
            return true;
        }
        ++it;
    }
    return false;
}

bool RangeHasInput(UINT minMsg, UINT maxMsg)
{
    if (minMsg == 0 && maxMsg == 0)
        return true;
    return (maxMsg >= WM_KEYFIRST && minMsg <= WM_KEYLAST) || (maxMsg >= WM_MOUSEFIRST && minMsg <= WM_MOUSEWHEEL) ||
           (maxMsg >= WM_NCMOUSEMOVE && minMsg <= WM_NCLBUTTONUP);
}

bool TakeMessage(MSG& msg, HWND filter, UINT minMsg, UINT maxMsg, bool remove)
{
    TQueueState& s = State();
    if (TakePosted(msg, filter, minMsg, maxMsg, remove))
        return true;
    if (s.QuitPosted && !filter) {
        msg = {};
        msg.message = WM_QUIT;
        msg.wParam = WPARAM(s.ExitCode);
        if (remove)
            s.QuitPosted = false;
        return true;
    }
    if (RangeHasInput(minMsg, maxMsg) && HasPendingInput()) {
        if (!remove) {
            msg = {};
            return true;
        }
        // Input whose target has gone is dropped; try the next.
        if (TakeInput(msg) && MatchesWindow(msg.hwnd, filter))
            return true;
        // Input the window system took itself (a frame drag) may have posted a message.
        if (TakePosted(msg, filter, minMsg, maxMsg, remove))
            return true;
    }
    if (InRange(WM_PAINT, minMsg, maxMsg))
        if (HWND h = FindPaintWindow(filter)) {
            msg = {};
            msg.hwnd = h;
            msg.message = WM_PAINT;
            msg.time = TickSource::Peek();
            return true;
        }
    if (InRange(WM_TIMER, minMsg, maxMsg)) {
        if (!remove) {
            if (HasDueTimer()) {
                msg = {};
                msg.message = WM_TIMER;
                return true;
            }
        } else if (TakeDueTimer(msg, filter))
            return true;
    }
    return false;
}

} // namespace

void SetBackend(TBackend* backend) { State().Backend = backend; }
TBackend* GetBackend() { return State().Backend; }

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WindowRec* w = Lookup(hwnd);
    if (!w || !w->proc)
        return 0;
    return w->proc(hwnd, msg, wParam, lParam);
}

bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (hwnd && !IsWindow(hwnd))
        return false;
    MSG m;
    m.hwnd = hwnd;
    m.message = msg;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = TickSource::Peek();
    m.pt = WS().cursorPos;
    State().Posted.push_back(m);
    return true;
}

void RemovePostedMessages(HWND hwnd, UINT msg, LPARAM lParam)
{
    auto& posted = State().Posted;
    std::erase_if(posted, [&](const MSG& m) { return m.hwnd == hwnd && m.message == msg && m.lParam == lParam; });
}

void PostQuitMessage(Integer exitCode)
{
    State().QuitPosted = true;
    State().ExitCode = exitCode;
}

bool PeekMessage(MSG& msg, HWND filter, UINT minMsg, UINT maxMsg, UINT remove)
{
    return TakeMessage(msg, filter, minMsg, maxMsg, (remove & PM_REMOVE) != 0);
}

void WaitMessage()
{
    MSG probe;
    if (TakeMessage(probe, nullptr, 0, 0, false))
        return;
    // One wait: the backend may have done something (a scripted step) that
    // makes no message, and the caller looks again.
    TBackend* b = State().Backend;
    DWORD delay = NextTimerDelay();
    if ((!b || !b->WaitForInput(delay)) && delay == INFINITE)
        throw EInvalidOperation("The message loop waits for input, but no input can arrive and no timer is set");
}

bool GetMessage(MSG& msg, HWND filter, UINT minMsg, UINT maxMsg)
{
    while (!TakeMessage(msg, filter, minMsg, maxMsg, true))
        WaitMessage();
    return msg.message != WM_QUIT;
}

bool HasPendingMessages()
{
    MSG probe;
    return TakeMessage(probe, nullptr, 0, 0, false);
}

bool TranslateMessage(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
        return false;
    char ch = KeyChar(Integer(msg.wParam));
    if (!ch)
        return false;
    UINT charMsg = msg.message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    // The character goes straight to the front: it belongs to this key press.
    MSG m = msg;
    m.message = charMsg;
    m.wParam = WPARAM(Byte(ch));
    State().Posted.push_front(m);
    return true;
}

LRESULT DispatchMessage(const MSG& msg)
{
    if (msg.message == WM_TIMER && msg.lParam) {
        auto proc = reinterpret_cast<TIMERPROC>(msg.lParam);
        proc(msg.hwnd, WM_TIMER, msg.wParam, TickSource::Peek());
        return 0;
    }
    if (!msg.hwnd)
        return 0;
    return SendMessage(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

} // namespace ld
