// Both device windows against an emulated device on COM1: the first read
// through the initialization file with its feedback file, debug trace, report
// and what the window shows meanwhile, writing settings to the device, loading
// a settings file, and a port or device that cannot be reached.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QtTest/QTest>
#include <set>

#include "config/QtMousePointer.h"
#include "link/modCommon.h"
#include "tests/support/InputLimitsScope.h"
#include "tests/support/PipeWriter.h"
#include "tests/windows/WindowFixture.h"
#include "windows/clsDeviceMonitor.h"

namespace tavo::test {
namespace {

using namespace std::literals;

TEST(DeviceWindow, RelayFirstReadRecordsAndAppliesTheReplies) {
    TestWindow<frmQUELB> line({
        .demo = false,
        // A blank line, a write line, a tab that makes a read a write, a lower-case
        // read, a code of no register, and a frame the device drops for its wrong
        // checksum (no reply).
        .initLines =
            "800000\r\n840000\r\n\r\n  900000  \r\n010008\r\n\t9A0000\r\na40000\r\n8F0000\r\n!800000FF*",
        .registers = {{0x00, "000F"},  // both controls and both monitor modes on
                      {0x04, "0103"},  // A/B relay, relays 1 and 2 on
                      {0x10, "0002"},  // "All Relays" on: group 1, key 3
                      {0x24, "1E12"}},
        .debugFile = true,
        .feedbackFile = true,
        .cinfoFile = true,
        .load = false,
    });
    frmQUELB& w = line.window;
    QWidget chooser;  // the program's active window while the device window loads
    chooser.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&chooser));
    QtMousePointerHost pointer;
    SetMousePointerHost(&pointer);
    // What the user sees whenever the window lets the user interface run: status, pointer, busy.
    std::set<std::string> seen;
    SetYieldHook([&] {
        seen.insert(w.StatusText(1) + (w.Busy() ? "/busy/" : "/") + std::to_string(pointer.MousePointer()));
        QCoreApplication::processEvents();
    });
    w.Form_Load();
    ASSERT_TRUE(w.DeviceUsable());
    w.Form_Activate();
    SetMousePointerHost(nullptr);
    // "/11" is the device check, before the load shows its state.
    EXPECT_EQ(seen, (std::set<std::string>{"/11", "Initializing, please wait.../11",
                                           "Communicating with device, please wait.../busy/11",
                                           "Communicating with device, please wait.../11"}));
    EXPECT_EQ(pointer.MousePointer(), kDefaultPointer);

    EXPECT_EQ(ReadFile(line.dir.File("feedback.txt")),
              "80000F\r\n840103\r\n900002\r\nA41E12\r\n8F0000\r\n!800000FF*  No response from device.\r\n");
    EXPECT_NE(ReadFile(line.dir.File("cinfo.txt")).find("80000F"), std::string::npos);
    const std::string trace = ReadFile(line.dir.File("debug.txt"));
    for (const char* expected :
         {"Device: QUELB on serial port COM1", "Feedback file: ", "Com information file: ",
          "A device was found.", "Processing file: ", "No response from device on serial port COM1:",
          "Unknown response from device: (8F0000)", "Unknown response from device: (****)"})
        EXPECT_NE(trace.find(expected), std::string::npos) << expected;

    // The reads, the write line, then the monitor-off words for the reported monitor modes.
    const Strings frames = line.device->Frames();
    ASSERT_GE(frames.size(), 2u);
    EXPECT_EQ(frames[frames.size() - 2], "020004");
    EXPECT_EQ(frames.back(), "020001");
    EXPECT_EQ(std::count(frames.begin(), frames.end(), "010008"), 1);
    EXPECT_EQ(std::count(frames.begin(), frames.end(), "9A0000"), 1);  // sent, its reply not collected

