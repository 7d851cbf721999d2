#pragma once
// What a device in monitor mode sends unasked, between any two of its own
// transmissions: "$", hexadecimal digits and "+". Six characters carry an IR
// code, or the matrix switch's X-10 code (whose fourth character is not a
// digit); twelve carry the relay controller's X-10 code (whose sixth and
// seventh are not). Such a message is neither an echo nor part of a reply, so
// the link passes it over wherever it lands.

#include <string>
#include <string_view>

namespace tavo {

enum class MonitorMatch { NotOne, Begun, Whole };

// Whether text is a whole monitor message, the beginning of one, or neither.
MonitorMatch MatchMonitorMessage(std::string_view text);

// Follows the characters that a line sends and takes the monitor messages out
// of them. Characters that may begin a message are held until it is whole
// (dropped) or turns out to be none (given back, in order).
class MonitorMessageFilter {
  public:
    // Takes the next character; returns what is no part of a message so far.
    std::string Take(char c);
    // A message has begun and is not whole yet.
    bool Holding() const { return !held_.empty(); }

  private:
    std::string held_;
};

}  // namespace tavo
