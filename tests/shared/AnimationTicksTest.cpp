// The animations' tick window on the simulated clock: where it wraps in this
// build's tick type, the busy wait, and the step rule with its worked numbers.
#include "controls/shared/AnimationTicks.h"

#include "platform/win/TickSource.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace ld {
namespace {

constexpr bool SignedTicks = std::is_signed_v<TAnimationTick>;

class AnimationTicksTest : public ::testing::Test {
protected:
    void TearDown() override { TickSource::UseMonotonicClock(); }
};

TEST_F(AnimationTicksTest, AWindowAcrossTheWrapPointIsEmpty)
{
    // Near 2^32 both kinds of build wrap; near 2^31 only the signed one does.
    TickSource::UseSimulatedClock(0xFFFFFFFFu - 100);
    EXPECT_EQ(TTickWindow(125).Empty(), !SignedTicks);
    TickSource::UseSimulatedClock(0x7FFFFFFFu - 100);
    EXPECT_EQ(TTickWindow(125).Empty(), SignedTicks);
    TickSource::UseSimulatedClock(0x7FFFFFFFu - 125);
    EXPECT_FALSE(TTickWindow(125).Empty()) << "ending exactly at the wrap point still fits";
    TickSource::UseSimulatedClock(1000);
    EXPECT_FALSE(TTickWindow(40).Empty());
}

TEST_F(AnimationTicksTest, AWindowEndingOnEitherWrapPointCloses)
{
    // A window ending on the largest tick of its type: the reading after the
    // end has wrapped round to the smallest, which must still close it.
    for (const DWORD last : {0x7FFFFFFFu, 0xFFFFFFFFu}) {
        TickSource::UseSimulatedClock(last - 126, 1);
        TTickWindow window(125);
        ASSERT_FALSE(window.Empty()) << std::hex << last;
        int frames = 0;
        while (window.Open() && frames < 1000) {
            window.WaitForNextTick();
            ++frames;
        }
        EXPECT_EQ(frames, 125) << "124 ticks before the end, then the first after it; end " << std::hex << last;
    }
}

TEST_F(AnimationTicksTest, TheWaitSkipsReadingsEqualToStartOrEnd)
{
    TickSource::UseSimulatedClock(1000, 0);
    TTickWindow window(2);
    TickSource::SetStep(1);
    window.WaitForNextTick();
    EXPECT_EQ(window.Now(), TAnimationTick(1001));
    EXPECT_TRUE(window.Open());
    window.WaitForNextTick();
    EXPECT_EQ(window.Now(), TAnimationTick(1003)) << "1002 is the end and is read past";
    EXPECT_FALSE(window.Open());
}

TEST_F(AnimationTicksTest, StepIsNeededOverAchievedTruncated)
{
    TickSource::UseSimulatedClock(5000, 0);
    TTickWindow window(40);
    TickSource::SetTicks(5004);
    window.WaitForNextTick();
    // 1 pixel in 4 ms achieved; 35 pixels left in 36 ms needed: 0.972 / 0.25.
    EXPECT_EQ(window.NextStep(1, 35), 3);
    EXPECT_EQ(window.NextStep(0, 35), 0) << "nothing achieved gives a zero step";
    EXPECT_EQ(window.NextStep(1, -9), -1) << "an overshoot scrolls back";
    EXPECT_EQ(window.NextStep(1, 1e12), std::numeric_limits<int>::max());
}

} // namespace
} // namespace ld
