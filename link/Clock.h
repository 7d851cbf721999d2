#pragma once
// The 32-bit millisecond clock. It wraps after 2^32 ms, so deadlines are
// compared by signed difference and stay correct across the wrap.

#include <cstdint>

namespace tavo {

// Milliseconds since an arbitrary start, as a wrapping 32-bit count.
std::uint32_t timeGetTime();

// True once now has reached or passed deadline (valid for spans under 2^31 ms).
constexpr bool ClockReached(std::uint32_t now, std::uint32_t deadline) {
    return static_cast<std::int32_t>(now - deadline) >= 0;
}

// Milliseconds left until deadline, 0 when it has passed.
constexpr std::uint32_t ClockRemaining(std::uint32_t now, std::uint32_t deadline) {
    auto diff = static_cast<std::int32_t>(deadline - now);
    return diff > 0 ? static_cast<std::uint32_t>(diff) : 0;
}

// Shifts every reading so that tests can run the clock across its wrap.
void SetClockBiasForTesting(std::uint32_t bias);
// Stops the clock where it stands (true) or lets it run again (false): then only
// the bias moves it, so a test that drives it counts waits without racing the
// real time that a busy machine lets pass between two readings.
void SetClockFrozenForTesting(bool frozen);

}  // namespace tavo
