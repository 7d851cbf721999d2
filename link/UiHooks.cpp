#include "UiHooks.h"

#include <algorithm>
#include <utility>

namespace tavo {

namespace {
std::function<void()>& YieldStorage() {
    static std::function<void()> hook;
    return hook;
}
IMousePointerHost* gPointerHost = nullptr;
constexpr std::uint32_t kYieldSliceMs = 5;
}  // namespace

void SetYieldHook(std::function<void()> hook) { YieldStorage() = std::move(hook); }

bool HasYieldHook() { return static_cast<bool>(YieldStorage()); }

void YieldToUi() {
    if (auto& hook = YieldStorage()) hook();
}

std::uint32_t YieldSlice(std::uint32_t left) { return HasYieldHook() ? std::min(left, kYieldSliceMs) : left; }

void SetMousePointerHost(IMousePointerHost* host) { gPointerHost = host; }

IMousePointerHost* MousePointerHost() { return gPointerHost; }

}  // namespace tavo
