#include "modWinAPI.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "link/Clock.h"
#include "link/UiHooks.h"

namespace tavo {

namespace {
// Short enough that windows keep repainting during the wait.
constexpr std::uint32_t kYieldSliceMs = 10;
}  // namespace

void Delay(std::int16_t ms, bool doEvents) {
    if (ms <= 0) return;
    const std::uint32_t deadline = timeGetTime() + static_cast<std::uint32_t>(ms);
    for (;;) {
        if (doEvents) YieldToUi();
        const std::uint32_t left = ClockRemaining(timeGetTime(), deadline);
        if (left == 0) return;
        const std::uint32_t slice = doEvents ? std::min(left, kYieldSliceMs) : left;
        std::this_thread::sleep_for(std::chrono::milliseconds(slice));
    }
}

}  // namespace tavo