    EXPECT_EQ(CheckValues(w), (std::vector<int>{1, 0, 1, 0}));
    EXPECT_FALSE(w.MonitoringIR() || w.MonitoringX10());
    EXPECT_EQ(w.mABRelayState, 1);
    EXPECT_EQ(Drawn(w.shpRelayLED, kDrawnGrey) + Drawn(std::array{w.shpRelayABLED}, kDrawnGrey), "110000001");
    EXPECT_EQ(Combo(w, "cboIRKeyOn", 0)->currentText(), "3");
    EXPECT_EQ(Combo(w, "cboX10House", 0)->currentText(), "E");  // X-10 code string "1E12"
    EXPECT_EQ(Combo(w, "cboX10Unit", 0)->currentText(), "2");
    EXPECT_FALSE(w.Modified());
    EXPECT_FALSE(w.Loading());
    EXPECT_EQ(w.windowTitle().toStdString(), "TAVO QUELB Device Configuration");
    EXPECT_EQ(w.StatusText(1), "Ready");
    // The frame the device dropped left one setting unread: the user is told before applying.
    ASSERT_EQ(Boxes(line.boxes).size(), 1u);
    EXPECT_TRUE(Boxes(line.boxes)[0].starts_with("Device Error | The device did not answer 1 of the 6 reads"));

    w.Form_Unload();
    EXPECT_EQ(w.ComPort(), nullptr);
    EXPECT_NE(ReadFile(line.dir.File("debug.txt")).find("Log closed."), std::string::npos);
}

TEST(DeviceWindow, FirstReadAndApplyOfADeviceThatSendsBesidesItsReplies) {
    // At 9600 baud the line ends after a reply are still coming when the window
    // empties the buffer for the next frame: they are passed over, not taken as
    // an echo. So are the monitor messages of a device left in monitor mode.
    TestWindow<frmQUELB> line({
        .demo = false,
        .initLines = "800000\r\n840000\r\n900000\r\na40000\r\n",
        .registers = {{0x00, "000A"}, {0x04, "00FF"}, {0x10, "0002"}, {0x24, "1E12"}},
        .emulator = {.noiseBeforeReply = "$0CC0zz0004+",
                     .afterReply = kLineEnds + "$0A1F+" + kLineEnds,
                     .pace = 1040us,
                     .unasked = {{14, "$62x2+"}}},
        .feedbackFile = true,
    });
    frmQUELB& w = line.window;
    EXPECT_EQ(ReadFile(line.dir.File("feedback.txt")), "80000A\r\n8400FF\r\n900002\r\nA41E12\r\n");
    EXPECT_EQ(line.NewFrames(), (Strings{"800000", "840000", "900000", "A40000"}));
    EXPECT_EQ(CheckValues(w), (std::vector<int>{1, 0, 1, 0}));
    EXPECT_EQ(Combo(w, "cboIRKeyOn", 0)->currentText(), "3");
    EXPECT_EQ(Combo(w, "cboX10House", 0)->currentText(), "E");

    // The monitor started next takes its messages whole: the line ends were left behind.
    Find<QCheckBox>(w, "chkMonitorIR")->setCheckState(Qt::Checked);
    EXPECT_EQ(line.NewFrames(), Strings{"010004"});
    w.Monitor().tmrMonitorIR_Timer();
    line.device->Inject("$0A1F+");
    EXPECT_TRUE(WaitFor([&] {
        return Find<QLabel>(w, "lblMonitorIRGroup")->text() == "11" &&
               Find<QLabel>(w, "lblMonitorIRKey")->text() == "32";
    }));
    Find<QCheckBox>(w, "chkMonitorIR")->setCheckState(Qt::Unchecked);
    DistinctCodes(w);
    w.mnuFileApply_Click();
    EXPECT_EQ(line.NewFrames().size(), 1u + 42u);  // the monitor-off word, then every frame
    EXPECT_TRUE(line.boxes.Shown().empty());
}

