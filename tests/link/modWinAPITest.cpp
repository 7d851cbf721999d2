#include <gtest/gtest.h>

#include <chrono>

#include "link/Clock.h"
#include "link/UiHooks.h"
#include "link/modWinAPI.h"

namespace tavo {
namespace {

using Steady = std::chrono::steady_clock;

// The clock counts whole milliseconds, so a wait may end up to 1 ms short of
// a finer-grained measurement.
constexpr long kTick = 1;

long ElapsedMs(Steady::time_point since) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - since).count());
}

class DelayTest : public ::testing::Test {
  protected:
    void TearDown() override {
        SetYieldHook(nullptr);
        SetClockBiasForTesting(0);
    }
};

TEST_F(DelayTest, WithEventsYieldsOftenAndLastsTheTime) {
    int yields = 0;
    SetYieldHook([&] { ++yields; });
    auto start = Steady::now();
    Delay(500, true);
    long ms = ElapsedMs(start);
    EXPECT_GE(ms, 500 - kTick);
    EXPECT_LT(ms, 900);
    // Slices of about 10 ms: often enough to repaint, few enough not to spin.
    EXPECT_GE(yields, 10);
    EXPECT_LE(yields, 60);
}

TEST_F(DelayTest, WithoutEventsBlocksWithoutYieldingAndNothingToWaitForEndsAtOnce) {
    int yields = 0;
    SetYieldHook([&] { ++yields; });
    auto start = Steady::now();
    Delay(120, false);
    EXPECT_GE(ElapsedMs(start), 120 - kTick);
    EXPECT_EQ(yields, 0);

    start = Steady::now();
    Delay(0, true);
    Delay(-5, false);
    EXPECT_LT(ElapsedMs(start), 20);
}

TEST_F(DelayTest, SurvivesTheClockWrap) {
    // Start 50 ms before the 32-bit clock wraps: the wait must neither end
    // early at the wrap nor run on for 49 days.
    SetClockBiasForTesting(0u - timeGetTime() - 50u);
    auto start = Steady::now();
    Delay(200, true);
    long ms = ElapsedMs(start);
    EXPECT_GE(ms, 200 - kTick);
    EXPECT_LT(ms, 600);
}

}  // namespace
}  // namespace tavo
