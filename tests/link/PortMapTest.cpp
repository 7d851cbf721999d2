#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "link/PortMap.h"
#include "tests/support/DeviceEmulator.h"

namespace tavo {
namespace {

using test::PortMapFolder;
using test::TempFolder;
using test::WriteFile;

std::vector<std::string> Names(const std::vector<PortMapEntry>& ports) {
    std::vector<std::string> names;
    for (const auto& p : ports) names.push_back(p.name + "=" + p.target);
    return names;
}

TEST(PortMap, FolderEntriesInPortOrder) {
    PortMapFolder map;
    map.Map(10, "/dev/ttyUSB1");
    map.Map(2, "/dev/ttyS1");
    map.Map(3, "relative");
    WriteFile(map.Path() + "/README", "not a port");
    WriteFile(map.Path() + "/COMx", "not a port either");
    std::vector<PortMapEntry> ports;
    ASSERT_EQ(ListPortMap(ports), PortMapStatus::Ok);
    EXPECT_EQ(Names(ports), (std::vector<std::string>{"COM2=/dev/ttyS1", "COM3=" + map.Path() + "/relative",
                                                      "COM10=/dev/ttyUSB1"}));
    EXPECT_EQ(PortDevicePath(10), "/dev/ttyUSB1");
    EXPECT_EQ(PortDevicePath(4), "");
    EXPECT_EQ(PortNumberOf("COM12"), 12);
    EXPECT_EQ(PortNumberOf(" COM1"), -1);
    EXPECT_EQ(PortNumberOf("COM"), -1);

    // Without $TAVO_PORTS (or with it empty) the user's own folder is the map.
    TempFolder home;
    std::filesystem::create_directories(home.File(".config/tavo/ports"));
    const std::string user = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", home.Path().c_str(), 1);
    ::setenv("TAVO_PORTS", "", 1);
    EXPECT_EQ(tavo::PortMapFolder(), home.File(".config/tavo/ports"));
    ::setenv("HOME", user.c_str(), 1);
}

TEST(PortMap, SysfsPortsWithAUartThenUsbInNumberOrderSkippingTheConsole) {
    TempFolder sys;
    auto port = [&](const std::string& name, const std::string& type) {
        std::filesystem::create_directories(sys.File(name));
        if (!type.empty()) WriteFile(sys.File(name + "/type"), type + "\n");
    };
    port("ttyS0", "4");    // the console
    port("ttyS1", "4");    // COM2
    port("ttyS2", "0");    // no UART
    port("ttyS3", "4");    // COM4
    port("ttyUSB0", "");   // takes COM1
    port("ttyUSB1", "");   // a console too
    port("ttyUSB10", "");  // after ttyUSB2: COM5
    port("ttyUSB2", "");   // COM3
    port("ttyACM0", "");   // after every ttyUSB: COM6
    port("tty1", "");
    std::filesystem::create_directories(sys.File("console"));
    WriteFile(sys.File("console/active"), "tty0 ttyS0 ttyUSB1\n");
    std::vector<PortMapEntry> ports;
    ASSERT_EQ(ListPortsFromSysfs(sys.Path(), ports), PortMapStatus::Ok);
    EXPECT_EQ(Names(ports),
              (std::vector<std::string>{"COM1=/dev/ttyUSB0", "COM2=/dev/ttyS1", "COM3=/dev/ttyUSB2",
                                        "COM4=/dev/ttyS3", "COM5=/dev/ttyUSB10", "COM6=/dev/ttyACM0"}));
    ports.clear();
    EXPECT_EQ(ListPortsFromSysfs(sys.File("missing"), ports), PortMapStatus::SourceUnreadable);
}

}  // namespace
}  // namespace tavo