// One flag of the first read at a time: the box it sets, and the monitor-off
// word sent for a monitor mode the device reports on.
struct FlagCase {
    bool relay;
    const char* data;        // of the flags register: "80" of the relay controller, "8C" of the matrix switch
    std::vector<int> boxes;  // the four check boxes after the read (the monitor boxes end unchecked)
    Strings monitorBoxes;    // the changes of the monitor boxes during the read
    Strings monitorOffWords;
};

template <typename Window>
void FirstReadOfOneFlag(const FlagCase& c) {
    const bool relay = std::is_same_v<Window, frmQUELB>;
    TestWindow<Window> line({.demo = false,
                             .initLines = relay ? "800000" : "8C0000",
                             .registers = {{relay ? 0x00 : 0x0C, c.data}},
                             .activate = false});
    Window& w = line.window;
    Strings changes;
    for (const char* name : {"chkMonitorIR", "chkMonitorX10"})
        QObject::connect(Find<QCheckBox>(w, name), &QCheckBox::stateChanged, [&changes, name](int state) {
            changes.push_back(std::string(name) + (state == Qt::Checked ? " checked" : " unchecked"));
        });
    w.Form_Activate();
    EXPECT_EQ(CheckValues(w), c.boxes);
    EXPECT_EQ(changes, c.monitorBoxes);
    Strings frames{relay ? "800000" : "8C0000"};
    frames.insert(frames.end(), c.monitorOffWords.begin(), c.monitorOffWords.end());
    EXPECT_EQ(line.device->Frames(), frames);
    EXPECT_FALSE(w.MonitoringIR() || w.MonitoringX10());
}

TEST(DeviceWindow, EachFlagOfTheFirstReadDrivesItsOwnBoxAndMonitorOffWord) {
    const Strings ir = {"chkMonitorIR checked", "chkMonitorIR unchecked"};
    const Strings x10 = {"chkMonitorX10 checked", "chkMonitorX10 unchecked"};
    const FlagCase cases[] = {
        {true, "0008", {1, 0, 0, 0}, {}, {}},           // IR control
        {true, "0004", {0, 0, 0, 0}, ir, {"020004"}},   // IR monitor mode
        {true, "0002", {0, 0, 1, 0}, {}, {}},           // X-10 control
        {true, "0001", {0, 0, 0, 0}, x10, {"020001"}},  // X-10 monitor mode
        {false, "1000", {1, 0, 0, 0}, {}, {}},          // the same flags of the matrix switch
        {false, "0100", {0, 0, 0, 0}, ir, {"070000"}},  //
        {false, "0010", {0, 0, 1, 0}, {}, {}},          //
        {false, "0001", {0, 0, 0, 0}, x10, {"0B0000"}},
    };
    for (const FlagCase& c : cases) {
        SCOPED_TRACE(std::string(c.relay ? "QUELB " : "ZIM-8x8 ") + c.data);
        c.relay ? FirstReadOfOneFlag<frmQUELB>(c) : FirstReadOfOneFlag<frmZIM8x8>(c);
    }
}

