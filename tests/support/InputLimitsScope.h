#pragma once
// Other input limits while it lives: tests shorten the pipe wait, so that a
// pipe nobody writes to is refused without the full wait, and lower the size
// limit, so that a file past it stays small.

#include "link/InputFile.h"

namespace tavo::test {

class InputLimitsScope {
  public:
    explicit InputLimitsScope(const InputLimits& limits) : previous_(CurrentInputLimits()) {
        SetInputLimits(limits);
    }
    ~InputLimitsScope() { SetInputLimits(previous_); }
    InputLimitsScope(const InputLimitsScope&) = delete;
    InputLimitsScope& operator=(const InputLimitsScope&) = delete;

  private:
    InputLimits previous_;
};

// A pipe wait short enough for a test, long enough that a writer is never the one to miss it.
inline InputLimits ShortPipeWait() { return InputLimits{.pipeWait = std::chrono::milliseconds(200)}; }

}  // namespace tavo::test
