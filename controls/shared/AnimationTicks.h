// The time arithmetic that the sheet roll and the list scroll share: a window
// of the tick count, the busy wait for the next tick, and the step rule that
// sizes each frame by the speed reached so far.
#pragma once

#include "controls/shared/HostVersion.h"
#include "platform/core/Types.h"

#include <cstdint>

namespace ld {

// Some builds hold the tick count as a signed 32-bit number, the others as
// unsigned; the only visible difference is where a time window wraps (2^31
// or 2^32 ms of uptime), and such a window skips its animation.
#if LD_HOST_SIGNED_TICKS
using TAnimationTick = int32_t;
#else
using TAnimationTick = uint32_t;
#endif

// What the last finished animation achieved: its frames and the longest time
// a frame spent drawing (the busy wait left out), for the benchmarks. Frames are
// timed in the thread's processor time: on a busy machine the time the thread
// waits for a processor is not the frame's own.
struct TAnimationStats {
    Integer Frames = 0;
    double WorstFrameMicroseconds = 0;
};
TAnimationStats LastAnimationStats();

class TTickWindow {
public:
    // Start := the tick count now; End := Start + Duration, in the tick type.
    explicit TTickWindow(DWORD duration);
    ~TTickWindow();
    TTickWindow(const TTickWindow&) = delete;
    TTickWindow& operator=(const TTickWindow&) = delete;

    // The end is not later than the start: the window crosses the wrap
    // point and the animation is skipped.
    bool Empty() const { return !(FEnd > FStart); }
    // The last reading (the first is Start) lies before the end. Counted as
    // the time since Start, so that a window ending on the largest tick still
    // closes when the readings wrap past it.
    bool Open() const;
    // Reads the tick count until it differs from both Start and End: at
    // least one tick per frame, and never a reading that leaves no time.
    void WaitForNextTick();
    // Pixels for the next frame: Needed / Achieved truncated toward zero,
    // where Achieved = Done / (now - Start) and Needed = Remaining / (End -
    // now); 0 when nothing was achieved yet. Negative Remaining scrolls back.
    int NextStep(double done, double remaining) const;

    TAnimationTick Start() const { return FStart; }
    TAnimationTick End() const { return FEnd; }
    TAnimationTick Now() const { return FNow; }

private:
    TAnimationTick FStart;
    TAnimationTick FEnd;
    TAnimationTick FNow;
    TAnimationStats FStats;
    double FFrameStart;
};

} // namespace ld
