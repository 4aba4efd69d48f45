// Timers: a list of (window, id) with their period and due tick. WM_TIMER is
// made for the timer most overdue when the queue has nothing else; a timer is
// never queued twice, so a slow handler makes ticks drop, not pile up.
#include <algorithm>
#include <vector>

#include "platform/win/MessageQueue.h"
#include "platform/win/TickSource.h"
#include "platform/win/TimerQueue.h"
#include "platform/win/WindowTable.h"

namespace ld {

namespace {

struct TTimerEntry {
    HWND Window = nullptr;
    uintptr_t Id = 0;
    UINT Elapse = 0;
    DWORD Due = 0;
    TIMERPROC Proc = nullptr;
};

struct TTimerState {
    std::vector<TTimerEntry> Timers;
    uintptr_t NextThreadId = 0x7FF0;
};

TTimerState& State()
{
    static TTimerState* state = new TTimerState;
    return *state;
}

constexpr UINT kMinimumElapse = 10;

bool Due(const TTimerEntry& t, DWORD now) { return !TickAfter(t.Due, now); }

} // namespace

uintptr_t SetTimer(HWND hwnd, uintptr_t id, UINT elapse, TIMERPROC proc)
{
    if (hwnd && !IsWindow(hwnd))
        return 0;
    TTimerState& s = State();
    if (!hwnd) {
        // Thread timers get an id of their own unless an existing one is reset.
        auto same = std::find_if(s.Timers.begin(), s.Timers.end(), [&](const TTimerEntry& t) { return !t.Window && t.Id == id; });
        if (id == 0 || same == s.Timers.end())
            id = ++s.NextThreadId;
    }
    elapse = std::max(elapse, kMinimumElapse);
    DWORD due = TickSource::Peek() + elapse;
    for (TTimerEntry& t : s.Timers)
        if (t.Window == hwnd && t.Id == id) {
            t.Elapse = elapse;
            t.Due = due;
            t.Proc = proc;
            return id;
        }
    s.Timers.push_back({hwnd, id, elapse, due, proc});
    return id;
}

bool KillTimer(HWND hwnd, uintptr_t id)
{
    auto& timers = State().Timers;
    auto n = std::erase_if(timers, [&](const TTimerEntry& t) { return t.Window == hwnd && t.Id == id; });
    return n > 0;
}

DWORD NextTimerDelay()
{
    DWORD now = TickSource::Peek();
    DWORD best = INFINITE;
    for (const TTimerEntry& t : State().Timers) {
        if (Due(t, now))
            return 0;
        best = std::min(best, DWORD(t.Due - now));
    }
    return best;
}

namespace winimpl {

bool HasDueTimer() { return NextTimerDelay() == 0; }

bool TakeDueTimer(MSG& msg, HWND filter)
{
    DWORD now = TickSource::Peek();
    TTimerEntry* best = nullptr;
    for (TTimerEntry& t : State().Timers) {
        if (!Due(t, now) || (filter && t.Window != filter && !IsChild(filter, t.Window)))
            continue;
        if (!best || TickAfter(best->Due, t.Due))
            best = &t;
    }
    if (!best)
        return false;
    best->Due = now + best->Elapse;
    msg = {};
    msg.hwnd = best->Window;
    msg.message = WM_TIMER;
    msg.wParam = best->Id;
    msg.lParam = reinterpret_cast<LPARAM>(best->Proc);
    msg.time = now;
    return true;
}

void ForgetWindowTimers(HWND hwnd)
{
    std::erase_if(State().Timers, [&](const TTimerEntry& t) { return t.Window == hwnd; });
}

} // namespace winimpl

} // namespace ld
