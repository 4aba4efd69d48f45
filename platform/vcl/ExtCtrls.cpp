#include "platform/vcl/ExtCtrls.h"

#include <map>

#include "platform/vcl/Forms.h"
#include "platform/win/MessageQueue.h"

namespace ld {

namespace {
// Timers by their window-system id, so a tick finds its timer, or nothing
// when the timer was freed while the tick was on its way.
std::map<uintptr_t, TTimer*>& Timers()
{
    static std::map<uintptr_t, TTimer*> timers;
    return timers;
}
} // namespace

TClass TTimer::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TTimer>("TTimer", TComponent::StaticClass())
        .Boolean("Enabled", &TTimer::GetEnabled, &TTimer::SetEnabled).Default(true)
        .Integer("Interval", &TTimer::GetInterval, &TTimer::SetInterval).Default(1000)
        .Event("OnTimer", &TTimer::GetOnTimer, &TTimer::SetOnTimer);
    return &info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer()
{
    FEnabled = false;
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    if (FTimerId) {
        KillTimer(nullptr, FTimerId);
        Timers().erase(FTimerId);
        FTimerId = 0;
    }
    if (FEnabled && FInterval != 0 && FOnTimer) {
        FTimerId = SetTimer(nullptr, 0, FInterval, &TTimer::TimerProc);
        Timers()[FTimerId] = this;
    }
}

void TTimer::SetEnabled(bool value)
{
    if (FEnabled == value)
        return;
    FEnabled = value;
    UpdateTimer();
}

void TTimer::SetInterval(Cardinal value)
{
    if (FInterval == value)
        return;
    FInterval = value;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent value)
{
    FOnTimer = value;
    UpdateTimer();
}

void TTimer::Timer()
{
    if (FOnTimer)
        FOnTimer(this);
}

void TTimer::TimerProc(HWND, UINT, uintptr_t id, DWORD)
{
    auto it = Timers().find(id);
    if (it == Timers().end())
        return;
    TTimer* timer = it->second;
    try {
        timer->Timer();  // may free the timer: nothing touches it afterwards
    } catch (const std::exception& e) {
        Application->HandleException(nullptr, e);
    }
}

} // namespace ld