TEST(DeviceWindow, CommandFileRunOfWriteLinesAndRepeatedReads) {
    TestWindow<frmQUELB> line({.demo = false, .feedbackFile = true});
    frmQUELB& w = line.window;

    // Write lines only (a lower-case one among them): sent, nothing collected, an empty feedback file.
    WriteFile(line.dir.File("writes.txt"), "100102\r\n  7f0000\r\n\r\n!1A0304DF*\r\n");
    WriteFile(line.dir.File("feedback.txt"), "old record\r\n");
    ReplySet replies;
    EXPECT_TRUE(w.ProcessCommandFile("  " + line.dir.File("writes.txt") + "  ", replies));
    EXPECT_TRUE(replies.Empty());
    EXPECT_TRUE(FileExists(line.dir.File("feedback.txt")));
    EXPECT_EQ(ReadFile(line.dir.File("feedback.txt")), "");
    EXPECT_EQ(line.device->Register(0x10), "0102");
    EXPECT_EQ(line.device->Register(0x7F), "0000");
    EXPECT_EQ(line.device->Register(0x1A), "0304");  // a ready frame goes as it is

    // A register read twice is one entry of the reply set; the feedback file has both lines.
    WriteFile(line.dir.File("reads.txt"), "900000\r\n9A0000\r\n900000\r\n");
    EXPECT_TRUE(w.ProcessCommandFile(line.dir.File("reads.txt"), replies));
    ASSERT_EQ(replies.Count(), 2u);
    EXPECT_EQ(replies.At(0), "900102");
    EXPECT_EQ(replies.KeyAt(1), "9A");
    EXPECT_EQ(ReadFile(line.dir.File("feedback.txt")), "900102\r\n9A0304\r\n900102\r\n");

    // From another editor (a byte-order mark, CR line ends) or through a pipe,
    // every line is run as from a clean file.
    WriteFile(line.dir.File("editor.txt"),
              "\xEF\xBB\xBF"
              "100304\r7f0102\r900000\r");
    {
        test::PipeWriter pipe(line.dir.File("written.txt"),
                              "\xEF\xBB\xBF"
                              "100506\r\n900000\r\n");
        for (const std::string& file : {line.dir.File("editor.txt"), pipe.Path()}) {
            ReplySet read;
            EXPECT_TRUE(w.ProcessCommandFile(file, read));
            ASSERT_EQ(read.Count(), 1u);
        }
    }
    EXPECT_EQ(line.device->Register(0x10), "0506");
    EXPECT_EQ(line.device->Register(0x7F), "0102");
    EXPECT_EQ(ReadFile(line.dir.File("feedback.txt")), "900506\r\n");

    // A device, a folder, or a named pipe nobody writes to, gives no command
    // file: it is missing, and the box says why.
    const std::string pipe = line.dir.File("pipe.txt");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    {
        InputLimitsScope shortWait(ShortPipeWait());
        bool answered = false;  // the window answers while it waits for the pipe
        QTimer::singleShot(0, &w, [&] { answered = w.Busy(); });
        for (const std::string& file : {pipe, std::string("/dev/zero"), line.dir.Path()}) {
            EXPECT_FALSE(w.ProcessCommandFile(file, replies));
            EXPECT_FALSE(w.Busy());
        }
        EXPECT_TRUE(answered);
    }
    EXPECT_EQ(Boxes(line.boxes),
              (Strings{"File Error | Command file was not found (" + pipe +
                           ").\r\n\r\nThe pipe was not written and closed in time",
                       "File Error | Command file was not found (/dev/zero).\r\n\r\nNot a regular file",
                       "File Error | Command file was not found (" + line.dir.Path() +
                           ").\r\n\r\nIs a directory"}));

    // A name of blanks only: nothing runs, nothing is asked, the window never goes busy.
    EXPECT_FALSE(w.ProcessCommandFile("   ", replies));
    EXPECT_FALSE(w.Busy());
    EXPECT_EQ(w.StatusText(1), "Ready");
    EXPECT_EQ(line.boxes.Shown().size(), 3u);
}

