#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <set>
#include <tuple>

#include "link/Clock.h"
#include "link/UiHooks.h"
#include "link/clsComPort.h"
#include "tests/support/DeviceEmulator.h"
#include "tests/support/RunProgram.h"

namespace tavo {
namespace {

using namespace std::chrono_literals;
using test::DeviceEmulator;
using test::DeviceModel;
using test::EmulatorOptions;
using test::PortMapFolder;
using test::ReadFile;
using test::TempFolder;
using test::WithoutStamps;

const std::string kHeader =
    "[STAMP]: Log opened.\r\n"
    "[STAMP]: NOTE: Ascii characters inside () are feedback from device.\r\n\r\n";

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A port on COM1 with an emulated device behind it and a trace into a temp folder.
struct Line {
    explicit Line(EmulatorOptions options = {}, EchoRule rule = EchoRule::KeepStale)
        : device(options), port(rule) {
        map.Map(1, device.DevicePath());
        port.StartDebug(dir.File("debug.txt"), true);
        EXPECT_TRUE(port.OpenPort());
    }
    std::string Trace() { return WithoutStamps(ReadFile(dir.File("debug.txt"))); }

    TempFolder dir;
    PortMapFolder map;
    DeviceEmulator device;
    clsComPort port;
};

TEST(clsComPortFrames, ChecksumIsTheTwosComplementOfTheByteSum) {
    EXPECT_EQ(clsComPort::CalcCmdChecksum("050001"), "FA");
    EXPECT_EQ(clsComPort::CalcCmdChecksum("810000"), "7F");
    EXPECT_EQ(clsComPort::CalcCmdChecksum("000000"), "00");
    EXPECT_EQ(clsComPort::CalcCmdChecksum("FFFFFF"), "03");
    EXPECT_EQ(clsComPort::CalcCmdChecksum("0a0b0c"), clsComPort::CalcCmdChecksum("0A0B0C"));
    EXPECT_EQ(clsComPort::CalcCmdChecksum("05000"), "");
    EXPECT_EQ(clsComPort::CalcCmdChecksum("0500010"), "");
    EXPECT_EQ(clsComPort::CalcCmdChecksum("05G001"), "");  // not hexadecimal: no checksum
}

TEST(clsComPortFrames, FrameRules) {
    EXPECT_EQ(clsComPort::BuildFrame("050001"), "!050001FA*");
    EXPECT_EQ(clsComPort::BuildFrame(" 05\t00 01 "), "!050001FA*");
    EXPECT_EQ(clsComPort::BuildFrame("0500019999"), "!050001FA*");
    EXPECT_EQ(clsComPort::BuildFrame("0a0b0c"), "!0A0B0C" + clsComPort::CalcCmdChecksum("0A0B0C") + "*");
    EXPECT_EQ(clsComPort::BuildFrame("05"), "!05*");
    EXPECT_EQ(clsComPort::BuildFrame("  "), "!*");
    EXPECT_EQ(clsComPort::BuildFrame("!ab cdef0123*"), "!ABCDEF0123*");
    EXPECT_EQ(clsComPort::BuildFrame("05G001"), "!05G001*");
}

TEST(clsComPortSettings, DefaultsAndSettersCloseThePort) {
    PortMapFolder map;
    DeviceEmulator device;
    map.Map(1, device.DevicePath());
    clsComPort port(EchoRule::KeepStale);
    EXPECT_EQ(std::tuple(port.ComPort(), port.BaudRate(), port.Parity(), port.DataBits(), port.StopBits()),
              std::tuple(1, 9600, "N", 8, 1));
    EXPECT_FALSE(port.IsPortOpen());
    EXPECT_TRUE(port.ClosePort());

    ASSERT_TRUE(port.OpenPort());
    EXPECT_TRUE(port.OpenPort());
    port.SetStopBits(2);
    EXPECT_FALSE(port.IsPortOpen());
    EXPECT_EQ(port.StopBits(), 2);
    EXPECT_EQ(port.DataBits(), 8);
    ASSERT_TRUE(port.OpenPort());
    port.SetConnectOptions(9600, "N", 8, 1);
    EXPECT_FALSE(port.IsPortOpen());
    ASSERT_TRUE(port.OpenPort());
    EXPECT_TRUE(port.ClosePort());
    EXPECT_FALSE(port.IsPortOpen());

    port.SetParity("Q");  // a settings string the line cannot take
    EXPECT_FALSE(port.OpenPort());
    EXPECT_FALSE(port.IsPortOpen());
}

TEST(clsComPortOpen, PortsThatCannotOpenFailAndSayWhyInTheTrace) {
    TempFolder dir;
    PortMapFolder map;
    test::WriteFile(dir.File("plain"), "not a tty");
    map.Map(2, dir.File("plain"));
    map.Map(3, dir.File("missing"));
    clsComPort port(EchoRule::KeepStale);
    port.StartDebug(dir.File("debug.txt"), true);
    for (int n : {7, 2, 3}) {
        port.SetComPort(static_cast<std::int16_t>(n));
        EXPECT_FALSE(port.OpenPort()) << "COM" << n;
        EXPECT_FALSE(port.IsPortOpen());
    }
    port.StopDebug();
    EXPECT_EQ(
        WithoutStamps(ReadFile(dir.File("debug.txt"))),
        kHeader + "[STAMP]: ERROR: 2\r\n[STAMP]: ERROR: 25\r\n[STAMP]: ERROR: 2\r\n[STAMP]: Log closed.\r\n");
}

TEST(clsComPortOpen, PortHeldByAnotherProgramOrWithoutPermissionFails) {
    PortMapFolder map;
    DeviceEmulator device;
    map.Map(1, device.DevicePath());

    int ready[2], done[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(done), 0);
    pid_t child = ::fork();
    if (child == 0) {
        clsComPort holder(EchoRule::KeepStale);
        char c = holder.OpenPort() ? 'y' : 'n';
        (void)!::write(ready[1], &c, 1);
        (void)!::read(done[0], &c, 1);
        holder.ClosePort();  // no destructor runs: its exclusive mode would stay on the emulator's line
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');
    clsComPort port(EchoRule::KeepStale);
    EXPECT_FALSE(port.OpenPort());
    (void)!::write(done[1], "x", 1);
    ::waitpid(child, nullptr, 0);
    EXPECT_TRUE(port.OpenPort());  // free again once the other program let go
    port.ClosePort();

    // Without permission: as an unprivileged user when running as root.
    ::chmod(map.Path().c_str(), 0755);
    if (::geteuid() != 0) ::chmod(device.DevicePath().c_str(), 0);
    EXPECT_EQ(test::AsUser([] { return clsComPort(EchoRule::KeepStale).OpenPort() ? 1 : 0; }), 0);
}

TEST(clsComPortWire, WriteCommandTraceMatchesByteForByte) {
    Line line;
    EXPECT_TRUE(line.port.SendCmdString("05 00 01", true));
    EXPECT_TRUE(line.port.LogMessage("after"));
    line.port.StopDebug();
    EXPECT_EQ(line.Trace(), kHeader +
                                "[STAMP]: !(!)0(0)5(5)0(0)0(0)0(0)1(1)F(F)A(A)*(*)\r\n"
                                "[STAMP]: after\r\n"
                                "[STAMP]: Log closed.\r\n");
    EXPECT_EQ(line.device.Register(0x05), "0001");
    EXPECT_EQ(line.device.Received(), "!050001FA*");
}

TEST(clsComPortWire, IdentifyReplyFromAMatrixSwitch) {
    Line line({.model = DeviceModel::ZIM8x8});
    EXPECT_EQ(line.port.SendCmdStrResponce("810000"), "810100");
    line.port.StopDebug();
    EXPECT_EQ(line.Trace(),
              kHeader +
                  "[STAMP]: !(!)8(8)1(1)0(0)0(0)0(0)0(0)7(7)F(F)*(*)(!)(8)(1)(0)(1)(0)(0)(*)\r\n"
                  "[STAMP]: Log closed.\r\n");
}

TEST(clsComPortWire, AReplyIsTheReplyWordBetweenTheDevicesBangAndItsStar) {
    // Noise before the device's "!", even a "*" or a false reply, is passed over; the next read too.
    for (const std::string noise :
         {"zz", "\r\n", "$0A", "$0Az9x", "$0A1F+", "$62x2+\r\n$0CC0zz0004+", "\x9bQ*", "!x", "!Q*!123456*"}) {
        Line line({.noiseBeforeReply = noise});
        line.device.SetRegister(0x10, "ABCD");
        line.device.SetRegister(0x24, "6622");
        EXPECT_EQ(line.port.SendCmdStrResponce("900000"), "90ABCD") << noise;
        EXPECT_EQ(line.port.SendCmdStrResponce("A40000"), "A46622") << noise;
    }
}

// The trace line of a read that went as on a clean line.
std::string ReadTraceLine(const std::string& word, const std::string& reply) {
    std::string line = "[STAMP]: ";
    for (char c : clsComPort::BuildFrame(word)) line += std::string(1, c) + "(" + c + ")";
    for (char c : "!" + reply + "*") line += "(" + std::string(1, c) + ")";
    return line + "\r\n";
}

const std::pair<int, const char*> kRegisters[] = {{0x00, "000A"}, {0x04, "00FF"}, {0x10, "0002"}, {0x24, "6622"}};
const std::vector<std::pair<std::string, std::string>> kReads = {
    {"800000", "80000A"}, {"840000", "8400FF"}, {"900000", "900002"}, {"A40000", "A46622"}};

TEST(clsComPortWire, WhatADeviceSendsBesidesItsRepliesLeavesEveryFrameWhole) {
    // The line ends that follow a reply's "*" come before the echo of the next
    // "!", and monitor messages come between any two echoes: they are passed
    // over, and every frame reaches the device as sent.
    struct Case {
        const char* name;
        EmulatorOptions options;
        EchoRule rule;
    };
    const Case cases[] = {
        {"line ends of every kind", {.afterReply = test::kLineEnds}, EchoRule::KeepStale},
        {"line ends of every kind, buffer emptied", {.afterReply = test::kLineEnds}, EchoRule::EmptyBufferFirst},
        {"line ends of every kind at 9600 baud", {.afterReply = test::kLineEnds, .pace = 1040us},
         EchoRule::KeepStale},
        {"line ends of every kind at 9600 baud, buffer emptied", {.afterReply = test::kLineEnds, .pace = 1040us},
         EchoRule::EmptyBufferFirst},
        {"monitor messages", {.afterReply = "$62x2+", .unasked = {{1, "$0A1F+"}, {10, "$0CC0zz0004+"}}},
         EchoRule::KeepStale},
        {"monitor messages at 9600 baud, buffer emptied",
         {.afterReply = "$62x2+", .pace = 1040us, .unasked = {{1, "$0A1F+"}, {10, "$0CC0zz0004+"}}},
         EchoRule::EmptyBufferFirst},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Line line(c.options, c.rule);
        for (auto [r, data] : kRegisters) line.device.SetRegister(r, data);
        std::vector<std::string> words;
        std::string trace;
        for (const auto& [word, reply] : kReads) {
            EXPECT_EQ(line.port.SendCmdStrResponce(word), reply) << word;
            words.push_back(word);
            trace += ReadTraceLine(word, reply);
        }
        EXPECT_EQ(line.device.Frames(), words);
        line.port.StopDebug();
        EXPECT_EQ(line.Trace(), kHeader + trace + "[STAMP]: Log closed.\r\n");
    }
}

TEST(clsComPortWire, AStrayBurstCostsOnlyTheCommandItLandsIn) {
    const std::pair<const char*, EmulatorOptions> cases[] = {
        {"a pause longer than four tries", {.pauseAfter = 3, .pauseFor = 1250ms}},
        {"a stray character", {.unasked = {{3, "x"}}}},
    };
    for (EchoRule rule : {EchoRule::KeepStale, EchoRule::EmptyBufferFirst})
        for (const auto& [name, options] : cases) {
            SCOPED_TRACE(name);
            Line line(options, rule);
            for (auto [r, data] : kRegisters) line.device.SetRegister(r, data);
            EXPECT_EQ(line.port.SendCmdStrResponce(kReads[0].first), "");
            for (std::size_t i = 1; i < kReads.size(); ++i)
                EXPECT_EQ(line.port.SendCmdStrResponce(kReads[i].first), kReads[i].second);
        }
}

TEST(clsComPortWire, WrongEchoFailsAfterFourTriesAndSendsDash) {
    // A wrong echo spends its try at once. The clock moves 2 ms at each turn
    // of a wait: sixteen tries that each waited out their 300 ms would move it
    // 4800 ms; tries that end on their wrong echo move it a few turns' worth.
    Line line({.wrongEcho = true});
    std::uint32_t bias = 0;
    SetYieldHook([&] { SetClockBiasForTesting(bias += 2); });
    SetClockFrozenForTesting(true);
    EXPECT_FALSE(line.port.SendCmdString("050001"));
    EXPECT_EQ(line.port.SendCmdStrResponce("810000"), "");
    SetClockFrozenForTesting(false);
    SetYieldHook(nullptr);
    SetClockBiasForTesting(0);
    EXPECT_EQ(line.device.Received(), "!!!!----!!!!----");
    EXPECT_LT(bias, 1200u);
}

TEST(clsComPortWire, EchoThatStopsMidFrameAbandonsTheFrame) {
    Line line({.stopEchoAfter = 3});
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(line.port.SendCmdString("050001"));
    EXPECT_LT(SecondsSince(start), 3.0);  // 4 tries of the character and 4 of "-"
    EXPECT_EQ(line.device.Received(), "!050000----");
    line.port.StopDebug();
    EXPECT_EQ(line.Trace(), kHeader + "[STAMP]: !(!)0(0)5(5)0\r\n\r\n[STAMP]: Log closed.\r\n");
}

TEST(clsComPortFaults, LineThatHangsUpFailsEveryOperationAtOnce) {
    const std::string failedRead =
        "[STAMP]: !\r\n\r\n[STAMP]: ERROR: 5\r\nError sending command to device.\r\n\r\n\r\n";
    struct Case {
        const char* name;
        int hangUpAfter;
        bool writeFirst;         // a write that the device takes before it goes
        std::string firstTrace;  // of the commands up to the one that meets the hang-up
    };
    const Case cases[] = {
        {"mid-frame", 4, false,
         "[STAMP]: !(!)8(8)1(1)0(0)0\r\n\r\n[STAMP]: ERROR: 5\r\nError sending command to "
         "device.\r\n\r\n\r\n"},
        {"between commands", 10, true, "[STAMP]: !(!)0(0)5(5)0(0)0(0)0(0)1(1)F(F)A(A)*(*)\r\n" + failedRead},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Line line({.hangUpAfter = c.hangUpAfter});
        if (c.writeFirst) {
            EXPECT_TRUE(line.port.SendCmdString("050001", true));
        }
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(line.port.SendCmdStrResponce("810000"), "");
        // Waiting out every try would take 2.4 s for each send and 1.2 s for the presence test.
        EXPECT_FALSE(line.port.SendCmdString("050001", true));
        EXPECT_FALSE(line.port.CanSeeDevice());
        EXPECT_EQ(line.port.SendCmdStrResponce("810000"), "");
        EXPECT_LT(SecondsSince(start), 1.0);
        line.port.StopDebug();
        EXPECT_EQ(line.Trace(), kHeader + c.firstTrace + "[STAMP]: !\r\n\r\n[STAMP]: ERROR: 5\r\n" +
                                    "[STAMP]: ERROR: 5\r\n" + failedRead + "[STAMP]: Log closed.\r\n");
        EXPECT_FALSE(line.port.ClosePort());  // the line reported an error
        EXPECT_FALSE(line.port.IsPortOpen());
    }
}

TEST(clsComPortFaults, DeviceThatGoesAwayWhileItsReplyIsAwaitedEndsTheReadAtOnce) {
    // The device takes the whole read frame, then goes away before it answers.
    // From then on each turn moves the clock 100 ms: waiting out the reply's
    // silent waits would take 30 turns.
    Line line({.neverReply = true});
    bool gone = false;
    int turns = 0;
    std::uint32_t bias = 0;
    SetYieldHook([&] {
        if (gone) {
            ++turns;
            SetClockBiasForTesting(bias += 100);
        } else if (ReadFile(line.dir.File("debug.txt")).ends_with("*(*)")) {
            line.device.Unplug();
            gone = true;
        }
    });
    EXPECT_EQ(line.port.SendCmdStrResponce("810000"), "");
    SetYieldHook(nullptr);
    SetClockBiasForTesting(0);
    EXPECT_TRUE(gone);
    EXPECT_LE(turns, 2);
    EXPECT_EQ(line.device.Frames(), std::vector<std::string>{"810000"});
    line.port.StopDebug();
    EXPECT_EQ(line.Trace(), kHeader +
                                "[STAMP]: !(!)8(8)1(1)0(0)0(0)0(0)0(0)7(7)F(F)*(*)\r\n"
                                "[STAMP]: ERROR: 5\r\n\r\n"
                                "[STAMP]: Log closed.\r\n");
}

TEST(clsComPortFaults, ReplyWithoutEndIsBounded) {
    struct Case {
        const char* name;
        EmulatorOptions options;
        std::string reply;
        double seconds;  // at most
    };
    const Case cases[] = {
        // Characters keep coming within 500 ms but never a "*": 64 of them are no reply.
        {"babbling device", {.babbleFor = 8s}, "", 1.0},
        {"babbling at 9600 baud", {.pace = 1040us, .babbleFor = 8s}, "", 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Line line(c.options);
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(line.port.SendCmdStrResponce("810000"), c.reply);
        EXPECT_LT(SecondsSince(start), c.seconds);
        line.port.StopDebug();
        const std::string trace = line.Trace();
        EXPECT_LT(trace.size(), 500u);
        EXPECT_NE(trace.find(")\r\nReply too long.\r\n\r\n[STAMP]: Log closed."), std::string::npos);
        const std::string reply = trace.substr(trace.find("*(*)") + 4);
        EXPECT_EQ(std::count(reply.begin(), reply.end(), '('), 64);
    }
}

TEST(clsComPortFaults, ReplyToAReadSentAsAWriteIsTakenBeforeTheNextFrame) {
    // A read word behind a tab goes out as a write; the device answers it all
    // the same. That reply must not be taken for the next frame's echoes.
    struct Case {
        const char* name;
        EmulatorOptions options;
        EchoRule rule;
    };
    const Case cases[] = {
        {"instant device", {}, EchoRule::KeepStale},
        {"instant device, buffer emptied", {}, EchoRule::EmptyBufferFirst},
        {"9600 baud", {.pace = 1040us}, EchoRule::KeepStale},
        {"9600 baud, buffer emptied", {.pace = 1040us}, EchoRule::EmptyBufferFirst},
        {"slow device", {.pace = 1040us, .replyGap = 20ms}, EchoRule::KeepStale},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Line line(c.options, c.rule);
        line.device.SetRegister(0x24, "1E12");
        EXPECT_TRUE(line.port.SendCmdString("\t9A0000", true));
        EXPECT_EQ(line.port.SendCmdStrResponce("A40000"), "A41E12");
        EXPECT_EQ(line.device.Received(), "!9A000066*!A400005C*");
        line.port.StopDebug();
        EXPECT_EQ(line.Trace(),
                  kHeader +
                      "[STAMP]: !(!)9(9)A(A)0(0)0(0)0(0)0(0)6(6)6(6)*(*)(!)(9)(A)(0)(0)(0)(0)(*)\r\n"
                      "[STAMP]: !(!)A(A)4(4)0(0)0(0)0(0)0(0)5(5)C(C)*(*)(!)(A)(4)(1)(E)(1)(2)(*)\r\n"
                      "[STAMP]: Log closed.\r\n");
    }
}

// At each turn that the port's waits give the user interface, step(trace so
// far) milliseconds pass, and no others (the clock is stopped): tries, waits
// and bounds are counted in the turns that moved the clock instead of timed.
TEST(clsComPortWait, TriesWaitsAndReplyBoundsCountedInTurns) {
    const std::string reply = "*(*)(!)(8)(1)(0)(0)(0)(0)", started = reply.substr(0, 7);
    std::size_t seen = 0;
    // A wait of w ms takes ceil(w / step) turns. Steps: always; once the reply
    // came whole; after each new reply character; once, after its first one.
    const auto always = [](const std::string&) { return 110u; };
    const auto whole = [&](const std::string& t) { return t.ends_with(reply) ? 180u : 0u; };
    const auto each = [&](const std::string& t) {
        return t.find(started) == std::string::npos || t.size() == seen ? 0u : (seen = t.size(), 500u);
    };
    const auto once = [&](const std::string& t) {
        return t.find(started) == std::string::npos || seen++ ? 0u : 5000u;
    };
    const auto sent = [](const std::string& t) { return t.ends_with("A(A)*(*)") ? 1u : 0u; };
    struct Case {
        const char* name;
        EmulatorOptions options;
        std::function<std::uint32_t(const std::string&)> step;
        std::string reply;     // of the read "810000"; "sent" for the write "050001"
        int turns;             // -1: not counted
        std::string traceEnd;  // of the command's trace line
    };
    const Case cases[] = {
        // Four tries of 300 ms for "!", then four for the "-" that drops the frame.
        {"silent", {.silent = true}, always, "", 24, "!\r\n\r\nError sending command to device.\r\n\r\n\r\n"},
        // Line ends are passed over, and a line that sends them without pause
        // still ends each try at its 300 ms.
        {"line ends without pause", {.silent = true, .streams = test::kLineEnd}, always, "", 24,
         "!\r\n\r\nError sending command to device.\r\n\r\n\r\n"},
        // Six silent waits of 500 ms end a reply that lacks its "*".
        {"reply without end", {.replyWithoutEnd = true}, whole, "", 18, reply + "\r\n"},
        // A silent wait before each character does not add up to the six.
        {"500 ms before each character", {.replyGap = 100ms}, each, "810000", -1, reply + "(*)\r\n"},
        // A reply still coming 5 s after its first character is no reply.
        {"5 s on", {.replyGap = 100ms}, once, "", 1, "(!)(8)\r\nReply too long.\r\n\r\n"},
        {"write, then three quiet character times", {}, sent, "sent", 5, "A(A)*(*)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Line line(c.options);
        int turns = 0;
        std::uint32_t bias = 0;
        seen = 0;
        SetYieldHook([&] {
            if (const std::uint32_t ms = c.step(ReadFile(line.dir.File("debug.txt")))) {
                ++turns;
                SetClockBiasForTesting(bias += ms);
            }
        });
        SetClockFrozenForTesting(true);
        EXPECT_EQ(c.reply == "sent" ? line.port.SendCmdString("050001") ? "sent" : ""
                                    : line.port.SendCmdStrResponce("810000"),
                  c.reply);
        SetClockFrozenForTesting(false);
        SetYieldHook(nullptr);
        SetClockBiasForTesting(0);
        EXPECT_TRUE(c.turns < 0 || turns == c.turns) << turns;
        line.port.StopDebug();
        EXPECT_TRUE(line.Trace().ends_with(c.traceEnd + "[STAMP]: Log closed.\r\n")) << line.Trace();
    }
}

TEST(clsComPortPresence, EchoingDeviceAndSilentPort) {
    Line echoing;
    EXPECT_TRUE(echoing.port.CanSeeDevice());
    EXPECT_EQ(echoing.device.Received(), "!-");

    Line silent({.silent = true});
    EXPECT_FALSE(silent.port.CanSeeDevice());
    EXPECT_EQ(silent.device.Received(), "!!!!");
    // A line that gives back the "!" but not the "-" is no device either.
    Line half({.stopEchoAfter = 1});
    EXPECT_FALSE(half.port.CanSeeDevice());
    EXPECT_EQ(half.device.Received(), "!----");
}

TEST(clsComPortPresence, StaleCharacterRuleIsChosenPerProgram) {
    // Characters already waiting count as the echoes for the console programs,
    // and after the "-" whole monitor messages back to back are passed over...
    Line keep({.silent = true}, EchoRule::KeepStale);
    keep.device.Inject("!-$0CC0zz0004+$0CC0zz0004+$0A1F+$0A1F+$0A1F+");
    EXPECT_TRUE(keep.port.CanSeeDevice());
    Line babble({.silent = true}, EchoRule::KeepStale);  // ...but not a line that keeps sending
    babble.device.Inject("!-" + std::string(17, '8'));
    EXPECT_FALSE(babble.port.CanSeeDevice());

    // ...and are emptied first by the windowed program.
    Line empty({.silent = true}, EchoRule::EmptyBufferFirst);
    empty.device.Inject("!-");
    EXPECT_FALSE(empty.port.CanSeeDevice());

    // Line ends waiting before them are passed over; any other character spends
    // its try, and the next one waits for a quiet line, taking the "!" with the rest.
    Line ends({.silent = true}, EchoRule::KeepStale);
    ends.device.Inject("\r\n\r\r\n\n!-");
    EXPECT_TRUE(ends.port.CanSeeDevice());
    Line noise({.silent = true}, EchoRule::KeepStale);
    noise.device.Inject("8\x7F\r\n*~!-");
    EXPECT_FALSE(noise.port.CanSeeDevice());
    EXPECT_EQ(noise.device.Received(), "!!!!");
}

TEST(clsComPortBuffer, GetInBufferTakesOneCharacterAtATime) {
    Line line;
    EXPECT_EQ(line.port.GetInBuffer(), "");
    line.device.Inject("AB");
    EXPECT_EQ(line.port.GetInBuffer(), "A");
    EXPECT_EQ(line.port.GetInBuffer(), "B");
    EXPECT_EQ(line.port.GetInBuffer(), "");
    line.device.Inject("C");
    line.port.ClearBuffer();
    EXPECT_EQ(line.port.GetInBufferCount(), 0);
}

TEST(clsComPortTrace, SuspendedLoggingKeepsTheCharacterTrace) {
    Line line;
    line.port.SuspendLogging();
    EXPECT_FALSE(line.port.LogMessage("hidden"));
    EXPECT_TRUE(line.port.SendCmdString("050001", true));
    line.port.ResumeLogging();
    EXPECT_TRUE(line.port.LogMessage("shown"));
    line.port.SuspendLogging();
    line.port.StopDebug();  // suspended: no closing line
    EXPECT_EQ(line.Trace(),
              kHeader + "[STAMP]: !(!)0(0)5(5)0(0)0(0)0(0)1(1)F(F)A(A)*(*)\r\n[STAMP]: shown\r\n");
    EXPECT_FALSE(line.port.LogMessage("off"));
}

TEST(clsComPortTrace, AppendingAndRestarting) {
    Line line;
    line.port.StartDebug(line.dir.File("debug.txt"));  // second start appends to the same file
    line.port.StopDebug();
    EXPECT_EQ(line.Trace(),
              kHeader + "[STAMP]: Log closed.\r\n\r\n\r\n\r\n" + kHeader + "[STAMP]: Log closed.\r\n");
}

TEST(clsComPortTrace, UnwritableTraceLeavesDebuggingOffAndSendingOn) {
    Line line;
    line.port.StopDebug();
    TempFolder locked;
    ::chmod(locked.Path().c_str(), 0500);
    const bool enforced = ::access(locked.Path().c_str(), W_OK) != 0;  // root ignores the mode
    line.port.StartDebug(enforced ? locked.File("debug.txt") : "/nonexistent-folder/debug.txt", true);
    EXPECT_FALSE(line.port.IsDebugging());
    EXPECT_TRUE(line.port.SendCmdString("050001", true));
    EXPECT_FALSE(line.port.LogMessage("x"));
}

TEST(clsComPortClock, DeadlinesHoldAcrossTheWrap) {
    EXPECT_TRUE(ClockReached(5, 0xFFFFFFF0u));
    EXPECT_FALSE(ClockReached(0xFFFFFFF0u, 5));
    EXPECT_EQ(ClockRemaining(0xFFFFFFF0u, 5), 21u);
    EXPECT_EQ(ClockRemaining(5, 0xFFFFFFF0u), 0u);

    // Put the clock 200 ms before its wrap: the silent port's waits cross it.
    SetClockBiasForTesting(0);
    SetClockBiasForTesting(0xFFFFFFFFu - timeGetTime() - 200u);
    Line silent({.silent = true});
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(silent.port.CanSeeDevice());
    double took = SecondsSince(start);
    SetClockBiasForTesting(0);
    EXPECT_GT(took, 1.15);
    EXPECT_LT(took, 2.0);
}

TEST(clsComPortWait, WaitsYieldUnderTheHourglassOfTheActiveWindow) {
    struct Window : IMousePointerHost {
        bool HasActiveWindow() const override { return true; }
        std::int16_t MousePointer() const override { return pointer; }
        void SetMousePointer(std::int16_t p) override { pointer = p; }
        std::int16_t pointer = 2;
    } window;
    SetMousePointerHost(&window);
    int calls = 0;
    std::set<std::int16_t> shown;
    SetYieldHook([&] {
        ++calls;
        shown.insert(window.pointer);
    });
    Line silent({.silent = true});
    EXPECT_FALSE(silent.port.CanSeeDevice());
    SetYieldHook(nullptr);
    SetMousePointerHost(nullptr);
    EXPECT_GT(calls, 50);    // woken every few milliseconds...
    EXPECT_LT(calls, 1200);  // ...not spinning
    EXPECT_EQ(shown, std::set<std::int16_t>{kHourglassPointer});
    EXPECT_EQ(window.pointer, 2);  // and back as it was
}

}  // namespace
}  // namespace tavo
