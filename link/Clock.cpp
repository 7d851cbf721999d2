#include "Clock.h"

#include <atomic>
#include <chrono>

namespace tavo {

namespace {
std::atomic<std::uint32_t> gBias{0};
}

std::uint32_t timeGetTime() {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                  std::chrono::steady_clock::now().time_since_epoch())
                  .count();
    return static_cast<std::uint32_t>(ms) + gBias.load(std::memory_order_relaxed);
}

void SetClockBiasForTesting(std::uint32_t bias) { gBias.store(bias, std::memory_order_relaxed); }

}  // namespace tavo
