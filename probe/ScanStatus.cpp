#include "probe/ScanStatus.h"

#include <unistd.h>

#include <cerrno>

namespace tavo {

namespace {
// Back to the start of the line, and clear from the cursor to its end.
constexpr char kLineStart[] = "\r";
constexpr char kClearToEnd[] = "\x1b[K";
}  // namespace

ScanStatus::ScanStatus(int fd) : fd_(fd), active_(::isatty(fd) == 1) {}

void ScanStatus::Show(const std::string& text) {
    Write(kLineStart + text + kClearToEnd);
    shown_ = active_;
}

void ScanStatus::Clear() {
    if (shown_) Write(std::string(kLineStart) + kClearToEnd);
    shown_ = false;
}

void ScanStatus::Write(const std::string& bytes) {
    std::size_t done = 0;
    while (active_ && done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (n == 0 || errno != EINTR)
            active_ = false;  // a terminal that takes no more gets no more; the scan goes on
    }
}

}  // namespace tavo
