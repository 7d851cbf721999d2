#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/serial.h>
#include <poll.h>
#include <pthread.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <thread>

#include "link/Clock.h"
#include "link/SerialControl.h"
#include "tests/support/DeviceEmulator.h"

namespace tavo {
namespace {

TEST(SerialControlLowLatency, RequestAddsTheFlagAndKeepsEverythingElseAsRead) {
    const int lowLatency = static_cast<int>(ASYNC_LOW_LATENCY);
    for (int flags : {0, static_cast<int>(ASYNC_SKIP_TEST | ASYNC_SPD_HI), lowLatency, -1}) {
        SCOPED_TRACE(flags);
        serial_struct asRead;
        std::memset(&asRead, 0xA5, sizeof asRead);  // every field, padding included, holds something
        asRead.flags = flags;
        serial_struct request = asRead;
        AddLowLatency(request);
        EXPECT_EQ(request.flags, flags | lowLatency);
        request.flags = asRead.flags;
        EXPECT_EQ(std::memcmp(&request, &asRead, sizeof asRead), 0);
    }
}

TEST(SerialControlLowLatency, PseudoTerminalRefusesTheRequestAndStillOpensAndWorks) {
    test::PortMapFolder map;
    test::DeviceEmulator device;
    map.Map(1, device.DevicePath());
    int fd = ::open(device.DevicePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    serial_struct settings{};
    EXPECT_NE(::ioctl(fd, TIOCGSERIAL, &settings), 0);  // the driver does not know the request
    ::close(fd);

    SerialControl control;
    control.SetInputLen(1);
    ASSERT_EQ(control.SetPortOpen(true), 0);
    EXPECT_EQ(control.CommEvent(), 0);
    control.Output("!");
    ASSERT_TRUE(control.WaitForInput(timeGetTime() + 1000));
    EXPECT_EQ(control.Input(), "!");
    EXPECT_EQ(control.SetPortOpen(false), 0);
    EXPECT_FALSE(control.PortOpen());
}

// Another program had the port before and still reads it: the flags it left
// are cleared when the port opens, and an echo that it takes first (woken by
// the same character as the port, it often does) is no hang-up.
TEST(SerialControlLine, AnotherProgramOnThePortNeitherShapesTheLineNorHangsItUp) {
    test::PortMapFolder map;
    test::DeviceEmulator device;
    map.Map(1, device.DevicePath());
    const int other = ::open(device.DevicePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(other, 0);
    termios tio{};
    ASSERT_EQ(::tcgetattr(other, &tio), 0);
    const tcflag_t input = IXON | IXOFF | IXANY | INPCK | ISTRIP | IUCLC | IMAXBEL | ICRNL | IGNPAR | PARMRK;
    const tcflag_t output = OPOST | ONLCR | OLCUC, local = ICANON | ECHO | ECHOE | ECHOCTL | ISIG | IEXTEN;
    tio.c_iflag |= input;
    tio.c_oflag |= output;
    tio.c_lflag |= local;
    tio.c_cflag |= CRTSCTS | CSTOPB;
    ::cfsetspeed(&tio, B115200);
    ASSERT_EQ(::tcsetattr(other, TCSANOW, &tio), 0);

    SerialControl control;
    control.SetInputLen(1);
    ASSERT_EQ(control.SetPortOpen(true), 0);
    ASSERT_EQ(::tcgetattr(other, &tio), 0);
    EXPECT_EQ(tio.c_iflag & input, 0u);
    EXPECT_EQ(tio.c_oflag & output, 0u);
    EXPECT_EQ(tio.c_lflag & local, 0u);
    EXPECT_EQ(tio.c_cflag & (CRTSCTS | CSTOPB | PARENB | CSIZE | CLOCAL | CREAD), CS8 | CLOCAL | CREAD);
    EXPECT_EQ(::cfgetispeed(&tio), static_cast<speed_t>(B9600));

    std::atomic<bool> done{false};
    std::thread reader([&] {
        for (char buf[64]; !done;)
            if (pollfd p{other, POLLIN, 0}; ::poll(&p, 1, 10) > 0) (void)!::read(other, buf, sizeof buf);
    });
    for (int i = 0; i < 100 && !control.HungUp(); ++i) {
        control.Output("x");
        if (control.WaitForInput(timeGetTime() + 10)) control.Input();
    }
    done = true;
    reader.join();
    ::close(other);
    EXPECT_FALSE(control.HungUp());
    EXPECT_EQ(control.CommEvent(), 0);
}

TEST(SerialControlLine, SignalsNeitherCutAWriteThatWaitsForRoomShortNorProlongIt) {
    // A line that nobody reads for a while: its buffers fill, and the write
    // waits for room while signals interrupt the wait every 2 ms.
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_TRUE(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
    test::PortMapFolder map;
    map.Map(1, ::ptsname(master));
    SerialControl control;
    ASSERT_EQ(control.SetPortOpen(true), 0);
    struct sigaction quiet {}, before{};
    quiet.sa_handler = [](int) {};
    ::sigaction(SIGUSR1, &quiet, &before);
    const std::string text(256 * 1024, 'x');
    // Writes text, interrupted by up to `signals` signals (fewer when it is
    // done first); then, when read is true, reads what reached the far end.
    const auto write = [&](int signals, bool read) {
        std::atomic<bool> written{false};
        std::thread writer([&] {
            control.Output(text);
            written = true;
        });
        for (int i = 0; i < signals && !written; ++i) {
            ::poll(nullptr, 0, 2);
            ::pthread_kill(writer.native_handle(), SIGUSR1);
        }
        const bool endedAmidSignals = written;
        std::size_t received = 0;
        char buf[4096];
        for (pollfd p{master, POLLIN, 0}; read && received < text.size() && ::poll(&p, 1, 2000) > 0;) {
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n <= 0) break;
            received += static_cast<std::size_t>(n);
        }
        writer.join();
        return std::pair{received, endedAmidSignals};
    };
    // Read soon after the signals: every character arrives.
    EXPECT_EQ(write(10, true).first, text.size());
    EXPECT_EQ(control.CommEvent(), 0);
    // Never read while the signals go on: the write still gives up at its bound.
    EXPECT_TRUE(write(1500, false).second);
    EXPECT_EQ(control.CommEvent(), EAGAIN);
    ::sigaction(SIGUSR1, &before, nullptr);
    ::close(master);
}

}  // namespace
}  // namespace tavo
