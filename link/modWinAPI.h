#pragma once
// Millisecond waits.

#include <cstdint>

namespace tavo {

// Waits ms milliseconds (nothing for 0 or less). With doEvents the wait is cut
// into short sleeps and the user interface processes its events between them;
// without it the thread sleeps once. Measured on the wrap-safe millisecond clock.
void Delay(std::int16_t ms, bool doEvents);

}  // namespace tavo
