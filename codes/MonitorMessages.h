#pragma once
// The messages a device sends while it is in IR or X-10 monitor mode, read for
// the configuration windows' monitor labels.

#include <cstddef>
#include <string>
#include <string_view>

namespace tavo {

// An IR monitor message: "$", group - 1 and key - 1 as two hex digits each, one more character.
inline constexpr std::size_t kIRMonitorLength = 6;

// Group and key (decimal "1".."256") of an IR monitor message, blanks removed
// and cut to six characters. False, outputs untouched, when fewer than six
// characters remain or the group and key digits are not hexadecimal.
bool DecodeIRMonitor(std::string_view message, std::string& group, std::string& key);

// House letter, unit number and function name of an X-10 monitor message of
// length characters: 12 "$aaaa..bbbb+" (bit fields of two hexadecimal
// numbers) or 6 "$hu.f+" (one hexadecimal digit each). False, outputs
// untouched, unless the message (tabs and blanks removed) has that length,
// begins with "$", ends with "+" and has hexadecimal digits where codes are read.
bool DecodeX10Monitor(std::size_t length, std::string_view message, std::string& house, std::string& unit,
                      std::string* function = nullptr);

// What the X-10 monitor labels show for the characters received as one
// message: "*" in each when they are not length characters long (blanks
// removed), empty texts when they fail DecodeX10Monitor's checks.
struct X10MonitorText {
    std::string house;
    std::string unit;
    std::string function;
};
X10MonitorText X10MonitorDisplay(std::size_t length, std::string_view received);

}  // namespace tavo
