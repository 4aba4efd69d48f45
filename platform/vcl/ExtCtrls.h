// TTimer: OnTimer every Interval milliseconds while Enabled, from the message
// loop. A new Interval (or turning it on again) restarts the period; the
// handler may free its own timer.
#pragma once

#include "platform/core/Component.h"
#include "platform/win/Messages.h"

namespace ld {

class TTimer : public TComponent {
    LD_CLASS(TTimer, TComponent)

    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool value);
    Cardinal GetInterval() const { return FInterval; }
    void SetInterval(Cardinal value);
    TNotifyEvent GetOnTimer() const { return FOnTimer; }
    void SetOnTimer(TNotifyEvent value);

protected:
    virtual void Timer();

private:
    void UpdateTimer();
    static void TimerProc(HWND hwnd, UINT msg, uintptr_t id, DWORD time);

    bool FEnabled = true;
    Cardinal FInterval = 1000;
    uintptr_t FTimerId = 0;
    TNotifyEvent FOnTimer;
};

} // namespace ld
