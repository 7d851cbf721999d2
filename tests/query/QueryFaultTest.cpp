#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "tests/support/DeviceEmulator.h"
#include "tests/support/RunProgram.h"

namespace tavo::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++n;
    return n;
}

// A relay controller that fails during its 42-line initialization file: the
// query records every line and ends within seconds.
TEST(QueryFaults, BabblingOrUnpluggedDeviceEndsTheRunWithinSeconds) {
    struct Case {
        const char* name;
        EmulatorOptions options;
        std::size_t answered;  // lines answered before the fault
        const char* traced;
    };
    const Case cases[] = {
        {"babbling from the first read", {.babbleFor = 60s}, 0, "\r\nReply too long.\r\n"},
        // The presence test's two characters and three frames of ten, then the line goes.
        {"unplugged after three lines", {.hangUpAfter = 32}, 3, "]: ERROR: 5\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        PortMapFolder map;
        fs::copy_file(TAVO_QUERY_PROGRAM, dir.File("tavoqry"));
        for (const char* f : {"tavodevices.cfg", "QUELB_InitCmds.txt"})
            fs::copy_file(std::string(TAVO_SAMPLES) + "/" + f, dir.File(f));
        WriteFile(dir.File("tavo.txt"), "QUELB,COM1\r\n");
        DeviceEmulator device(c.options);
        map.Map(1, device.DevicePath());

        const auto start = std::chrono::steady_clock::now();
        const ProgramResult r = RunProgram(dir.File("tavoqry"), {"-d"}, dir.Path(), dir.File("stderr.txt"),
                                           std::chrono::seconds(20));
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(r.status, 0);
        EXPECT_LT(took.count(), 5.0);  // a hung-up line cost 2.4 s a line, a babbling one for ever
        const std::string feedback = ReadFile(dir.File("feedback_QUELB_COM1.txt"));
        EXPECT_EQ(Count(feedback, "\r\n"), 42u);
        EXPECT_EQ(feedback.substr(0, 8 * c.answered),
                  std::string("800000\r\n840000\r\n900000\r\n").substr(0, 8 * c.answered));
        if (c.answered > 0) {
            EXPECT_EQ(Count(feedback, "  No response from device.\r\n"), 42 - c.answered);
        }
        EXPECT_NE(ReadFile(dir.File("tavoqry.txt")).find(c.traced), std::string::npos);
    }
}

}  // namespace
}  // namespace tavo::test