TEST(DeviceWindow, ApplySendsExactlyTheLinesOfTheSettingsFile) {
    TestWindow<frmQUELB> line({.demo = false});
    frmQUELB& w = line.window;

    // No edit yet: Apply is not offered.
    w.mnuFile_Click();
    EXPECT_FALSE(Find<QAction>(w, "mnuFileApply")->isEnabled());

    DistinctCodes(w);
    Find<QCheckBox>(w, "chkEnableX10")->setCheckState(Qt::Checked);  // IR stays unchecked
    Combo(w, "cboIRGroupOn", 3)->setCurrentIndex(4);
    Combo(w, "cboX10House", 5)->setCurrentIndex(12);
    EXPECT_TRUE(w.Modified());
    EXPECT_EQ(w.windowTitle().toStdString(), "TAVO QUELB Device Configuration (modified)");
    w.mnuFile_Click();
    ASSERT_TRUE(Find<QAction>(w, "mnuFileApply")->isEnabled());

    line.NewFrames();
    Find<QAction>(w, "mnuFileApply")->trigger();
    const Strings frames = line.NewFrames();
    ASSERT_EQ(frames.size(), 42u);
    EXPECT_EQ(Strings(frames.begin(), frames.begin() + 2), (Strings{"010002", "02000D"}));
    EXPECT_EQ(frames[2 + 3], "130400");
    EXPECT_FALSE(w.Modified());
    w.mnuFile_Click();
    EXPECT_FALSE(Find<QAction>(w, "mnuFileApply")->isEnabled());

    line.state.dialogs.answers.push_back(line.dir.File("settings.txt"));
    ASSERT_TRUE(w.SaveSettingsFile());
    std::string lines;
    for (const std::string& frame : frames) lines += frame + "\r\n";
    EXPECT_EQ(ReadFile(line.dir.File("settings.txt")), lines);
    EXPECT_TRUE(line.boxes.Shown().empty());
}

TEST(DeviceWindow, ApplyStopsAtTheFirstCommandTheDeviceDoesNotEcho) {
    // The device check's two characters, the two general frames, then the first IR frame breaks off.
    // The device is seen (its first echo) before it falls silent; the first read has nothing to do.
    TestWindow<frmQUELB> line({.demo = false, .emulator = {.stopEchoAfter = 2 + 10 * 2 + 3}, .load = false});
    frmQUELB& w = line.window;
    w.Form_Load();
    ASSERT_TRUE(w.DeviceUsable());
    w.Form_Activate();
    DistinctCodes(w);
    w.mnuFileApply_Click();
    EXPECT_EQ(Boxes(line.boxes),
              Strings{"Error Writing Settings | An error occured writing IR settings to the device!"});
    EXPECT_FALSE(w.Busy());
    EXPECT_TRUE(w.Modified());
    // The device check, the two general frames, the broken IR frame, and nothing after it.
    EXPECT_EQ(std::ranges::count(line.device->Received(), '!'), 4);
}

