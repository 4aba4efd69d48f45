// How the message queue takes due timers from the timer unit.
#pragma once

#include "platform/win/Messages.h"

namespace ld::winimpl {

// The due timer most overdue, as a WM_TIMER message; its next period starts now.
bool TakeDueTimer(MSG& msg, HWND filter);
bool HasDueTimer();

} // namespace ld::winimpl
