#include "tests/support/DeviceEmulator.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <random>
#include <stdexcept>

#include "link/clsComPort.h"

namespace tavo::test {

namespace {

using Clock = std::chrono::steady_clock;

void SleepUntilTime(Clock::time_point t) {
    auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
    timespec ts{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
    }
}

std::string Hex2(int v) {
    char buf[3];
    std::snprintf(buf, sizeof buf, "%02X", v & 0xFF);
    return buf;
}

}  // namespace

std::string RandomBytes(std::size_t count, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(count, '\0');
    for (char& b : bytes) b = static_cast<char>(generator() & 0xFF);
    return bytes;
}

DeviceEmulator::DeviceEmulator(EmulatorOptions options) : options_(std::move(options)) {
    registers_.fill("0000");
    // The identify reply tells the models apart by its third and fourth characters.
    registers_[0x01] = options_.model == DeviceModel::QUELB ? "0000" : "0100";

    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        throw std::runtime_error("cannot create a pseudo-terminal");
    char name[128];
    if (::ptsname_r(master_, name, sizeof name) != 0) throw std::runtime_error("ptsname failed");
    slavePath_ = name;
    // Writes never block: a babble into a port that nobody reads must not stall
    // the serving thread (and with it the emulator's destruction).
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    ::tcgetattr(slave_, &tio);
    ::cfmakeraw(&tio);  // no echo from the line discipline: the emulator echoes
    ::tcsetattr(slave_, TCSANOW, &tio);
    if (::pipe2(wake_, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    if (options_.pace.count() > 0) MeasureLineDelay();
    if (!options_.streams.empty()) StartBabble(options_.streams, Clock::now(), Clock::time_point::max());
    thread_ = std::thread([this] { Serve(); });
}

DeviceEmulator::~DeviceEmulator() {
    char c = 'x';
    (void)!::write(wake_[1], &c, 1);
    thread_.join();
    HangUp();
    ::close(wake_[0]);
    ::close(wake_[1]);
}

void DeviceEmulator::MeasureLineDelay() {
    // A character reaches the emulator some tens of microseconds after the port
    // wrote it: the pty hands it over through a kernel worker, and the serving
    // thread wakes from idle. A device on a real line has no such delay: its
    // character time starts at the write. Time that hand-over as the serving
    // thread meets it (another thread writing after a pause, this one asleep in
    // poll) and count character times from the estimated write.
    std::atomic<std::int64_t> writtenAt{0};
    std::vector<Clock::duration> samples;
    std::thread writer([&] {
        for (int i = 0; i < 21; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            writtenAt = Clock::now().time_since_epoch().count();
            char c = 'x';
            if (::write(slave_, &c, 1) != 1) return;
        }
    });
    for (int i = 0; i < 21; ++i) {
        pollfd p{master_, POLLIN, 0};
        char c;
        if (::poll(&p, 1, 200) != 1 || ::read(master_, &c, 1) != 1) break;
        samples.push_back(Clock::now() - Clock::time_point(Clock::duration(writtenAt.load())));
    }
    writer.join();
    if (samples.size() < 21) return;
    std::nth_element(samples.begin(), samples.begin() + 10, samples.end());
    lineDelay_ = samples[10];
}

void DeviceEmulator::HangUp() {
    if (master_ >= 0) ::close(master_);
    if (slave_ >= 0) ::close(slave_);
    master_ = slave_ = -1;
}

void DeviceEmulator::SetRegister(int r, const std::string& data) {
    std::lock_guard lock(mutex_);
    registers_.at(static_cast<std::size_t>(r & 0x7F)) = data;
}

std::string DeviceEmulator::Register(int r) const {
    std::lock_guard lock(mutex_);
    return registers_.at(static_cast<std::size_t>(r & 0x7F));
}

std::string DeviceEmulator::Received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

std::vector<std::string> DeviceEmulator::Frames() const {
    std::lock_guard lock(mutex_);
    return frames_;
}

void DeviceEmulator::Inject(const std::string& text) {
    int slave;
    {
        std::lock_guard lock(mutex_);
        if (master_ < 0) return;
        (void)!::write(master_, text.data(), text.size());
        slave = slave_;
    }
    // The pseudo-terminal hands the text over through a kernel worker: wait,
    // blocked on the line's own receive queue, until the port can read it all.
    pollfd ready{slave, POLLIN, 0};
    if (::poll(&ready, 1, 2000) != 1) return;
    int waiting = 0;
    for (int ms = 0; ms < 2000 && ::ioctl(slave, FIONREAD, &waiting) == 0 &&
                     static_cast<std::size_t>(waiting) < text.size();
         ++ms)
        ::poll(nullptr, 0, 1);  // rare: the text came in two hand-overs
}

void DeviceEmulator::Unplug() {
    // The serving thread hangs up itself, so that it never polls a closed descriptor.
    std::unique_lock lock(mutex_);
    if (master_ < 0) return;
    char c = 'u';
    (void)!::write(wake_[1], &c, 1);
    unplugged_.wait(lock, [this] { return master_ < 0; });
}

void DeviceEmulator::Serve() {
    // Pacing needs sleeps that end on time, not up to 50 us late.
    ::prctl(PR_SET_TIMERSLACK, 1UL);
    while (true) {
        pollfd fds[2] = {{master_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        int nfds = master_ >= 0 ? 2 : 1;
        pollfd* set = master_ >= 0 ? fds : fds + 1;
        timespec babbleWait{};
        if (babbling_) Babble();
        if (babbling_) {
            auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                          std::max(nextBabble_ - Clock::now(), Clock::duration::zero()))
                          .count();
            babbleWait = {static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
        }
        if (::ppoll(set, static_cast<nfds_t>(nfds), babbling_ ? &babbleWait : nullptr, nullptr) < 0) continue;
        if (fds[1].revents & POLLIN) {
            char c = 'x';
            if (::read(wake_[0], &c, 1) == 1 && c == 'u') {
                std::lock_guard lock(mutex_);
                HangUp();
                unplugged_.notify_all();
                continue;
            }
            return;
        }
        if (master_ < 0 || !(fds[0].revents & POLLIN)) continue;
        char buf[64];
        ssize_t n = ::read(master_, buf, sizeof buf);
        auto now = Clock::now();
        for (ssize_t i = 0; i < n && master_ >= 0; ++i) OnCharacter(buf[i], now);
    }
}

void DeviceEmulator::SendAt(char c, Clock::time_point at) {
    // Timer wake-ups come late by a fairly steady amount (tens of microseconds
    // in a virtual machine); a device on a real wire does not. Waking that much
    // early keeps the emulated character times close to the real ones.
    auto wakeAt = at - lead_;
    if (wakeAt > Clock::now()) {
        SleepUntilTime(wakeAt);
        auto late = std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - wakeAt);
        lead_ = (lead_ * 7 + late) / 8;
    }
    std::lock_guard lock(mutex_);
    if (master_ >= 0) (void)!::write(master_, &c, 1);
}

void DeviceEmulator::OnCharacter(char c, Clock::time_point arrivedAt) {
    int count;
    {
        std::lock_guard lock(mutex_);
        received_ += c;
        count = ++receivedCount_;
    }
    // Only on a character that the port sent after it had every echo before:
    // none of them is lost with the line.
    if (options_.hangUpAfter >= 0 && count > options_.hangUpAfter) {
        std::lock_guard lock(mutex_);
        HangUp();
        return;
    }
    if (options_.silent) return;
    if (options_.stopEchoAfter >= 0 && count > options_.stopEchoAfter) return;

    if (count == options_.pauseAfter) heldUntil_ = arrivedAt + options_.pauseFor;
    // The character took one character time to arrive, and its echo takes another.
    Clock::time_point sendAt = std::max(arrivedAt - lineDelay_ + 2 * options_.pace, heldUntil_);
    for (const auto& [n, text] : options_.unasked)
        if (n == count)
            for (char u : text) {
                SendAt(u, sendAt);
                sendAt += options_.pace;
            }
    // A frame is taken before the echo of its "*" goes out, so that a sender
    // that has every echo finds the frame in Frames().
    const bool frameEnds = c == '*' && inFrame_;
    const int readCode = frameEnds ? TakeFrame(frame_) : -1;
    SendAt(options_.wrongEcho ? static_cast<char>(c ^ 0x40) : c, sendAt);
    if (options_.echoTwice) SendAt(c, sendAt);

    if (c == '!') {
        inFrame_ = true;
        frame_.clear();
    } else if (c == '-') {
        inFrame_ = false;
    } else if (frameEnds) {
        inFrame_ = false;
        if (readCode >= 0) Reply(readCode, sendAt);
    } else if (inFrame_) {
        frame_ += c;
    }
}

int DeviceEmulator::TakeFrame(const std::string& body) {
    // A device takes only a six-digit word with its correct checksum.
    if (body.size() != 8) return -1;
    std::string word = body.substr(0, 6);
    if (clsComPort::CalcCmdChecksum(word) != body.substr(6)) return -1;
    int code = std::stoi(word.substr(0, 2), nullptr, 16);
    std::lock_guard lock(mutex_);
    frames_.push_back(word);
    if (code < 0x80) {
        registers_[static_cast<std::size_t>(code)] = word.substr(2);
        return -1;
    }
    return code;
}

void DeviceEmulator::Reply(int code, Clock::time_point sendAt) {
    const bool babble = options_.babbleFor.count() > 0;
    std::string reply = options_.noiseBeforeReply;
    if (!options_.neverReply) reply += "!" + Hex2(code) + Register(code);
    if (!options_.neverReply && !options_.replyWithoutEnd && !babble) reply += "*" + options_.afterReply;
    for (char r : reply) {
        sendAt += options_.pace + options_.replyGap;  // back to back, as a UART sends them
        SendAt(r, sendAt);
    }
    // Never the "*" that would end the reply.
    if (babble) StartBabble("0123456789ABCDEF", sendAt, sendAt + options_.babbleFor);
}

void DeviceEmulator::StartBabble(std::string text, Clock::time_point from, Clock::time_point until) {
    babbleText_ = std::move(text);
    babbling_ = true;
    babbleUntil_ = until;
    nextBabble_ = from;
}

void DeviceEmulator::Babble() {
    const auto now = Clock::now();
    if (master_ < 0 || now >= babbleUntil_) {
        babbling_ = false;
        return;
    }
    if (now < nextBabble_) return;
    SendAt(babbleText_[babbled_++ % babbleText_.size()], now);
    nextBabble_ += options_.pace.count() > 0 ? Clock::duration(options_.pace)
                                             : Clock::duration(std::chrono::milliseconds(1));
}

}  // namespace tavo::test