TEST(DeviceWindow, LoadRunsTheSettingsFileThenReadsTheDeviceAgain) {
    TestWindow<frmZIM8x8> line({.demo = false,
                                .initLines = "810000\r\n8C0000\r\n900000\r\n980000",
                                .registers = {{0x0C, "1100"}},  // IR control on, IR monitor on
                                .feedbackFile = true});
    frmZIM8x8& w = line.window;
    EXPECT_EQ(Find<QCheckBox>(w, "chkMonitorIR")->checkState(), Qt::Unchecked);

    // Monitor mode reported again after the load: one monitor-off word, from the re-read.
    line.device->SetRegister(0x0C, "1100");
    WriteFile(line.dir.File("load.txt"), "011234\r\n  100102\r\n\r\n!180304e1*\r\n");
    line.state.dialogs.answers.push_back(line.dir.File("load.txt"));
    w.SetModified(true);
    line.NewFrames();
    Find<QAction>(w, "mnuFileLoad")->trigger();
    EXPECT_EQ(line.NewFrames(),
              (Strings{"011234", "100102", "180304", "810000", "8C0000", "900000", "980000", "070000"}));
    EXPECT_EQ(line.state.dialogs.kinds, Strings{"open"});
    EXPECT_EQ(line.state.dialogs.filters, Strings{"Text Files (*.txt) | *.txt"});
    EXPECT_EQ(ReadFile(line.dir.File("feedback.txt")), "811234\r\n8C1100\r\n900102\r\n980304\r\n");
    EXPECT_EQ(Combo(w, "cboIRGroupOUT", 0)->currentText(), "2");
    EXPECT_EQ(Combo(w, "cboIRKeyOUT", 0)->currentText(), "3");
    EXPECT_EQ(Combo(w, "cboIRGroupIN", 0)->currentText(), "4");
    EXPECT_EQ(Combo(w, "cboIRKeyIN", 0)->currentText(), "5");
    EXPECT_EQ(w.mRouting[3], 3);
    EXPECT_EQ(Find<QCheckBox>(w, "chkMonitorIR")->checkState(), Qt::Unchecked);
    EXPECT_FALSE(w.Modified());
    EXPECT_FALSE(w.Busy());
    EXPECT_EQ(w.StatusText(1), "Ready");

    // A cancelled dialog, a file that is not there or a device does nothing.
    Find<QAction>(w, "mnuFileLoad")->trigger();
    for (const std::string& file : {line.dir.File("missing.txt"), std::string("/dev/null")}) {
        line.state.dialogs.answers.push_back(file);
        Find<QAction>(w, "mnuFileLoad")->trigger();
    }
    EXPECT_TRUE(line.NewFrames().empty());
    EXPECT_TRUE(line.boxes.Shown().empty());

    // No settings (a program, UTF-16 text, a line that is no command word, none at all): refused before
    // anything is sent, the edit kept. Good ones the device does not take whole (the re-read unanswered,
    // the line hung up) are reported. Either way Apply and the close question stand.
    const std::string file = line.dir.File("bad.txt"), unread = "Device Error | The device did not answer 1";
    const std::string refused =
        "File Error | Command file was not sent to the device (" + file + ").\r\n\r\n";
    WriteFile(line.dir.File("init.txt"), "!800000FF*");  // a frame the device drops: no reply
    for (const auto& [text, box] :
         {std::pair{"\177ELF\2\1\1\0\0\n"s, refused + "Line 1 holds NUL bytes or other control characters"},
          {"\377\3760\0001\0001\0002\0003\0004\0\r\0\n\0"s, refused + "Line 1 holds NUL bytes"},
          {"011234\r\n\r\n100102 ; on\r\n"s, refused + "Line 3 is not a command word"},
          {" \r\n"s, refused + "It holds no command word."},
          {"100102\r\n"s, unread},
          {"100102\r\n"s, "Error Writing Settings | An error occured writing settings to the device!"s}}) {
        if (box.starts_with("Error Writing")) line.device->Unplug();
        w.SetModified(box.starts_with(refused));
        WriteFile(file, text);
        line.state.dialogs.answers.push_back(file);
        Find<QAction>(w, "mnuFileLoad")->trigger();
        EXPECT_TRUE(Boxes(line.boxes).back().starts_with(box)) << Boxes(line.boxes).back();
        EXPECT_EQ(line.NewFrames().empty(), box != unread);
        EXPECT_TRUE(w.Modified());
    }
}

TEST(DeviceWindow, MissingInitializationFileIsReportedAndTheWindowOpens) {
    TestWindow<frmQUELB> line({.demo = false, .feedbackFile = true, .load = false});
    frmQUELB& w = line.window;
    line.state.Device().Config.InitCmdsFile = line.dir.File("nothere.txt");
    w.Form_Load();
    w.Form_Activate();
    EXPECT_EQ(Boxes(line.boxes),
              Strings{"File Error | Command file was not found (" + line.dir.File("nothere.txt") +
                      ").\r\n\r\nNo such file or directory"});
    EXPECT_EQ(line.boxes.Shown().at(0).icon, MsgIcon::Critical);
    EXPECT_TRUE(w.SettingsRead());
    EXPECT_FALSE(w.Busy());
    EXPECT_EQ(Combo(w, "cboIRGroupOff", 9)->currentIndex(), 0);
    EXPECT_EQ(Combo(w, "cboX10Unit", 9)->currentIndex(), 0);
    EXPECT_FALSE(FileExists(line.dir.File("feedback.txt")));
}

