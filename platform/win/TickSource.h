// The tick count in milliseconds that GetTickCount reports and timers run on.
// Programs read the monotonic clock. Tests switch to a simulated clock that only
// moves when told, or by a fixed step at every read, so a busy-wait animation
// ends after a known number of frames and no test ever sleeps. The count is
// 32 bits wide and wraps like the original's.
#pragma once

#include "platform/core/Types.h"

namespace ld {

DWORD GetTickCount();

namespace TickSource {

// Back to the real monotonic clock (the default).
void UseMonotonicClock();
// Start the simulated clock at Start; every later read adds Step first.
void UseSimulatedClock(DWORD start = 0, DWORD step = 0);
bool IsSimulated();
void SetTicks(DWORD ticks);
void Advance(DWORD ms);
void SetStep(DWORD step);
// The current count without the step of a read: for the window system's own
// bookkeeping, which must not move a simulated clock.
DWORD Peek();
// Number of GetTickCount calls since the simulated clock was started.
uint64_t ReadCount();

} // namespace TickSource

// True when tick A comes after tick B, across a wrap of the 32-bit count.
inline bool TickAfter(DWORD a, DWORD b) { return int32_t(a - b) > 0; }

} // namespace ld
