#include "StatusLine.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <string_view>

namespace tavo {

namespace {
// Back to the start of the line, and clear from the cursor to its end.
constexpr char kLineStart[] = "\r";
constexpr char kClearToEnd[] = "\x1b[K";
constexpr char kErase[] = "\r\x1b[K";

// The descriptor on which a line stands, or -1: all that a signal handler reads.
volatile std::sig_atomic_t gShownOn = -1;

bool CanClearLine() {
    const char* term = std::getenv("TERM");
    return term && *term && std::string_view(term) != "dumb";
}

// False when fd takes no more. Safe in a signal handler.
bool WriteAll(int fd, const char* bytes, std::size_t size) {
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = ::write(fd, bytes + done, size - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (n == 0 || errno != EINTR)
            return false;
    }
    return true;
}
}  // namespace

StatusLine::StatusLine(int fd) : fd_(fd), active_(::isatty(fd) == 1 && CanClearLine()) {}

StatusLine::~StatusLine() { Clear(); }

void StatusLine::EraseShown() {
    if (const int fd = gShownOn; fd >= 0) WriteAll(fd, kErase, sizeof kErase - 1);
}

void StatusLine::Show(const std::string& text) {
    shown_ = active_;
    if (shown_) gShownOn = fd_;
    Write(kLineStart + text + kClearToEnd);
}

void StatusLine::Clear() {
    if (shown_) Write(kErase);
    shown_ = false;
    gShownOn = -1;
}

void StatusLine::Write(const std::string& bytes) {
    // A terminal that takes no more gets no more; the work goes on.
    if (active_ && !WriteAll(fd_, bytes.data(), bytes.size())) active_ = false;
}

}  // namespace tavo
