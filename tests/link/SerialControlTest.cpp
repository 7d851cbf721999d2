#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstring>

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

}  // namespace
}  // namespace tavo
