#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "tests/support/DeviceEmulator.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/PipeWriter.h"
#include "tests/support/RunProgram.h"

namespace tavo {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::DeviceEmulator;
using test::DeviceModel;
using test::EmulatorOptions;
using test::PortMapFolder;
using test::ReadFile;
using test::TempFolder;
using test::WithoutStamps;
using test::WriteFile;

std::string Golden(const std::string& name) { return ReadFile(std::string(TAVO_GOLDEN) + "/" + name); }

std::string NotRead(const std::string& port, const std::string& why, const std::string& device = "QUELB") {
    return "Error: The device (" + device + ") on serial port (" + port + ") was not read: " + why + "\n";
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++n;
    return n;
}

// A program folder of its own holding tavoqry and the sample files, and a port map.
class QueryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::copy_file(TAVO_QUERY_PROGRAM, program_);
        for (const char* f : {"tavodevices.cfg", "QUELB_InitCmds.txt", "ZIM-8x8_InitCmds.txt"})
            fs::copy_file(std::string(TAVO_SAMPLES) + "/" + f, dir.File(f));
    }

    test::ProgramResult Run(const std::vector<std::string>& args = {}) {
        return test::RunProgram(program_, args, dir.Path(), dir.File("stderr.txt"));
    }
    void DevicePorts(const std::string& text) { WriteFile(dir.File("tavo.txt"), text); }
    std::string File(const std::string& name) { return ReadFile(dir.File(name)); }
    bool Exists(const std::string& name) { return fs::exists(dir.File(name)); }
    std::string Trace() { return WithoutStamps(File("tavoqry.txt")); }
    // A clean run that wrote the feedback files and reports of the relay
    // controller on COM1 and the matrix switch on COM4 as the sample files read them.
    void ExpectTheGoldenRun(const test::ProgramResult& r) {
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.errors, "");
        for (const char* name : {"feedback_QUELB_COM1.txt", "cinfo_QUELB_COM1.txt",
                                 "feedback_ZIM-8x8_COM4.txt", "cinfo_ZIM-8x8_COM4.txt"})
            EXPECT_EQ(File(name), Golden(name)) << name;
    }

    TempFolder dir;
    PortMapFolder map;
    std::string program_ = dir.File("tavoqry");
};

// Registers of a relay controller: flags, relays, a few IR and X-10 codes.
void LoadRelayController(DeviceEmulator& d) {
    d.SetRegister(0x00, "000A");
    d.SetRegister(0x04, "00FF");
    d.SetRegister(0x10, "0002");
    d.SetRegister(0x11, "0109");
    d.SetRegister(0x24, "6622");
    d.SetRegister(0x37, "E5E3");
}

void LoadMatrixSwitch(DeviceEmulator& d) {
    d.SetRegister(0x01, "1234");
    d.SetRegister(0x02, "5678");
    d.SetRegister(0x0C, "0100");
    d.SetRegister(0x10, "0A0B");
    d.SetRegister(0x2F, "6623");
}

// A relay controller on COM1 and a matrix switch on COM4, their registers loaded.
struct BothDevices {
    explicit BothDevices(PortMapFolder& map, EmulatorOptions relayOptions = {},
                         EmulatorOptions matrixOptions = {})
        : relay(Model(relayOptions, DeviceModel::QUELB)), matrix(Model(matrixOptions, DeviceModel::ZIM8x8)) {
        LoadRelayController(relay);
        LoadMatrixSwitch(matrix);
        map.Map(1, relay.DevicePath());
        map.Map(4, matrix.DevicePath());
    }
    static EmulatorOptions Model(EmulatorOptions options, DeviceModel model) {
        options.model = model;
        return options;
    }
    DeviceEmulator relay;
    DeviceEmulator matrix;
};