TEST(DeviceWindow, FeedbackFileThatCannotBeCreatedIsReportedAndTheReadGoesOn) {
    TestWindow<frmQUELB> line({.demo = false,
                               .initLines = "900000",
                               .registers = {{0x10, "0203"}},
                               .feedbackFile = true,
                               .load = false});
    frmQUELB& w = line.window;
    line.state.Device().FeedbackFile = line.dir.File("no-such-folder/feedback.txt");
    w.Form_Load();
    w.Form_Activate();
    EXPECT_EQ(Boxes(line.boxes),
              Strings{"File Error | Feedback file could not be written (" +
                      line.dir.File("no-such-folder/feedback.txt") + ").\r\n\r\nNo such file or directory"});
    EXPECT_EQ(Combo(w, "cboIRGroupOn", 0)->currentText(), "3");
    EXPECT_FALSE(w.Busy());
}

TEST(DeviceWindow, FilesThatWouldTakeAnotherFilesPlaceAreNotWritten) {
    // The feedback file, spelled otherwise, is the initialization file: the
    // window goes back to the chooser before it writes or sends anything.
    {
        TestWindow<frmQUELB> line({.demo = false,
                                   .initLines = "900000\r\n",
                                   .feedbackFile = true,
                                   .cinfoFile = true,
                                   .load = false});
        line.state.Device().FeedbackFile = line.dir.Path() + "/./init.txt";
        line.window.Form_Load();
        line.window.Form_Activate();
        EXPECT_EQ(Boxes(line.boxes), Strings{"File Error | The feedback file (" + line.dir.Path() +
                                             "/./init.txt) for device (QUELB) is the same file as the "
                                             "initialization file (" +
                                             line.dir.File("init.txt") + ")!"});
        EXPECT_TRUE(modTAVOCfg::gReselectDevice);
        EXPECT_FALSE(line.window.SettingsRead());
        EXPECT_EQ(ReadFile(line.dir.File("init.txt")), "900000\r\n");
        EXPECT_EQ(line.device->Received(), "");
        EXPECT_FALSE(FileExists(line.dir.File("cinfo.txt")));
    }
    // Every other file of the program counts too: the matrix switch's
    // initialization file and the start-up's -d log are refused; files of
    // their own beside them are written as ever.
    struct Clash {
        std::string file;    // empty: every file is one of its own
        std::string output;  // the window's file given that name
        std::string other;   // the role the file already has, and whose it is
        std::string ofWhom;
    };
    for (const Clash& c : {Clash{"zim_init.txt", "feedback", "initialization", " of device (ZIM-8x8)"},
                           Clash{"scanlog.txt", "debug", "debug", ""}, Clash{}}) {
        SCOPED_TRACE(c.file);
        TestWindow<frmQUELB> line(
            {.demo = false, .initLines = "900000\r\n", .debugFile = true, .feedbackFile = true, .load = false});
        const std::string zimInit = line.dir.File("zim_init.txt"), scanLog = line.dir.File("scanlog.txt");
        WriteFile(zimInit, "800000\r\n");
        WriteFile(scanLog, "Log opened.\r\n");
        modTAVOCfg::gDevices = {{0, "QUELB", line.dir.File("init.txt")}, {1, "ZIM-8x8", zimInit}};
        modTAVOCfg::gDebugMode = true;
        modTAVOCfg::gAppLogFile = scanLog;
        const std::string path = line.dir.File(c.file);
        if (!c.file.empty())
            (c.output == "debug" ? line.state.Device().DebugFile : line.state.Device().FeedbackFile) = path;
        line.window.Form_Load();
        line.window.Form_Activate();
        EXPECT_EQ(ReadFile(zimInit), "800000\r\n");
        EXPECT_EQ(ReadFile(scanLog), "Log opened.\r\n");
        if (c.file.empty()) {
            EXPECT_TRUE(line.boxes.Shown().empty());
            EXPECT_TRUE(line.window.SettingsRead());
            EXPECT_EQ(ReadFile(line.dir.File("feedback.txt")).substr(0, 2), "90");
            EXPECT_NE(line.Trace().find("A device was found."), std::string::npos);
            continue;
        }
        EXPECT_EQ(Boxes(line.boxes), Strings{"File Error | The " + c.output + " file (" + path +
                                             ") for device (QUELB) is the same file as the " + c.other +
                                             " file (" + path + ")" + c.ofWhom + "!"});
        EXPECT_TRUE(modTAVOCfg::gReselectDevice);
        EXPECT_FALSE(line.window.SettingsRead());
        EXPECT_EQ(line.device->Received(), "");
    }
    // A settings file loaded from the window that is the window's own feedback
    // file, or its trace: refused, and neither the file nor the device changes.
    TestWindow<frmZIM8x8> line(
        {.demo = false, .initLines = "900000\r\n", .debugFile = true, .feedbackFile = true});
    ASSERT_TRUE(line.boxes.Shown().empty());
    line.NewFrames();
    line.window.SetModified(true);
    for (const char* own : {"feedback.txt", "debug.txt"}) {
        const std::string before = ReadFile(line.dir.File(own));
        line.state.dialogs.answers.push_back(line.dir.File(own));
        Find<QAction>(line.window, "mnuFileLoad")->trigger();
        EXPECT_EQ(ReadFile(line.dir.File(own)).substr(0, before.size()), before);
    }
    EXPECT_EQ(line.NewFrames(), Strings{});
    EXPECT_TRUE(line.window.Modified());  // the edits stay: the close still asks "Abandon changes?"
    Strings refused;
    for (const char* own : {"feedback", "debug"})
        refused.push_back("File Error | The " + std::string(own) + " file (" +
                          line.dir.File(own + std::string(".txt")) +
                          ") for device (ZIM-8x8) is the same file as the command file (" +
                          line.dir.File(own + std::string(".txt")) + ")!");
    EXPECT_EQ(Boxes(line.boxes), refused);
}

