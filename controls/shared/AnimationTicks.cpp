#include "controls/shared/AnimationTicks.h"

#include "platform/win/TickSource.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>

namespace ld {

namespace {

// The wrap-around sums and differences of the 32-bit tick count, done in
// unsigned arithmetic and then read in the build's tick type.
TAnimationTick Ticks(uint32_t value) { return static_cast<TAnimationTick>(value); }

double Span(TAnimationTick from, TAnimationTick to)
{
    return static_cast<double>(Ticks(static_cast<uint32_t>(to) - static_cast<uint32_t>(from)));
}

TAnimationStats LastStats;

double ThreadMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
}

} // namespace

TAnimationStats LastAnimationStats() { return LastStats; }

TTickWindow::TTickWindow(DWORD duration)
    : FStart(Ticks(GetTickCount()))
    , FEnd(Ticks(static_cast<uint32_t>(FStart) + duration))
    , FNow(FStart)
    , FFrameStart(ThreadMicroseconds())
{
}

TTickWindow::~TTickWindow() { LastStats = FStats; }

bool TTickWindow::Open() const
{
    if (Empty())
        return false;
    const uint32_t elapsed = static_cast<uint32_t>(FNow) - static_cast<uint32_t>(FStart);
    const uint32_t duration = static_cast<uint32_t>(FEnd) - static_cast<uint32_t>(FStart);
    return elapsed < duration;
}

void TTickWindow::WaitForNextTick()
{
    const double frame = ThreadMicroseconds() - FFrameStart;
    ++FStats.Frames;
    FStats.WorstFrameMicroseconds = std::max(FStats.WorstFrameMicroseconds, frame);
    do
        FNow = Ticks(GetTickCount());
    while (FNow == FStart || FNow == FEnd);
    FFrameStart = ThreadMicroseconds();
}

int TTickWindow::NextStep(double done, double remaining) const
{
    const double achieved = done / Span(FStart, FNow);
    if (achieved == 0)
        return 0;
    const double needed = remaining / Span(FNow, FEnd);
    const double step = std::trunc(needed / achieved);
    // A far-off target after a slow start must not overflow the step.
    constexpr double limit = std::numeric_limits<int>::max();
    if (!(std::fabs(step) < limit))
        return step < 0 ? -std::numeric_limits<int>::max() : std::numeric_limits<int>::max();
    return static_cast<int>(step);
}

} // namespace ld