TEST_F(QueryTest, ReadsBothModelsIntoFeedbackFilesAndReports) {
    struct Case {
        const char* name;
        EmulatorOptions relay;
        EmulatorOptions matrix;
    };
    // What a device sends besides its replies is no part of them, and no part of the next frame.
    const Case cases[] = {
        {"clean line", {}, {}},
        {"line ends after each reply",
         {.afterReply = test::kLineEnd},
         {.afterReply = test::kLineEnds, .pace = 1040us}},
        // Monitor messages, coming through the whole run or before a reply, are no part of it.
        {"monitor mode left on",
         {.afterReply = "$0CC0zz0004+", .pace = 1040us, .unasked = {{5, "$0A1F+"}}},
         {.noiseBeforeReply = "$0A1F+", .pace = 1040us, .unasked = {{10, "$62x2+"}, {99, "$62x2+"}}}},
    };
    DevicePorts("QUELB,COM1\r\nZIM-8x8,COM4\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BothDevices devices(map, c.relay, c.matrix);
        for (const char* name : {"feedback_QUELB_COM1.txt", "cinfo_QUELB_COM1.txt",
                                 "feedback_ZIM-8x8_COM4.txt", "cinfo_ZIM-8x8_COM4.txt"})
            fs::remove(dir.File(name));

        auto r = Run();
        ExpectTheGoldenRun(r);
        EXPECT_FALSE(Exists("tavoqry.txt"));  // no trace without -d
        // Every line awaited a reply, the write-free sample files included.
        EXPECT_EQ(devices.relay.Frames().size(), 42u);
        EXPECT_EQ(devices.matrix.Frames().size(), 35u);
    }
}

TEST_F(QueryTest, TraceIsEmptiedForTheFirstDeviceAndAppendedForTheNext) {
    DeviceEmulator relay({.model = DeviceModel::QUELB});
    DeviceEmulator matrix({.model = DeviceModel::ZIM8x8});
    map.Map(1, relay.DevicePath());
    map.Map(4, matrix.DevicePath());
    DevicePorts("\r\n  QUELB,COM1  \r\nZIM-8x8,COM4\r\n");
    WriteFile(dir.File("tavoqry.txt"), "from an earlier run\r\n");

    ASSERT_EQ(Run({"-d"}).status, 0);
    const std::string trace = Trace();
    EXPECT_EQ(trace.find("from an earlier run"), std::string::npos);
    EXPECT_EQ(trace.rfind("[STAMP]: Log opened.\r\n"
                          "[STAMP]: NOTE: Ascii characters inside () are feedback from device.\r\n\r\n"
                          "[STAMP]: Device: QUELB on serial port COM1\r\n"
                          "[STAMP]: Feedback file: " +
                              dir.File("feedback_QUELB_COM1.txt") +
                              "\r\n"
                              "[STAMP]: !(!)-(-)\r\n",
                          0),
              std::string::npos)
        << trace.substr(0, 400);
    EXPECT_NE(trace.find("[STAMP]: A device was found.\r\n"
                         "[STAMP]: Processing initialization file: " +
                         dir.File("QUELB_InitCmds.txt") +
                         "\r\n"
                         "[STAMP]: !(!)8(8)0(0)0(0)0(0)0(0)0(0)8(8)0(0)*(*)(!)(8)(0)(0)(0)(0)(0)(*)\r\n"),
              std::string::npos);
    EXPECT_NE(trace.find("[STAMP]: Log closed.\r\n\r\n\r\n\r\n[STAMP]: Log opened.\r\n"), std::string::npos);
    EXPECT_EQ(Count(trace, "Log opened."), 2u);
    EXPECT_EQ(Count(trace, "Log closed."), 2u);
    EXPECT_TRUE(trace.ends_with("[STAMP]: Log closed.\r\n"));
}

