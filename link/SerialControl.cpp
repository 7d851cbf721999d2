#include "SerialControl.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <optional>
#include <vector>

#include "Clock.h"
#include "PortMap.h"
#include "UiHooks.h"

namespace tavo {

namespace {

// How long a write waits for room in a full transmit buffer.
constexpr std::uint32_t kRoomWaitMs = 1000;

std::optional<speed_t> SpeedOf(long baud) {
    static const std::pair<long, speed_t> kSpeeds[] = {
        {50, B50},       {75, B75},         {110, B110},       {134, B134},       {150, B150},
        {200, B200},     {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
        {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
        {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
    };
    for (auto [rate, speed] : kSpeeds)
        if (rate == baud) return speed;
    return std::nullopt;
}

std::vector<std::string> SplitSettings(const std::string& s) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = s.find(',', start);
        parts.push_back(s.substr(start, comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return parts;
}

bool ParseNumber(const std::string& text, long& value) {
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && ptr == text.data() + text.size();
}

// Applies "baud,parity,data,stop" to tio; false when the string is not valid.
bool ApplySettings(const std::string& settings, termios& tio) {
    auto parts = SplitSettings(settings);
    if (parts.size() != 4) return false;
    long baud = 0, data = 0, stop = 0;
    if (!ParseNumber(parts[0], baud) || !ParseNumber(parts[2], data) || !ParseNumber(parts[3], stop))
        return false;
    auto speed = SpeedOf(baud);
    if (!speed || parts[1].size() != 1) return false;

    // A raw line whatever an earlier program (a terminal program, a modem
    // manager) left on the port: no flow control, no parity checking, no
    // translation or echo. Left on, IXOFF would put XON/XOFF into a frame and
    // INPCK would turn a character with a framing error into a NUL or drop it.
    tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | IGNPAR | PARMRK | INPCK | ISTRIP | INLCR |
                                          IGNCR | ICRNL | IUCLC | IXON | IXANY | IXOFF | IMAXBEL | IUTF8);
    tio.c_oflag &= ~static_cast<tcflag_t>(OPOST | OLCUC | ONLCR | OCRNL | ONOCR | ONLRET | OFILL | OFDEL);
    tio.c_lflag &= ~static_cast<tcflag_t>(ISIG | ICANON | XCASE | ECHO | ECHOE | ECHOK | ECHONL | ECHOCTL |
                                          ECHOPRT | ECHOKE | FLUSHO | PENDIN | TOSTOP | IEXTEN);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    switch (data) {
        case 5:
            tio.c_cflag |= CS5;
            break;
        case 6:
            tio.c_cflag |= CS6;
            break;
        case 7:
            tio.c_cflag |= CS7;
            break;
        case 8:
            tio.c_cflag |= CS8;
            break;
        default:
            return false;
    }
    switch (std::toupper(static_cast<unsigned char>(parts[1][0]))) {
        case 'N':
            break;
        case 'E':
            tio.c_cflag |= PARENB;
            break;
        case 'O':
            tio.c_cflag |= PARENB | PARODD;
            break;
        case 'M':
            tio.c_cflag |= PARENB | PARODD | CMSPAR;
            break;
        case 'S':
            tio.c_cflag |= PARENB | CMSPAR;
            break;
        default:
            return false;
    }
    if (stop == 2)
        tio.c_cflag |= CSTOPB;
    else if (stop != 1)
        return false;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, *speed);
    ::cfsetospeed(&tio, *speed);
    return true;
}

// Asks the driver for low-latency mode. A USB adapter otherwise holds what it
// receives for up to its latency timer (16 ms by default) and every echo waits
// for it. Only a hint: where the driver does not know the request (a
// pseudo-terminal), refuses it or ignores it (a built-in UART), the port goes
// on as it was. True when this call turned the mode on.
bool RequestLowLatency(int fd) {
    serial_struct settings{};
    if (::ioctl(fd, TIOCGSERIAL, &settings) != 0) return false;
    if (settings.flags & static_cast<int>(ASYNC_LOW_LATENCY)) return false;  // the user's own: leave it
    AddLowLatency(settings);
    return ::ioctl(fd, TIOCSSERIAL, &settings) == 0;
}

// Takes back what RequestLowLatency turned on, and only that, from the driver's
// settings as they are now. Safe in a signal handler.
void DropLowLatency(int fd) {
    serial_struct settings{};
    if (::ioctl(fd, TIOCGSERIAL, &settings) != 0) return;
    settings.flags &= ~static_cast<int>(ASYNC_LOW_LATENCY);
    ::ioctl(fd, TIOCSSERIAL, &settings);
}

// Closes a port as it was before this process opened it: exclusive mode
// stays on the line after the close until every other opener has closed it
// too, so it is taken off first. Safe in a signal handler.
int LetGo(int fd, bool lowLatencySet) {
    if (lowLatencySet) DropLowLatency(fd);
    ::ioctl(fd, TIOCNXCL);
    return ::close(fd);
}

// The ports this process holds, for a signal that ends it to let go of them
// (ReleaseHeldPorts): a fixed table of lock-free atomics, all that a handler may touch.
struct HeldPort {
    std::atomic<int> fd{-1};
    std::atomic<bool> lowLatencySet{false};
};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);
// More than any program of the suite holds at once; a port past them is only closed normally.
HeldPort gHeld[8];

HeldPort* Hold(int fd) {
    for (HeldPort& slot : gHeld)
        if (int free = -1; slot.fd.compare_exchange_strong(free, fd)) return &slot;
    return nullptr;
}

void Forget(int fd) {
    for (HeldPort& slot : gHeld)
        if (slot.fd.load() == fd) {
            slot.lowLatencySet = false;  // first: the slot may be taken again once its fd is free
            slot.fd = -1;
        }
}

}  // namespace

void ReleaseHeldPorts() {
    for (HeldPort& slot : gHeld)
        if (const int fd = slot.fd.exchange(-1); fd >= 0) LetGo(fd, slot.lowLatencySet);
}

void AddLowLatency(serial_struct& settings) { settings.flags |= static_cast<int>(ASYNC_LOW_LATENCY); }

SerialControl::~SerialControl() { Close(); }

int SerialControl::SetPortOpen(bool open) {
    if (!open) {
        Close();
        return commEvent_;
    }
    if (fd_ >= 0) return 0;

    std::string path = PortDevicePath(commPort_);
    if (path.empty()) return ENOENT;
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;

    auto fail = [fd](int error) {
        ::close(fd);
        return error;
    };
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return fail(errno);
    if (!ApplySettings(settings_, tio)) return fail(EINVAL);
    // Exclusive use: a port that another program holds must not open here too,
    // nor have its line changed. Exclusive mode comes last, once nothing can
    // fail, and only on a port held here, so that it is always taken off again.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return fail(errno == EWOULDBLOCK ? EBUSY : errno);
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) return fail(errno);
    HeldPort* held = Hold(fd);
    ::ioctl(fd, TIOCEXCL);
    ::tcflush(fd, TCIOFLUSH);

