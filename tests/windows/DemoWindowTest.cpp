// Both device windows in demo mode: load, first read from the demo reply set,
// the controls it sets, captions and status texts.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <filesystem>
#include <span>

#include "codes/QUELBModel.h"
#include "codes/ZIM8x8Model.h"
#include "link/clsComPort.h"
#include "link/modCommon.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/windows/WindowFixture.h"
#include "windows/clsMatrixRemote.h"

namespace tavo::test {
namespace {

TEST(DemoWindow, RelayControllerShowsTheDemoReplySet) {
    TestWindow<frmQUELB> demo({.activate = false});
    frmQUELB& w = demo.window;
    EXPECT_EQ(w.windowTitle().toStdString(), "TAVO QUELB Device Configuration (Demo Mode)");
    EXPECT_EQ(w.StatusText(1), "Ready (Demo Mode)");
    EXPECT_FALSE(Find<QCheckBox>(w, "chkMonitorIR")->isEnabled());
    EXPECT_FALSE(Find<QGroupBox>(w, "fraX10Monitor")->isEnabled());
    EXPECT_EQ(Combo(w, "cboIRGroupOn", 9)->count(), 256);
    EXPECT_EQ(Combo(w, "cboX10House", 0)->count(), 16);
    EXPECT_EQ(Combo(w, "cboX10Unit", 0)->count(), 16);
    EXPECT_TRUE(w.Loading());  // the relay window clears it at the end of the first read

    w.Form_Activate();
    EXPECT_FALSE(w.Loading());
    EXPECT_TRUE(w.SettingsRead());
    EXPECT_FALSE(w.Modified());
    EXPECT_EQ(w.windowTitle().toStdString(), "TAVO QUELB Device Configuration (Demo Mode)");
    EXPECT_EQ(CheckValues(w), (std::vector<int>{1, 0, 1, 0}));
    EXPECT_EQ(w.mABRelayState, 1);
    EXPECT_EQ(Drawn(w.shpRelayLED, kDrawnGrey) + Drawn(std::array{w.shpRelayABLED}, kDrawnGrey), "111111111");
    // "900002": group 1, key 3 for "All Relays" on; "9C0014": group 1, key 21 for relay 1 off.
    EXPECT_EQ(Combo(w, "cboIRGroupOn", 0)->currentText(), "1");
    EXPECT_EQ(Combo(w, "cboIRKeyOn", 0)->currentText(), "3");
    EXPECT_EQ(Combo(w, "cboIRKeyOff", 2)->currentText(), "21");
    EXPECT_TRUE(w.CmdQueue()->Count() == 0);
    EXPECT_TRUE(demo.boxes.Shown().empty());
}

TEST(DemoWindow, MatrixSwitchShowsTheDemoReplySet) {
    TestWindow<frmZIM8x8> demo({.activate = false});
    frmZIM8x8& w = demo.window;
    EXPECT_FALSE(w.Loading());
    EXPECT_EQ(w.windowTitle().toStdString(), "TAVO ZIM-8x8 Device Configuration (Demo Mode)");
    w.Form_Activate();
    for (int o = 0; o < 8; ++o) EXPECT_EQ(w.mRouting[static_cast<std::size_t>(o)], o);
    EXPECT_EQ(CheckValues(w), (std::vector<int>{1, 0, 1, 0}));
    // "908001": output 1 group 129 key 2; "988003": input 1 group 129 key 4.
    EXPECT_EQ(Combo(w, "cboIRGroupOUT", 0)->currentText(), "129");
    EXPECT_EQ(Combo(w, "cboIRKeyOUT", 0)->currentText(), "2");
    EXPECT_EQ(Combo(w, "cboIRKeyIN", 0)->currentText(), "4");
    EXPECT_TRUE(w.optShowRouting[0]->isChecked());
    EXPECT_EQ(w.matrixRemote->shpOutputGrp[0]->FillColor(), kLedGreen);  // input 1's routing is shown
    EXPECT_FALSE(w.Modified());
}

// The settings file a demo window writes: its general lines, then every demo
// reply word turned into the write word of its register.
std::string ExpectedSettings(std::vector<std::string> general, std::span<const char* const> demo) {
    std::string text;
    for (const auto& line : general) text += line + "\r\n";
    for (std::size_t i = general.size(); i < demo.size(); ++i) {
        const std::string word = demo[i];
        text += HexPad(static_cast<std::int16_t>(std::stoi(word.substr(0, 2), nullptr, 16) - 0x80), 2) +
                word.substr(2) + "\r\n";
    }
    return text;
}

TEST(DemoWindow, SettingsFilesOfTheDemoReplySets) {
    {
        TestWindow<frmQUELB> demo;
        frmQUELB& w = demo.window;
        // "All Relays" and relay 1 use distinct codes in the demo set, so no question is asked.
        demo.state.dialogs.answers.push_back(demo.dir.File("quelb.txt"));
        ASSERT_TRUE(w.SaveSettingsFile());
        const std::string text = ReadFile(demo.dir.File("quelb.txt"));
        EXPECT_EQ(text, ExpectedSettings({"01000A", "020005"}, kQUELBModel.demoReplies));
        EXPECT_EQ(demo.state.dialogs.kinds, Strings{"save"});
        EXPECT_EQ(demo.state.dialogs.filters, Strings{"Text Files (*.txt) | *.txt"});
        EXPECT_TRUE(demo.boxes.Shown().empty());
        EXPECT_FALSE(w.Modified());
        EXPECT_EQ(w.StatusText(1), "Ready (Demo Mode)");
    }
    {
        TestWindow<frmZIM8x8> demo;
        demo.state.dialogs.answers.push_back(demo.dir.File("zim.txt"));
        ASSERT_TRUE(demo.window.SaveSettingsFile());
        const std::string text = ReadFile(demo.dir.File("zim.txt"));
        EXPECT_EQ(text, ExpectedSettings({"011234", "025678", "0C1010"}, kZIM8x8Model.demoReplies));
        EXPECT_TRUE(demo.boxes.Shown().empty());
    }
}

TEST(DemoWindow, SavingOverAFileAsksAndReplacesItWhole) {
    TestWindow<frmZIM8x8> demo;
    frmZIM8x8& w = demo.window;
    const std::string name = demo.dir.File("old.txt");
    const std::string old(5000, 'x');
    WriteFile(name, old);

    demo.state.dialogs.answers.push_back(name);
    demo.boxes.Answer(MsgResult::No);
    EXPECT_FALSE(w.SaveSettingsFile());
    EXPECT_EQ(Boxes(demo.boxes), Strings{"Replace file? | Replace " + name + "?"});
    EXPECT_EQ(demo.boxes.Shown().at(0).defaultButton, MsgResult::No);
    EXPECT_EQ(ReadFile(name), old);

    demo.state.dialogs.answers.push_back(name);
    demo.boxes.Answer(MsgResult::Yes);
    EXPECT_TRUE(w.SaveSettingsFile());
    EXPECT_EQ(ReadFile(name).size(), 35u * 8);

    // Cancelled: nothing asked, nothing written.
    EXPECT_FALSE(w.SaveSettingsFile());
    EXPECT_EQ(demo.boxes.Shown().size(), 2u);
}

TEST(DemoWindow, SettingsFileThatCannotBeWrittenIsReportedAndAnEarlierFileStays) {
    TestWindow<frmQUELB> demo;
    const std::string missing = demo.dir.File("no-such-folder/settings.txt");
    demo.state.dialogs.answers.push_back(missing);
    EXPECT_FALSE(demo.window.SaveSettingsFile());
    EXPECT_EQ(Boxes(demo.boxes),
              Strings{"Error Writing Settings | An error occured writing settings to file (" + missing +
                      ")!\r\nError: No such file or directory"});

    const std::string name = demo.dir.File("settings.txt");
    WriteFile(name, "earlier\r\n");
    demo.state.dialogs.answers.push_back(name);
    demo.boxes.Answer(MsgResult::Yes);  // replace it
    std::string status;                 // behind the last box
    demo.boxes.onShow = [&] { status = demo.window.StatusText(1); };
    {
        // Room for the two general lines and part of the IR codes only.
        FileSizeLimit disk(100);
        EXPECT_FALSE(demo.window.SaveSettingsFile());
    }
    EXPECT_EQ(Boxes(demo.boxes).at(2),
              "Error Writing Settings | An error occured writing IR settings to file (" + name +
                  ")!\r\nError: File too large");
    EXPECT_EQ(ReadFile(name), "earlier\r\n");
    EXPECT_EQ(demo.dir.Names(), (Strings{"init.txt", "settings.txt"})) << "no partial file left";
    EXPECT_EQ(status, "Saving to file, please wait...");
    EXPECT_FALSE(demo.window.Busy());
    EXPECT_EQ(demo.window.StatusText(1), "Ready (Demo Mode)");
}

TEST(DemoWindow, ADebugFileThatCannotBeOpenedIsToldAndTheWindowWorksWithoutIt) {
    TestWindow<frmQUELB> demo({.debugFile = true, .load = false});
    std::filesystem::create_directory(demo.dir.File("debug.txt"));  // a folder in its place
    demo.window.Form_Load();
    demo.window.Form_Activate();
    EXPECT_TRUE(demo.window.SettingsRead());
    demo.window.Form_Unload();
    EXPECT_EQ(Boxes(demo.boxes),
              Strings{"File Error | Unable to open the debug file (" + demo.dir.File("debug.txt") +
                      ") for writing!\r\n\r\nIs a directory"});
}

TEST(DemoWindow, TraceAndReportWithoutAPort) {
    TestWindow<frmQUELB> demo({.debugFile = true, .cinfoFile = true, .activate = false});
    EXPECT_FALSE(demo.window.ComPort()->IsPortOpen());
    demo.window.Form_Activate();
    demo.window.Form_Unload();
    const std::string trace = demo.Trace();
    EXPECT_NE(trace.find("Device: QUELB on serial port COM0"), std::string::npos);
    EXPECT_NE(trace.find("Com information file: " + demo.dir.File("cinfo.txt")), std::string::npos);
    EXPECT_EQ(trace.find("Feedback file: "), std::string::npos);
    EXPECT_NE(trace.find("A device was found."), std::string::npos);
    EXPECT_NE(trace.find("Log closed."), std::string::npos);
    // The report holds the demo set, "AE".."B7" included.
    const std::string report = ReadFile(demo.dir.File("cinfo.txt"));
    EXPECT_NE(report.find("8481FF\t(ON)   B RELAY"), std::string::npos);
    EXPECT_NE(report.find("B79D93"), std::string::npos);
    // The trace has no unknown-reply line: the "AE".."B7" replies are accepted and ignored.
    EXPECT_EQ(trace.find("Unknown response"), std::string::npos);
}

TEST(DemoWindow, FileMenuOffersNeitherLoadNorApply) {
    TestWindow<frmQUELB> demo;
    frmQUELB& w = demo.window;
    Combo(w, "cboIRKeyOff", 4)->setCurrentIndex(77);
    EXPECT_EQ(w.windowTitle().toStdString(), "TAVO QUELB Device Configuration (Demo Mode) (modified)");
    w.mnuFile_Click();
    EXPECT_EQ(
        Enabled(w, {"mnuFileLoad", "mnuFileApply", "mnuFileSaveAs", "mnuFileSelectDevice", "mnuFileExit"}),
        "00111");
    // Ctrl+L acts only as the opened menu would.
    Find<QAction>(w, "mnuFileLoad")->setEnabled(true);
    Find<QAction>(w, "mnuFileLoad")->trigger();
    EXPECT_TRUE(demo.state.dialogs.kinds.empty());
    // Closing a modified demo window asks nothing.
    bool cancel = false;
    w.Form_QueryUnload(cancel);
    EXPECT_FALSE(cancel);
    EXPECT_TRUE(demo.boxes.Shown().empty());
}

}  // namespace
}  // namespace tavo::test