TEST_F(QueryTest, AFirstLineWithoutCommaMakesEveryDeviceAppend) {
    DeviceEmulator relay;
    map.Map(1, relay.DevicePath());
    DevicePorts("garbage line\r\nQUELB,COM1\r\n");
    WriteFile(dir.File("tavoqry.txt"), "kept\r\n");

    auto r = Run({"-d"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.errors, "File Error: The device port file (" + dir.File("tavo.txt") +
                            ") is incorrectly formatted! Please run tavohwp.exe.\n");
    EXPECT_TRUE(Trace().starts_with("kept\r\n\r\n\r\n\r\n[STAMP]: Log opened.\r\n"));

    // Without -d the line is passed over in silence.
    r = Run();
    EXPECT_EQ(r.errors, "");
}

TEST_F(QueryTest, UnansweredLinesAndLongRepliesAndAnyDeviceName) {
    DeviceEmulator quiet({.neverReply = true, .noiseBeforeReply = "\x9bQ*"});  // a loop-back line
    DeviceEmulator chatty({.model = DeviceModel::ZIM8x8});
    chatty.SetRegister(0x10, "0A0B77");  // a reply two characters too long
    // A waiting character is taken as the echo: each echo's double derails the frame.
    DeviceEmulator doubled({.echoTwice = true});
    map.Map(2, quiet.DevicePath());
    map.Map(3, chatty.DevicePath());
    map.Map(4, doubled.DevicePath());
    map.Map(5, quiet.DevicePath());
    WriteFile(dir.File("two.txt"), "800000\r\n  050001  \r\n\r\n");  // a write awaits a reply too
    WriteFile(dir.File("one.txt"), "900000\n");
    WriteFile(dir.File("write.txt"), "050001\n");
    WriteFile(dir.File("tavodevices.cfg"), "[Quiet]\r\nInitCmds=" + dir.File("two.txt") +
                                               "\r\n[quelb]\r\nInitCmds=" + dir.File("one.txt") +
                                               "\r\n[Writes]\r\nInitCmds=" + dir.File("write.txt") + "\r\n");
    DevicePorts("Quiet,COM2\r\nquelb,COM3\r\nquelb,COM4\r\nWrites,COM5\r\n");

    const auto r = Run({"-d"});  // a device that answered none of its reads was not read; one sent none was
    const std::string none = "no read command was answered";
    EXPECT_EQ(r.errors, NotRead("COM2", none, "Quiet") + NotRead("COM4", none, "quelb"));
    ASSERT_EQ(r.status, 2);
    EXPECT_EQ(File("feedback_Quiet_COM2.txt"),
              "800000  No response from device.\r\n050001  No response from device.\r\n");
    EXPECT_EQ(File("cinfo_Quiet_COM2.txt"), "****\tNO RESPONSE FROM DEVICE\r\n");
    EXPECT_EQ(Count(Trace(), "No response from device on serial port COM2:\r\n\r\n"), 2u);
    // Any name other than QUELB, even quelb, gets the matrix switch's report.
    EXPECT_EQ(File("feedback_quelb_COM3.txt"), "900A0B\r\n");
    EXPECT_EQ(File("cinfo_quelb_COM3.txt"), "900A0B\tGROUP = 11\tKEY = 12\tIR OUTPUT #1 SELECT\r\n");
    EXPECT_EQ(File("feedback_quelb_COM4.txt"), "900000  No response from device.\r\n");
    EXPECT_TRUE(doubled.Frames().empty());
}

TEST_F(QueryTest, DevicesThatCannotBeReadAreSkippedAndTheRunGoesOn) {
    DeviceEmulator silent({.silent = true});
    DeviceEmulator relay;
    map.Map(1, silent.DevicePath());
    map.Map(2, dir.File("nothing-here"));
    map.Map(5, relay.DevicePath());
    DevicePorts("QUELB,COM1\r\nQUELB,COM2\r\nQUELB, COM5\r\nQUELB,COM99999\r\nQUELB,COM5\r\n");

    auto r = Run({"-d"});
    EXPECT_EQ(r.status, 2);
    const std::string invalid = "invalid serial port name";
    EXPECT_EQ(r.errors, NotRead("COM1", "no device answered") + NotRead("COM2", "No such file or directory") +
                            NotRead(" COM5", invalid) + NotRead("COM99999", invalid));
    const std::string trace = Trace();
    EXPECT_NE(trace.find("Device not recognized on serial port COM1:\r\n\r\n"), std::string::npos);
    EXPECT_NE(trace.find("Error opening serial port COM2:\r\n\r\n"), std::string::npos);
    EXPECT_NE(trace.find("Invalid serial port name ( COM5).\r\n\r\n"), std::string::npos);
    EXPECT_NE(trace.find("Invalid serial port name (COM99999).\r\n\r\n"), std::string::npos);
    EXPECT_EQ(Count(trace, "Log opened."), 5u);
    EXPECT_FALSE(Exists("feedback_QUELB_COM1.txt"));
    EXPECT_FALSE(Exists("cinfo_QUELB_COM2.txt"));
    EXPECT_EQ(Count(File("feedback_QUELB_COM5.txt"), "\r\n"), 42u);
    DevicePorts("QUELB,COM5\r\n");
    ::setenv("TAVO_PORTS", dir.File("no-map").c_str(), 1);  // a map folder that is not there
    EXPECT_EQ(Run().errors, NotRead("COM5", dir.File("no-map") + ": No such file or directory"));
    ::setenv("TAVO_PORTS", map.Path().c_str(), 1);
}

TEST_F(QueryTest, MissingInitializationFileIsLoggedOrShown) {
    DeviceEmulator relay;
    map.Map(1, relay.DevicePath());
    // A device gives no file to read, however much it gives.
    fs::remove(dir.File("QUELB_InitCmds.txt"));
    fs::create_symlink("/dev/zero", dir.File("QUELB_InitCmds.txt"));
    DevicePorts("QUELB,COM1\r\n");

    // A device left unread fails the run, with the reason.
    auto r = Run();
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.errors,
              "File Error: Initialization file was not found for device (QUELB)\r\n\r\nNot a regular file\n");
    EXPECT_FALSE(Exists("feedback_QUELB_COM1.txt"));

    r = Run({"-d"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.errors, "");
    EXPECT_NE(
        Trace().find("[STAMP]: Initialization file was not found for device (QUELB)\r\n\r\nNot a regular "
                     "file\r\n[STAMP]: Log closed."),
        std::string::npos);
}

TEST_F(QueryTest, FeedbackFileThatCannotBeCreatedSkipsOnlyThatDevice) {
    DeviceEmulator relay;
    DeviceEmulator matrix({.model = DeviceModel::ZIM8x8});
    map.Map(1, relay.DevicePath());
    map.Map(2, matrix.DevicePath());
    WriteFile(dir.File("one.txt"), "810000\r\n");
    WriteFile(dir.File("tavodevices.cfg"), "[General]\r\nFeedbackFile=" + dir.File("[devicename]/fb.txt") +
                                               "\r\n[QUELB]\r\nInitCmds=" + dir.File("one.txt") +
                                               "\r\n[ZIM-8x8]\r\nInitCmds=" + dir.File("one.txt") + "\r\n");
    fs::create_directory(dir.File("ZIM-8x8"));
    DevicePorts("QUELB,COM1\r\nZIM-8x8,COM2\r\n");

    auto r = Run({"-c", dir.File("tavodevices.cfg")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.errors, "File Error: Unable to create the feedback file (" + dir.File("QUELB/fb.txt") +
                            ") for device (QUELB)\r\n\r\nNo such file or directory\n");
    EXPECT_FALSE(Exists("cinfo_QUELB_COM1.txt"));
    EXPECT_EQ(File("ZIM-8x8/fb.txt"), "810100\r\n");
    EXPECT_TRUE(Exists("cinfo_ZIM-8x8_COM2.txt"));
}

TEST_F(QueryTest, FeedbackThatCannotBeWrittenWholeIsReportedAndTheRunFails) {
    DeviceEmulator relay;
    map.Map(1, relay.DevicePath());
    std::string commands;
    for (int i = 0; i < 50; ++i) commands += "810000\r\n";
    WriteFile(dir.File("QUELB_InitCmds.txt"), commands);
    DevicePorts("QUELB,COM1\r\n");

    // A named pipe is no feedback file, even with a reader that would take the lines.
    ASSERT_EQ(::mkfifo(dir.File("pipe.txt").c_str(), 0600), 0);
    const int reader = ::open(dir.File("pipe.txt").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    auto r = Run({"-f", dir.File("pipe.txt")});
    ::close(reader);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.errors, "File Error: Unable to create the feedback file (" + dir.File("pipe.txt") +
                            ") for device (QUELB)\r\n\r\nNot a regular file\n");
    EXPECT_TRUE(relay.Frames().empty());

    // A full disk: 400 bytes of feedback lines do not fit in 300.
    {
        test::FileSizeLimit full(300);
        r = Run();
    }
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.errors, "File Error: Unable to write the feedback file (" +
                            dir.File("feedback_QUELB_COM1.txt") +
                            ") for device (QUELB)\r\n\r\nFile too large\n");
    EXPECT_EQ(File("feedback_QUELB_COM1.txt").size(), 300u);
    EXPECT_EQ(File("cinfo_QUELB_COM1.txt"), "810000\tUNKNOWN COMMAND\r\n");

    // A report that cannot be written shows its own box, and the run fails too.
    r = Run({"-i", dir.File("missing/ci.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.errors,
              "Error: An error occured attemping to write the CInfo file!\r\n\r\n"
              "The error object contains:\r\nNo such file or directory\n");
}

// An output named as a file that the run already reads or writes: a trace is
// refused before anything is written; a device's file passes that device over.
TEST_F(QueryTest, OutputsThatWouldTakeAnotherFilesPlaceAreRefused) {
    fs::create_directory(dir.File("a,b"));  // a comma in a traced path once made the run endless
    WriteFile(dir.File("a,b/tavo.txt"), "QUELB,COM1\r\nZIM-8x8,COM4\r\n");
    fs::copy_file(dir.File("QUELB_InitCmds.txt"), dir.File("quelb_initcmds.txt"));
    WriteFile(dir.File("lower.cfg"), "[QUELB]\r\nInitCmds=quelb_initcmds.txt\r\n");
    const std::string skipped = ")!\r\n\r\nThe device was skipped.\n";
    const auto both = [&](const std::string& role, const std::string& path, const std::string& what) {
        return "File Error: The " + role + " (" + path + ") for device (QUELB) is the same file as the " +
               what + skipped + "File Error: The " + role + " (" + path +
               ") for device (ZIM-8x8) is the same file as the " + what + skipped;
    };
    struct Case {
        std::vector<std::string> args;
        std::string errors;
    };
    const Case cases[] = {
        {{"-d", "tavo.txt"},
         "File Error: The debug file (tavo.txt) is the same file as the device port file (" +
             dir.File("tavo.txt") + ")!\n"},
        {{"-p", "a,b/tavo.txt", "-d", dir.File("a,b/tavo.txt")},
         "File Error: The debug file (" + dir.File("a,b/tavo.txt") +
             ") is the same file as the device port file (a,b/tavo.txt)!\n"},
        {{"-d", "tavodevices.cfg"},
         "File Error: The debug file (tavodevices.cfg) is the same file as the configuration file (" +
             dir.File("tavodevices.cfg") + ")!\n"},
        {{"-d", "./ZIM-8x8_InitCmds.txt"},
         "File Error: The debug file (./ZIM-8x8_InitCmds.txt) is the same file as the initialization file (" +
             dir.File("ZIM-8x8_InitCmds.txt") + ") of device (ZIM-8x8)!\n"},
        {{"-c", "lower.cfg", "-f", "QUELB_INITCMDS.TXT"},
         "File Error: The feedback file (quelb_initcmds.txt) for device (QUELB) is the same file as the "
         "initialization file (quelb_initcmds.txt" +
             skipped +
             "File Error: The feedback file (quelb_initcmds.txt) for device (ZIM-8x8) is the same file as "
             "the "
             "initialization file (quelb_initcmds.txt) of device (QUELB" +
             skipped},
        {{"-f", "x_[port].txt", "-i", "./X_[PORT].TXT"},
         "File Error: The CInfo file (./x_COM1.txt) for device (QUELB) is the same file as the feedback file "
         "(x_COM1.txt" +
             skipped +
             "File Error: The CInfo file (./x_COM4.txt) for device (ZIM-8x8) is the same file as the "
             "feedback "
             "file (x_COM4.txt" +
             skipped},
        {{"-i", "tavodevices.cfg"},
         both("CInfo file", "tavodevices.cfg", "configuration file (" + dir.File("tavodevices.cfg"))},
        {{"-f", "tavo.txt"}, both("feedback file", "tavo.txt", "device port file (" + dir.File("tavo.txt"))},
        {{"-d", "trace.txt", "-i", "trace.txt"}, both("CInfo file", "trace.txt", "debug file (trace.txt")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1] + " " + c.args.back());
        BothDevices devices(map);
        DevicePorts("QUELB,COM1\r\nZIM-8x8,COM4\r\n");
        const std::vector<std::string> kept{
            "tavo.txt",           "a,b/tavo.txt",         "tavodevices.cfg",
            "QUELB_InitCmds.txt", "ZIM-8x8_InitCmds.txt", "quelb_initcmds.txt"};
        std::vector<std::string> before;
        for (const std::string& f : kept) before.push_back(File(f));

        auto r = Run(c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.errors, c.errors);
        for (std::size_t i = 0; i < kept.size(); ++i) EXPECT_EQ(File(kept[i]), before[i]) << kept[i];
        for (const char* output : {"feedback_QUELB_COM1.txt", "cinfo_ZIM-8x8_COM4.txt", "x_COM1.txt"})
            EXPECT_FALSE(Exists(output)) << output;
        // Nothing was asked of a device passed over.
        EXPECT_EQ(devices.relay.Received(), "");
        EXPECT_EQ(devices.matrix.Received(), "");
    }
}

TEST_F(QueryTest, ADevicePortFileThatCannotBeReadEndsTheRunWithItsReason) {
    // Reading this file from its start fails: no mapped memory lies there.
    auto r = Run({"-p", "/proc/self/mem"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(
        r.errors,
        "File Error: Unable to read the device port file (/proc/self/mem)!\r\n\r\nInput/output error\n");
}

TEST_F(QueryTest, ATraceThatCannotBeOpenedIsSaidOnceAndMessagesAreShownInstead) {
    DeviceEmulator relay;
    map.Map(1, relay.DevicePath());
    fs::remove(dir.File("QUELB_InitCmds.txt"));
    DevicePorts("QUELB,COM1\r\nQUELB,COM1\r\n");
    ASSERT_EQ(::mkfifo(dir.File("pipe.txt").c_str(), 0600), 0);
    const int reader = ::open(dir.File("pipe.txt").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    const std::string notFound =
        "File Error: Initialization file was not found for device (QUELB)\r\n\r\nNo such file or directory\n";
    for (const auto& [trace, reason] :
         {std::pair{dir.Path(), "Is a directory"}, std::pair{dir.File("pipe.txt"), "Not a regular file"}}) {
        auto r = Run({"-d" + trace});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.errors, "File Error: Unable to open the debug file (" + trace + ") for writing!\r\n\r\n" +
                                reason + "\n" + notFound + notFound);
    }
    ::close(reader);
}

TEST_F(QueryTest, CommandLineAndConfigurationFile) {
    DeviceEmulator relay;
    map.Map(1, relay.DevicePath());
    WriteFile(dir.File("one.txt"), "800000\r\n");
    WriteFile(dir.File("ports.txt"), "QUELB,COM1\r\n");
    WriteFile(dir.File("my.cfg"), "[general]\r\ndeviceportfile=" + dir.File("ports.txt") +
                                      "\r\nDebugFile=" + dir.File("trace.txt") +
                                      "\r\nCInfoFile=" + dir.File("ci_[devicename].txt") +
                                      "\r\n[QUELB]\r\nInitCmds=" + dir.File("one.txt") + "\r\n");

    for (const char* flag : {"-p", "-f", "-i"}) {
        auto r = Run({"-c", dir.File("my.cfg"), flag});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.errors,
                  std::string("Syntax Error: The ") + flag + " parameter requires a file name argument!\n");
    }
    auto r = Run({"-x", "a", "b"});
    EXPECT_EQ(r.errors, "Error: Unable to parse application parameters!\n");
    EXPECT_EQ(r.status, 1);
    r = Run({"-c", dir.File("missing.cfg")});
    EXPECT_EQ(r.errors,
              "File Error: Configuration file not specified or found!\r\n\r\nNo such file or directory\n");
    EXPECT_EQ(r.status, 1);

    // With a command line [General] is read; -f takes the template.
    r = Run({"-c", dir.File("my.cfg"), "-d", "-f", dir.File("FB_[port].TXT")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(File("fb_COM1.txt"), "800000\r\n");
    EXPECT_TRUE(Exists("ci_QUELB.txt"));
    EXPECT_NE(ReadFile(dir.File("trace.txt")).find("Log opened."), std::string::npos);

    // Without one it is not: tavo.txt of the program folder is needed, as a
    // file. An empty -c keeps the program folder's configuration file.
    WriteFile(dir.File("tavodevices.cfg"), ReadFile(dir.File("my.cfg")));
    fs::create_symlink("/dev/null", dir.File("tavo.txt"));
    r = Run();
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.errors, "File Error: The device port file (" + dir.File("tavo.txt") +
                            ") was not found! Please run tavohwp.exe first.\r\n\r\nNot a regular file\n");
    EXPECT_EQ(Run({"-c"}).errors, "");
}

// On a terminal the query shows the device and port it reads and how far it has come; the line is erased
// before a message, and when a signal ends the run, which lets go of its port, refused to others till then.
TEST_F(QueryTest, TheStatusLineIsErasedAndThePortFreedWhenASignalEndsTheRun) {
    DeviceEmulator mute({.neverReply = true});
    map.Map(3, mute.DevicePath());
    ASSERT_EQ(::chmod(mute.DevicePath().c_str(), 0666), 0);  // open to a user who is not root
    const auto openError = [&] {
        return test::AsUser(
            [&] { return ::open(mute.DevicePath().c_str(), O_RDWR | O_NOCTTY) < 0 ? errno : 0; });
    };
    if (openError() == 255) GTEST_SKIP() << "cannot run as another user";
    DevicePorts("QUELB,COM2\r\n");  // an entry the map lacks
    const std::string notRead = NotRead("COM2", "No such file or directory");
    EXPECT_EQ(test::RunSeenOn(true, "dumb", program_, {}, dir.Path()).errors, notRead);
    DevicePorts("QUELB,COM2\r\nZIM-8x8,COM3\r\n");
    const std::string shown =
        "\rReading QUELB on COM2...\x1b[K\r\x1b[K" + notRead +
        "\rReading ZIM-8x8 on COM3...\x1b[K\rReading ZIM-8x8 on COM3 (command 1 of 35)...\x1b[K";
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        auto r = test::RunSeenOn(true, "xterm", program_, {}, dir.Path(), shown, signal,
                                 [&] { EXPECT_EQ(openError(), EBUSY); });
        EXPECT_EQ(r.status, 128 + signal);
        EXPECT_TRUE(r.errors.starts_with(shown) && r.errors.ends_with(")...\x1b[K\r\x1b[K")) << r.errors;
        EXPECT_EQ(openError(), 0) << signal;
    }
}

// Text in the line ends of other editors, with or without a byte-order mark.
std::string Variant(const std::string& crlfText, const std::string& lineEnd, bool mark) {
    std::string out = mark ? "\xEF\xBB\xBF" : "";
    for (std::size_t pos = 0, end; pos < crlfText.size(); pos = end + 2) {
        end = crlfText.find("\r\n", pos);
        out += crlfText.substr(pos, end - pos) + lineEnd;
    }
    return out;
}

// The device port file and the initialization files with a byte-order mark or
// CR line ends give the feedback files and reports of clean ones.
TEST_F(QueryTest, ByteOrderMarkAndCrLineEndsReadAsCleanFiles) {
    const std::string ports = "QUELB,COM1\r\nZIM-8x8,COM4\r\n";
    const std::string relayLines = File("QUELB_InitCmds.txt");
    const std::string matrixLines = File("ZIM-8x8_InitCmds.txt");
    struct Case {
        const char* name;
        const char* lineEnd;
        bool mark;
    };
    for (const Case& c : {Case{"mark", "\r\n", true}, Case{"CR", "\r", false},
                          Case{"mark and CR", "\r", true}, Case{"mark and LF", "\n", true}}) {
        SCOPED_TRACE(c.name);
        BothDevices devices(map);
        DevicePorts(Variant(ports, c.lineEnd, c.mark));
        WriteFile(dir.File("QUELB_InitCmds.txt"), Variant(relayLines, c.lineEnd, c.mark));
        WriteFile(dir.File("ZIM-8x8_InitCmds.txt"), Variant(matrixLines, c.lineEnd, c.mark));

        auto r = Run();
        ExpectTheGoldenRun(r);
        EXPECT_EQ(devices.relay.Frames().size(), 42u);
        EXPECT_EQ(devices.matrix.Frames().size(), 35u);
    }
}

// Every input through a pipe: the configuration by process substitution, read
// once for both devices' InitCmds lookups, the initialization files likewise,
// the device port file in a named pipe. The program folder has no
// initialization file to fall back on.
TEST_F(QueryTest, PipesServeAsInputFiles) {
    BothDevices devices(map);
    for (const char* f : {"QUELB_InitCmds.txt", "ZIM-8x8_InitCmds.txt"}) fs::remove(dir.File(f));
    test::PipeWriter ports(dir.File("tavo.fifo"), "QUELB,COM1\r\nZIM-8x8,COM4\r\n");
    auto r = test::RunProgram(
        "/bin/bash",
        {"-c",
         "exec 3< <(cat \"$2QUELB_InitCmds.txt\") 4< <(cat \"$2ZIM-8x8_InitCmds.txt\"); "
         "\"$0\" -c <(printf '[QUELB]\\rInitCmds=/dev/fd/3\\r[ZIM-8x8]\\rInitCmds=/dev/fd/4') -p \"$1\"",
         program_, ports.Path(), std::string(TAVO_SAMPLES) + "/"},
        dir.Path(), dir.File("stderr.txt"));
    ExpectTheGoldenRun(r);
}

// A device node as the configuration file is refused like a missing one: the
// run ends before it reads the device port file, and writes nothing.
TEST_F(QueryTest, DeviceAsConfigurationFileIsRefused) {
    DeviceEmulator relay;
    map.Map(1, relay.DevicePath());
    DevicePorts("QUELB,COM1\r\n");
    WriteFile(dir.File("stderr.txt"), "");
    const std::vector<std::string> before = dir.Names();
    for (const char* device : {"/dev/null", "/dev/zero"}) {
        auto r = Run({"-c", device});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.errors,
                  "File Error: Configuration file not specified or found!\r\n\r\nNot a regular file\n");
        EXPECT_EQ(dir.Names(), before);
        EXPECT_TRUE(relay.Frames().empty());
    }
}

// A relay controller that fails during its 42-line initialization file: the
// query records every line and ends within seconds.
TEST_F(QueryTest, BabblingOrUnpluggedDeviceEndsTheRunWithinSeconds) {
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
    DevicePorts("QUELB,COM1\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceEmulator device(c.options);
        map.Map(1, device.DevicePath());

        const auto start = std::chrono::steady_clock::now();
        auto r = Run({"-d"});
        EXPECT_EQ(r.errors,
                  NotRead("COM1", c.answered ? "the line hung up" : "no read command was answered"));
        EXPECT_EQ(r.status, 2);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        // Each line ends on its own bound: a babbling line at its reply's 64th
        // character (about 64 ms here, for each of the 42 lines), a hung-up one at
        // once. Waiting out a hung-up line cost 2.4 s a line, a babbling one for ever.
        EXPECT_LT(took.count(), 15.0);
        const std::string feedback = File("feedback_QUELB_COM1.txt");
        EXPECT_EQ(Count(feedback, "\r\n"), 42u);
        EXPECT_EQ(feedback.substr(0, 8 * c.answered),
                  std::string("800000\r\n840000\r\n900000\r\n").substr(0, 8 * c.answered));
        if (c.answered > 0) {
            EXPECT_EQ(Count(feedback, "  No response from device.\r\n"), 42 - c.answered);
        }
        EXPECT_NE(File("tavoqry.txt").find(c.traced), std::string::npos);
    }
}

}  // namespace
}  // namespace tavo
