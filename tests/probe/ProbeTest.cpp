#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "link/clsComPort.h"
#include "tests/support/DeviceEmulator.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/RunProgram.h"

namespace tavo::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The expected text of a file, written with "\n" for each CR LF line end.
std::string Crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// Runs tavohwp as a user would, from a program folder of its own (a copy of the
// built program and library), so its default files land there and nowhere else.
class Probe : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* built : {TAVO_PROBE_PROGRAM, TAVO_PORTLIST_LIBRARY})
            fs::copy_file(built, fs::path(program_.Path()) / fs::path(built).filename());
    }

    ProgramResult Run(const std::vector<std::string>& args) {
        ProgramResult r =
            RunProgram(program_.File("tavohwp"), args, program_.Path(), scratch_.File("stderr.txt"));
        EXPECT_GE(r.status, 0) << "tavohwp did not start";
        return r;
    }

    std::string InProgram(const std::string& name) const { return program_.File(name); }
    std::string Log(const std::string& path) const { return WithoutStamps(ReadFile(path)); }

    TempFolder program_;
    TempFolder scratch_;
    PortMapFolder map_;
};

TEST_F(Probe, RelayControllerAndMatrixSwitchAreWrittenInPortOrder) {
    DeviceEmulator relay({.model = DeviceModel::QUELB});
    DeviceEmulator matrix({.model = DeviceModel::ZIM8x8});
    map_.Map(4, matrix.DevicePath());
    map_.Map(1, relay.DevicePath());

    ProgramResult r = Run({"-d"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.errors, "");
    EXPECT_EQ(ReadFile(InProgram("tavo.txt")), Crlf("QUELB,COM1\nZIM-8x8,COM4\n"));
    EXPECT_EQ(Log(InProgram("tavohwp.txt")), Crlf(R"([STAMP]: Log opened.
[STAMP]: NOTE: Ascii characters inside () are feedback from device.

[STAMP]: Device found on serial port COM1:
[STAMP]: !(!)8(8)1(1)0(0)0(0)0(0)0(0)7(7)F(F)*(*)(!)(8)(1)(0)(0)(0)(0)(*)
[STAMP]: Device on serial port COM1: appears to be an QUELB.

[STAMP]: Device found on serial port COM4:
[STAMP]: !(!)8(8)1(1)0(0)0(0)0(0)0(0)7(7)F(F)*(*)(!)(8)(1)(0)(1)(0)(0)(*)
[STAMP]: Device on serial port COM4: appears to be an ZIM-8x8.

[STAMP]: Log closed.
)"));
    // Each device saw the presence test ("!" dropped by "-"), then the identify command.
    EXPECT_EQ(relay.Received(), "!-!8100007F*");
    EXPECT_EQ(matrix.Received(), "!-!8100007F*");
}

TEST_F(Probe, ADeviceStillSendingAfterItsReplyIsIdentified) {
    // One adapter under two names: the probe of COM2 begins while the device
    // still sends the line ends that follow its reply to COM1.
    DeviceEmulator relay({.afterReply = kLineEnds + kLineEnds + kLineEnds + kLineEnds, .pace = 1040us});
    map_.Map(1, relay.DevicePath());
    map_.Map(2, relay.DevicePath());

    EXPECT_EQ(Run({"-d"}).status, 0);
    EXPECT_EQ(ReadFile(InProgram("tavo.txt")), Crlf("QUELB,COM1\nQUELB,COM2\n"));
    EXPECT_EQ(relay.Frames(), (std::vector<std::string>{"810000", "810000"}));
    const std::string log = Log(InProgram("tavohwp.txt"));
    EXPECT_NE(log.find(Crlf(R"([STAMP]: Device found on serial port COM2:
[STAMP]: !(!)8(8)1(1)0(0)0(0)0(0)0(0)7(7)F(F)*(*)(!)(8)(1)(0)(0)(0)(0)(*)
[STAMP]: Device on serial port COM2: appears to be an QUELB.
)")),
              std::string::npos)
        << log;
}

TEST_F(Probe, PortsWithoutAnIdentifiedDeviceAreLoggedAndAnEarlierFileIsRemoved) {
    DeviceEmulator silent({.silent = true});
    DeviceEmulator mute({.neverReply = true});
    // Each echo's double spends a try: the device gets every character twice and
    // drops the frame, and the double of its "*" is no reply.
    DeviceEmulator doubled({.echoTwice = true});
    map_.Map(1, silent.DevicePath());
    map_.Map(2, mute.DevicePath());
    map_.Map(3, scratch_.File("no-such-device"));
    map_.Map(4, doubled.DevicePath());
    WriteFile(InProgram("tavo.txt"), "QUELB,COM9\r\n");
    const std::string log = scratch_.File("probe.log");

    ProgramResult r = Run({"-d" + log});  // joined: a word beginning with "/" would be a flag
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.errors, "");
    EXPECT_FALSE(fs::exists(InProgram("tavo.txt")));
    EXPECT_FALSE(fs::exists(InProgram("tavohwp.txt")));
    EXPECT_EQ(Log(log), Crlf(R"([STAMP]: Log opened.
[STAMP]: NOTE: Ascii characters inside () are feedback from device.

[STAMP]: Device not recognized on serial port COM1:

[STAMP]: Device found on serial port COM2:
[STAMP]: !(!)8(8)1(1)0(0)0(0)0(0)0(0)7(7)F(F)*(*)
[STAMP]: No response from device on serial port COM2:

[STAMP]: ERROR: 2
[STAMP]: Error opening serial port COM3:

[STAMP]: Device found on serial port COM4:
[STAMP]: !(!)8(8)1(1)0(0)0(0)0(0)0(0)7(7)F(F)*(*)(*)
[STAMP]: No response from device on serial port COM4:

[STAMP]: Log closed.
)"));
}

TEST_F(Probe, ReplyCharactersThreeAndFourTellTheModel) {
    // A stray character before the reply is no part of it; a short word or noise is no reply.
    DeviceEmulator strayRelay({.noiseBeforeReply = "x"});
    DeviceEmulator shortRelay;
    shortRelay.SetRegister(0x01, "00");  // reply word "8100"
    DeviceEmulator loopBack({.neverReply = true, .noiseBeforeReply = "\x9bQ*"});
    DeviceEmulator other;
    other.SetRegister(0x01, "AB00");
    map_.Map(1, strayRelay.DevicePath());
    map_.Map(4, shortRelay.DevicePath());
    map_.Map(5, loopBack.DevicePath());
    fs::create_symlink(other.DevicePath(), map_.Path() + "/COM03");

    EXPECT_EQ(Run({"-d"}).status, 0);
    // The file names the port as listed, the log by its number.
    EXPECT_EQ(ReadFile(InProgram("tavo.txt")), Crlf("QUELB,COM1\nZIM-8x8,COM03\n"));
    EXPECT_NE(Log(InProgram("tavohwp.txt")).find("COM3:\r\n[STAMP]: !(!)8(8)1(1)"), std::string::npos);
    EXPECT_NE(Log(InProgram("tavohwp.txt")).find("COM3: appears to be an ZIM-8x8.\r\n"), std::string::npos);
}

TEST_F(Probe, NoDeviceFoundDeletesTheEarlierFileWithoutWritingIt) {
    WriteFile(InProgram("tavo.txt"), "QUELB,COM9\r\n");
    WriteFile(InProgram("tavohwp.txt"), "an earlier log\r\n");
    fs::create_hard_link(InProgram("tavo.txt"), scratch_.File("earlier"));

    ProgramResult r = Run({"-d"});
    EXPECT_EQ(r.status, 0);
    // The earlier file is deleted, never emptied, and no new list stays behind.
    EXPECT_EQ(ReadFile(scratch_.File("earlier")), "QUELB,COM9\r\n");
    EXPECT_EQ(program_.Names(), (std::vector<std::string>{"libtavohwp.so", "tavohwp", "tavohwp.txt"}));
    EXPECT_EQ(Log(InProgram("tavohwp.txt")), Crlf(R"([STAMP]: Log opened.
[STAMP]: NOTE: Ascii characters inside () are feedback from device.

[STAMP]: Log closed.
)"));
}

TEST_F(Probe, DefaultsWithoutCommandLineAndWithEmptyValues) {
    DeviceEmulator relay;
    map_.Map(2, relay.DevicePath());

    // No command line: the program folder's device port file, and no log.
    ProgramResult r = Run({});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(ReadFile(InProgram("tavo.txt")), Crlf("QUELB,COM2\n"));
    EXPECT_FALSE(fs::exists(InProgram("tavohwp.txt")));

    // -o without a value keeps the default file; -d without one logs to the default log.
    fs::remove(InProgram("tavo.txt"));
    r = Run({"-o", "-d", "-x", "ignored"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(ReadFile(InProgram("tavo.txt")), Crlf("QUELB,COM2\n"));
    EXPECT_NE(ReadFile(InProgram("tavohwp.txt")).find("appears to be an QUELB."), std::string::npos);

    // A value names the files.
    r = Run({"-o", "found.txt", "-d" + scratch_.File("probe.log")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(ReadFile(InProgram("found.txt")), Crlf("QUELB,COM2\n"));
    EXPECT_NE(ReadFile(scratch_.File("probe.log")).find("Device found on serial port COM2:"),
              std::string::npos);
}

TEST_F(Probe, BoxesThatEndTheProgramLeaveTheFilesAlone) {
    DeviceEmulator relay;
    map_.Map(1, relay.DevicePath());
    WriteFile(InProgram("tavo.txt"), "ZIM-8x8,COM7\r\n");
    WriteFile(InProgram("tavohwp.txt"), "an earlier log\r\n");

    ProgramResult r = Run({"out.txt", "-d"});  // a first word that is no flag

    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.errors, "Error: Unable to parse application parameters!\n");

    // The map folder that cannot be read is named, with the reason.
    ::setenv("TAVO_PORTS", scratch_.File("no-map").c_str(), 1);
    r = Run({"-d"});
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.errors, "Error: Unable to query registry for configured serial ports!\r\n\r\n" +
                            scratch_.File("no-map") + ": No such file or directory\n");
    ::setenv("TAVO_PORTS", map_.Path().c_str(), 1);

    fs::remove(InProgram("libtavohwp.so"));
    r = Run({"-d"});
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.errors, "Error: Unable to query registry for configured serial ports!\r\n\r\n" +
                            InProgram("libtavohwp.so") +
                            ": cannot open shared object file: No such file or directory\n");
    fs::copy_file(TAVO_PORTLIST_LIBRARY, InProgram("libtavohwp.so"));

    fs::create_directory(scratch_.File("folder"));
    r = Run({"-d", "-o" + scratch_.File("folder")});
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.errors, "File Error: Unable to open the device port file (" + scratch_.File("folder") +
                            ") for writing!\r\n\r\nIs a directory\n");

    // The log and the list named as one file, however spelled: neither is written.
    fs::create_symlink(InProgram("tavo.txt"), scratch_.File("link.txt"));
    for (const std::string& log :
         {std::string("tavo.txt"), std::string("./tavo.txt"), scratch_.File("link.txt")}) {
        r = Run({"-o", "tavo.txt", "-d", log});
        EXPECT_NE(r.status, 0);
        EXPECT_EQ(r.errors, "File Error: The debug file (" + log +
                                ") is the same file as the device port file (tavo.txt)!\n");
    }
    // So are two names of one file not yet there.
    const std::string around =
        scratch_.File("../" + fs::path(program_.Path()).filename().string() + "/new.txt");
    r = Run({"-o", "new.txt", "-d", around});
    EXPECT_EQ(r.errors, "File Error: The debug file (" + around +
                            ") is the same file as the device port file (new.txt)!\n");
    EXPECT_FALSE(fs::exists(InProgram("new.txt")));

    EXPECT_EQ(ReadFile(InProgram("tavo.txt")), "ZIM-8x8,COM7\r\n");
    EXPECT_EQ(ReadFile(InProgram("tavohwp.txt")), "an earlier log\r\n");
    EXPECT_EQ(relay.Received(), "");  // no port was touched
}

TEST_F(Probe, AnOutputThatIsNoPlainFileCannotBeOpened) {
    DeviceEmulator relay;
    map_.Map(1, relay.DevicePath());
    // A named pipe with a reader (an open would not wait), and a stand-in for
    // /dev/null, so that a fault cannot remove the real one.
    const std::string pipe = scratch_.File("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    std::vector<std::string> outputs{pipe};
    const std::string sink = scratch_.File("null");
    if (::mknod(sink.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0) outputs.push_back(sink);
    for (const std::string& output : outputs) {
        ProgramResult r = Run({"-o" + output});
        EXPECT_NE(r.status, 0);
        EXPECT_EQ(r.errors, "File Error: Unable to open the device port file (" + output +
                                ") for writing!\r\n\r\nNot a regular file\n");
    }
    ::close(reader);
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_TRUE(outputs.size() == 1 || fs::is_character_file(sink));
    EXPECT_EQ(relay.Received(), "");
}

TEST_F(Probe, AListThatCannotBeWrittenWholeLeavesTheEarlierOne) {
    // Ten devices give more lines than the disk takes, and fewer bytes than the message.
    std::vector<std::unique_ptr<DeviceEmulator>> relays;
    for (int n = 1; n <= 10; ++n) {
        relays.push_back(std::make_unique<DeviceEmulator>());
        map_.Map(n, relays.back()->DevicePath());
    }
    WriteFile(InProgram("tavo.txt"), "ZIM-8x8,COM7\r\n");
    ProgramResult r;
    {
        FileSizeLimit full(110);
        r = Run({});
    }
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.errors, "File Error: Unable to write the device port file (" + InProgram("tavo.txt") +
                            ")!\r\n\r\nFile too large\n");
    EXPECT_EQ(ReadFile(InProgram("tavo.txt")), "ZIM-8x8,COM7\r\n");
    EXPECT_EQ(program_.Names(), (std::vector<std::string>{"libtavohwp.so", "tavo.txt", "tavohwp"}));
}

TEST_F(Probe, APortInUseIsNamedSoTheListIsKnownIncomplete) {
    DeviceEmulator held;
    DeviceEmulator relay;
    map_.Map(3, held.DevicePath());
    map_.Map(4, relay.DevicePath());
    // Another program holds COM3.
    clsComPort other(EchoRule::KeepStale);
    other.SetComPort(3);
    ASSERT_TRUE(other.OpenPort());

    ProgramResult r = Run({});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.errors, "Warning: COM3 is in use by another program; the device list may be incomplete.\n");
    EXPECT_EQ(ReadFile(InProgram("tavo.txt")), Crlf("QUELB,COM4\n"));

    // With a trace the trace says it.
    r = Run({"-d"});
    EXPECT_EQ(r.errors, "");
    EXPECT_NE(Log(InProgram("tavohwp.txt"))
                  .find("[STAMP]: ERROR: 16\r\n"
                        "[STAMP]: COM3 is in use by another program; the device list may be incomplete.\r\n"
                        "[STAMP]: Error opening serial port COM3:\r\n\r\n"),
              std::string::npos);
    EXPECT_EQ(held.Received(), "");
}

TEST_F(Probe, ATraceThatCannotBeOpenedOrWrittenIsSaidOnStandardError) {
    DeviceEmulator relay;
    map_.Map(1, relay.DevicePath());
    // The probe runs without its log, and does not end as a success.
    ProgramResult r = Run({"-d" + scratch_.Path()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.errors, "File Error: Unable to open the debug file (" + scratch_.Path() +
                            ") for writing!\r\n\r\nIs a directory\n");
    EXPECT_EQ(ReadFile(InProgram("tavo.txt")), Crlf("QUELB,COM1\n"));

    // The trace outgrows the disk; the short device port file does not.
    {
        FileSizeLimit full(200);
        r = Run({"-d"});
    }
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.errors, "File Error: Unable to write the debug file (" + InProgram("tavohwp.txt") +
                            ")!\r\n\r\nFile too large\n");
    EXPECT_EQ(ReadFile(InProgram("tavohwp.txt")).size(), 200u);
    EXPECT_EQ(ReadFile(InProgram("tavo.txt")), Crlf("QUELB,COM1\n"));
}

// A person at a terminal sees which port the scan is at, on one line that is
// erased at the end and before any message; a script reading a pipe sees only the message.
TEST_F(Probe, TheScanStatusLineIsShownOnATerminalOnly) {
    DeviceEmulator relay;
    DeviceEmulator held;
    map_.Map(1, relay.DevicePath());
    map_.Map(2, held.DevicePath());
    map_.Map(3, scratch_.File("no-such-device"));
    clsComPort other(EchoRule::KeepStale);
    other.SetComPort(2);
    ASSERT_TRUE(other.OpenPort());
    const std::string warning =
        "Warning: COM2 is in use by another program; the device list may be incomplete.\n";

    struct Case {
        const char* name;
        bool terminal;
        std::string seen;
    };
    const Case cases[] = {
        {"terminal", true,
         "\rScanning COM1 (1 of 3)...\x1b[K\rScanning COM2 (2 of 3)...\x1b[K\r\x1b[K" + warning +
             "\rScanning COM3 (3 of 3)...\x1b[K\r\x1b[K"},
        {"pipe", false, warning},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramResult r = RunSeenOn(c.terminal, "xterm", program_.File("tavohwp"), {}, program_.Path());
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.errors, c.seen);
        EXPECT_EQ(ReadFile(InProgram("tavo.txt")), Crlf("QUELB,COM1\n"));
    }
}

// Three ports whose device fails the identify command in its own way, then a
// relay controller on COM4: the probe passes over the three at once and finds it.
TEST_F(Probe, BabblingOrUnpluggedDevicesArePassedOverAtOnce) {
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
        std::vector<std::unique_ptr<DeviceEmulator>> faulty;
        for (int n = 1; n <= 3; ++n) {
            faulty.push_back(std::make_unique<DeviceEmulator>(c.options));
            map_.Map(n, faulty.back()->DevicePath());
        }
        DeviceEmulator relay;
        map_.Map(4, relay.DevicePath());

        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Run({"-d"}).status, 0);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        // Waiting out each faulty port took 2.4 s (7.2 s in all), or for ever; a
        // run that passes them over takes a fraction of that, even with the
        // sanitizers on a loaded machine.
        EXPECT_LT(took.count(), 6.0);
        EXPECT_EQ(ReadFile(InProgram("tavo.txt")), "QUELB,COM4\r\n");
        const std::string log = ReadFile(InProgram("tavohwp.txt"));
        for (const char* port : {"COM1", "COM2", "COM3"})
            EXPECT_NE(log.find("No response from device on serial port " + std::string(port) + ":"),
                      std::string::npos);
        EXPECT_NE(log.find(c.traced), std::string::npos);
    }
}

TEST_F(Probe, LinesThatBabbleAreNoDevices) {
    // Eight ports on which random bytes come at 9600 baud and nothing is echoed,
    // then a relay controller: a character that is not the echo spends its try,
    // so such a line neither passes for a device nor holds up the scan.
    std::vector<std::unique_ptr<DeviceEmulator>> lines;
    for (unsigned n = 1; n <= 8; ++n) {
        lines.push_back(std::make_unique<DeviceEmulator>(
            EmulatorOptions{.silent = true, .pace = 1040us, .streams = RandomBytes(4096, n)}));
        map_.Map(static_cast<int>(n), lines.back()->DevicePath());
    }
    DeviceEmulator relay;
    map_.Map(9, relay.DevicePath());

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Run({"-d"}).status, 0);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took.count(), 6.0);  // waiting out four tries on each line takes 9.6 s
    EXPECT_EQ(ReadFile(InProgram("tavo.txt")), "QUELB,COM9\r\n");
}

}  // namespace
}  // namespace tavo::test
