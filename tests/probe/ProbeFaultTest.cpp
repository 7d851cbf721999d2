#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

#include "tests/support/DeviceEmulator.h"
#include "tests/support/RunProgram.h"

namespace tavo::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Three ports whose device fails the identify command in its own way, then a
// relay controller on COM4: the probe passes over the three at once and finds it.
TEST(ProbeFaults, BabblingOrUnpluggedDevicesArePassedOverAtOnce) {
    struct Case {
        const char* name;
        EmulatorOptions options;
        const char* traced;
    };
    const Case cases[] = {
        {"babbling", {.babbleFor = 60s}, "\r\nReply too long.\r\n"},
        {"unplugged during the identify command", {.hangUpAfter = 4}, "]: ERROR: 5\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder program;
        PortMapFolder map;
        for (const char* built : {TAVO_PROBE_PROGRAM, TAVO_PORTLIST_LIBRARY})
            fs::copy_file(built, fs::path(program.Path()) / fs::path(built).filename());
        std::vector<std::unique_ptr<DeviceEmulator>> faulty;
        for (int n = 1; n <= 3; ++n) {
            faulty.push_back(std::make_unique<DeviceEmulator>(c.options));
            map.Map(n, faulty.back()->DevicePath());
        }
        DeviceEmulator relay;
        map.Map(4, relay.DevicePath());

        const auto start = std::chrono::steady_clock::now();
        const ProgramResult r = RunProgram(program.File("tavohwp"), {"-d"}, program.Path(),
                                           program.File("stderr.txt"), std::chrono::seconds(20));
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(r.status, 0);
        EXPECT_LT(took.count(), 3.0);  // waiting out each faulty port took 2.4 s, or for ever
        EXPECT_EQ(ReadFile(program.File("tavo.txt")), "QUELB,COM4\r\n");
        const std::string log = ReadFile(program.File("tavohwp.txt"));
        for (const char* port : {"COM1", "COM2", "COM3"})
            EXPECT_NE(log.find("No response from device on serial port " + std::string(port) + ":"),
                      std::string::npos);
        EXPECT_NE(log.find(c.traced), std::string::npos);
    }
}

}  // namespace
}  // namespace tavo::test
