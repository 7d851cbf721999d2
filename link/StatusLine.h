#pragma once
// While a console program works through its ports, a person at a terminal
// sees what it is doing: one line on standard error, rewritten in place and
// erased when the work ends, before any message, and when a signal ends the
// program (EndSignals), so that the terminal is left as it was. Where standard
// error is no terminal (a script, a pipe, a log file), or a terminal that
// cannot clear a line (TERM unset or "dumb"), nothing at all is written.

#include <string>

namespace tavo {

class StatusLine {
  public:
    // Shows its line on fd, and only when fd is a terminal that can clear a line.
    explicit StatusLine(int fd);
    ~StatusLine();
    StatusLine(const StatusLine&) = delete;
    StatusLine& operator=(const StatusLine&) = delete;

    // Puts text in the place of the line.
    void Show(const std::string& text);
    // Erases the line: before other output on the terminal, and at the end.
    void Clear();
    // Erases the line that is shown, if any, for a signal that ends the
    // program. Only async-signal-safe calls.
    static void EraseShown();

  private:
    void Write(const std::string& bytes);

    int fd_;
    bool active_;
    bool shown_ = false;
};

}  // namespace tavo
