#include "Clock.h"

#include <atomic>
#include <chrono>

namespace tavo {

namespace {
std::atomic<std::uint32_t> gBias{0};
std::atomic<bool> gFrozen{false};
std::atomic<std::uint32_t> gFrozenAt{0};

std::uint32_t RealMilliseconds() {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                  std::chrono::steady_clock::now().time_since_epoch())
                  .count();
    return static_cast<std::uint32_t>(ms);
}
}  // namespace

std::uint32_t timeGetTime() {
    const std::uint32_t base = gFrozen.load(std::memory_order_relaxed)
                                   ? gFrozenAt.load(std::memory_order_relaxed)
                                   : RealMilliseconds();
    return base + gBias.load(std::memory_order_relaxed);
}

void SetClockBiasForTesting(std::uint32_t bias) { gBias.store(bias, std::memory_order_relaxed); }

void SetClockFrozenForTesting(bool frozen) {
    gFrozenAt.store(RealMilliseconds(), std::memory_order_relaxed);
    gFrozen.store(frozen, std::memory_order_relaxed);
}

}  // namespace tavo