    fd_ = fd;
    lowLatencySet_ = RequestLowLatency(fd);
    if (held) held->lowLatencySet = lowLatencySet_;
    hungUp_ = false;
    commEvent_ = 0;
    rx_.clear();
    rxPos_ = 0;
    return 0;
}

void SerialControl::Close() {
    if (fd_ < 0) return;
    // An error seen on the line (a hang-up) stays the last event after closing.
    if (LetGo(fd_, lowLatencySet_ && !hungUp_) != 0) commEvent_ = errno;
    // Forgotten only after the close: a signal until then still lets go of it.
    Forget(fd_);
    lowLatencySet_ = false;
    fd_ = -1;
    rx_.clear();
    rxPos_ = 0;
}

void SerialControl::Pump() {
    if (fd_ < 0 || hungUp_) return;
    if (rxPos_ == rx_.size()) {
        rx_.clear();
        rxPos_ = 0;
    }
    // One read takes everything the line has buffered for any sane burst.
    char buf[4096];
    ssize_t n;
    do {
        n = ::read(fd_, buf, sizeof buf);
    } while (n < 0 && errno == EINTR);
    if (n > 0) {
        rx_.append(buf, static_cast<std::size_t>(n));
    } else if (n < 0 && errno != EAGAIN) {
        // The other end went away (a pty whose master closed reports EIO).
        LineGone(errno);
    }
}

void SerialControl::LineGone(int error) {
    hungUp_ = true;
    commEvent_ = error;
}

int SerialControl::InBufferCount() {
    Pump();
    return static_cast<int>(std::min<std::size_t>(Waiting(), 32767));
}

void SerialControl::ClearInBuffer() {
    if (fd_ >= 0) ::tcflush(fd_, TCIFLUSH);
    rx_.clear();
    rxPos_ = 0;
}

std::string SerialControl::Input() {
    if (Waiting() == 0) Pump();
    std::size_t n = Waiting();
    if (inputLen_ > 0) n = std::min<std::size_t>(n, static_cast<std::size_t>(inputLen_));
    std::string out = rx_.substr(rxPos_, n);
    rxPos_ += n;
    return out;
}

void SerialControl::Output(std::string_view text) {
    if (fd_ < 0 || hungUp_) return;
    while (!text.empty()) {
        ssize_t n = ::write(fd_, text.data(), text.size());
        if (n > 0) {
            text.remove_prefix(static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) {
            if (WaitForRoom()) continue;
            return;
        }
        // A write error on a serial line means the device went away (EIO after a hang-up).
        LineGone(n < 0 ? errno : EIO);
        return;
    }
}

bool SerialControl::WaitForRoom() {
    // Transmit buffer full: wait for room, but never forever. A signal that
    // interrupts the wait does not end it: the rest of the text still goes.
    const std::uint32_t deadline = timeGetTime() + kRoomWaitMs;
    while (true) {
        pollfd p{fd_, POLLOUT, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(ClockRemaining(timeGetTime(), deadline)));
        if (ready < 0 && errno == EINTR && !ClockReached(timeGetTime(), deadline)) continue;
        if (ready > 0 && !(p.revents & (POLLERR | POLLHUP))) return true;
        if (ready > 0)
            LineGone(EIO);
        else
            commEvent_ = EAGAIN;  // stalled, but the line is still there
        return false;
    }
}

bool SerialControl::WaitForInput(std::uint32_t deadline) {
    // Polling first, not reading: a character already there costs one call less.
    while (Waiting() == 0) {
        // Nothing can arrive on a closed or dead line: say so at once, rather
        // than wait out the deadline or poll a descriptor that never blocks.
        if (fd_ < 0 || hungUp_) return false;
        std::uint32_t now = timeGetTime();
        if (ClockReached(now, deadline)) return false;
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(YieldSlice(ClockRemaining(now, deadline)))) > 0) {
            // What came before a hang-up is still taken. Readable with nothing
            // to read is no hang-up: another reader of the port took it first.
            Pump();
            if ((p.revents & (POLLHUP | POLLERR)) && !hungUp_) LineGone(EIO);
        }
        YieldToUi();
    }
    return true;
}

}  // namespace tavo
