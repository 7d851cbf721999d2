#pragma once
// While the probe scans, a person at a terminal sees which port it is trying:
// one line on standard error, rewritten in place and erased when the scan
// ends, so that the terminal is left as it was. Where standard error is no
// terminal (a script, a pipe, a log file) nothing at all is written.

#include <string>

namespace tavo {

class ScanStatus {
  public:
    // Shows its line on fd, and only when fd is a terminal.
    explicit ScanStatus(int fd);
    ~ScanStatus() { Clear(); }
    ScanStatus(const ScanStatus&) = delete;
    ScanStatus& operator=(const ScanStatus&) = delete;

    // Puts text in the place of the line.
    void Show(const std::string& text);
    // Erases the line: before other output on the terminal, and at the end.
    void Clear();

  private:
    void Write(const std::string& bytes);

    int fd_;
    bool active_;
    bool shown_ = false;
};

}  // namespace tavo
