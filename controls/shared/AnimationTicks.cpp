#include "controls/shared/AnimationTicks.h"

#include "platform/win/TickSource.h"

#include <algorithm>
#include <cmath>
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

} // namespace

TAnimationStats LastAnimationStats() { return LastStats; }

TTickWindow::TTickWindow(DWORD duration)
    : FStart(Ticks(GetTickCount()))
    , FEnd(Ticks(static_cast<uint32_t>(FStart) + duration))
    , FNow(FStart)
    , FFrameStart(std::chrono::steady_clock::now())
{
}

TTickWindow::~TTickWindow() { LastStats = FStats; }

void TTickWindow::WaitForNextTick()
{
    const auto drawn = std::chrono::steady_clock::now();
    const double frame = std::chrono::duration<double, std::micro>(drawn - FFrameStart).count();
    ++FStats.Frames;
    FStats.WorstFrameMicroseconds = std::max(FStats.WorstFrameMicroseconds, frame);
    do
        FNow = Ticks(GetTickCount());
    while (FNow == FStart || FNow == FEnd);
    FFrameStart = std::chrono::steady_clock::now();
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
