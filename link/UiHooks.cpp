#include "UiHooks.h"

#include <utility>

namespace tavo {

namespace {
std::function<void()>& YieldStorage() {
    static std::function<void()> hook;
    return hook;
}
IMousePointerHost* gPointerHost = nullptr;
}  // namespace

void SetYieldHook(std::function<void()> hook) { YieldStorage() = std::move(hook); }

bool HasYieldHook() { return static_cast<bool>(YieldStorage()); }

void YieldToUi() {
    if (auto& hook = YieldStorage()) hook();
}

void SetMousePointerHost(IMousePointerHost* host) { gPointerHost = host; }

IMousePointerHost* MousePointerHost() { return gPointerHost; }

}  // namespace tavo
