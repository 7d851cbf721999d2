#pragma once
// Hooks into a user interface, when the program has one. The windowed program
// installs a yield hook that processes pending events and a mouse-pointer host
// for its active window; the console programs install neither.

#include <cstdint>
#include <functional>

namespace tavo {

void SetYieldHook(std::function<void()> hook);
bool HasYieldHook();
// Lets the user interface process its pending events (does nothing without a hook).
void YieldToUi();
// How long a wait with left ms to go may block before it calls YieldToUi: a
// few milliseconds when a hook is installed, so that the windows keep
// answering; all of it without one.
std::uint32_t YieldSlice(std::uint32_t left);

class IMousePointerHost {
  public:
    virtual ~IMousePointerHost() = default;
    virtual bool HasActiveWindow() const = 0;
    virtual std::int16_t MousePointer() const = 0;
    virtual void SetMousePointer(std::int16_t pointer) = 0;
};

constexpr std::int16_t kHourglassPointer = 11;

void SetMousePointerHost(IMousePointerHost* host);
IMousePointerHost* MousePointerHost();

}  // namespace tavo