TEST(DeviceWindow, PortThatDoesNotOpenGoesBackToTheChooser) {
    ProgramState state(0, false);
    PortMapFolder map;  // no COM1 in it
    ScriptedMessageBox boxes;
    frmQUELB w;
    w.Form_Load();
    EXPECT_FALSE(w.DeviceUsable());
    EXPECT_EQ(w.ComPort(), nullptr);
    EXPECT_TRUE(modTAVOCfg::gReselectDevice);
    EXPECT_EQ(Boxes(boxes), Strings{"Error | Error opening communications port!"});
    w.Form_Activate();  // hides at once, reads nothing
    EXPECT_FALSE(w.SettingsRead());
    EXPECT_EQ(boxes.Shown().size(), 1u);
}

TEST(DeviceWindow, SilentDeviceGivesTheModelsNotFoundMessage) {
    const WindowSetup silent = {.demo = false, .emulator = {.silent = true}, .activate = false};
    {
        WindowSetup setup = silent;
        setup.debugFile = true;
        TestWindow<frmQUELB> line(setup);
        frmQUELB& w = line.window;
        EXPECT_FALSE(w.DeviceUsable());
        EXPECT_TRUE(modTAVOCfg::gReselectDevice);
        EXPECT_EQ(Boxes(line.boxes), Strings{"Error | Device not recognized on serial port COM1:"});
        const std::string trace = ReadFile(line.dir.File("debug.txt"));
        EXPECT_NE(trace.find("Device not recognized on serial port COM1:"), std::string::npos);
        EXPECT_NE(trace.find("Log closed."), std::string::npos);
    }
    {
        TestWindow<frmZIM8x8> line(silent);
        EXPECT_EQ(Boxes(line.boxes),
                  Strings{"Error | The ZIM-8x8 device was not found or recognized on serial port COM1:"});
        EXPECT_FALSE(FileExists(line.dir.File("debug.txt")));  // debug file off
    }
}

}  // namespace
}  // namespace tavo::test
