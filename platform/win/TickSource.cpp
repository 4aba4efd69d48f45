#include "platform/win/TickSource.h"

#include <chrono>

#include "platform/win/Backend.h"

namespace ld {

namespace {

struct ClockState {
    bool simulated = false;
    DWORD ticks = 0;
    DWORD step = 0;
    uint64_t reads = 0;
};

ClockState& Clock()
{
    static ClockState state;
    return state;
}

DWORD MonotonicTicks()
{
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return DWORD(uint64_t(ms));
}

} // namespace

DWORD GetTickCount()
{
    if (TBackend* b = GetBackend())
        b->TicksRead();
    ClockState& c = Clock();
    if (!c.simulated)
        return MonotonicTicks();
    c.ticks += c.step;
    ++c.reads;
    return c.ticks;
}

namespace TickSource {

void UseMonotonicClock() { Clock() = ClockState{}; }

void UseSimulatedClock(DWORD start, DWORD step)
{
    ClockState& c = Clock();
    c.simulated = true;
    c.ticks = start;
    c.step = step;
    c.reads = 0;
}

bool IsSimulated() { return Clock().simulated; }
void SetTicks(DWORD ticks) { Clock().ticks = ticks; }
void Advance(DWORD ms) { Clock().ticks += ms; }
void SetStep(DWORD step) { Clock().step = step; }
DWORD Peek() { return Clock().simulated ? Clock().ticks : MonotonicTicks(); }
uint64_t ReadCount() { return Clock().reads; }

} // namespace TickSource

} // namespace ld
