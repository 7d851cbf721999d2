// Both device windows in demo mode: load, first read from the demo reply set,
// the controls it sets, captions and status texts.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <span>

#include "link/clsCmdQueue.h"
#include "link/clsComPort.h"
#include "link/modCommon.h"
#include "tests/support/DeviceEmulator.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/windows/WindowFixture.h"
#include "windows/frmQUELB.h"
#include "windows/frmZIM8x8.h"

namespace tavo::test {
namespace {

TEST(DemoWindow, RelayControllerShowsTheDemoReplySet) {
    ProgramState state(0, true);
    ScriptedMessageBox boxes;
    frmQUELB w;
    w.Form_Load();
    EXPECT_EQ(w.windowTitle().toStdString(), "TAVO QUELB Device Configuration (Demo Mode)");
    EXPECT_EQ(w.StatusText(1), "Ready (Demo Mode)");
    EXPECT_FALSE(w.chkMonitorIR->isEnabled());
    EXPECT_FALSE(w.fraX10Monitor->isEnabled());
    EXPECT_EQ(w.cboIRGroupOn[9]->count(), 256);
    EXPECT_EQ(w.cboX10House[0]->count(), 16);
    EXPECT_EQ(w.cboX10Unit[0]->count(), 16);
    EXPECT_TRUE(w.Loading());  // the relay window clears it at the end of the first read

    w.Form_Activate();
    EXPECT_FALSE(w.Loading());
    EXPECT_TRUE(w.SettingsRead());
    EXPECT_FALSE(w.Modified());
    EXPECT_EQ(w.windowTitle().toStdString(), "TAVO QUELB Device Configuration (Demo Mode)");
    EXPECT_EQ(w.chkEnableIR->checkState(), Qt::Checked);
    EXPECT_EQ(w.chkEnableX10->checkState(), Qt::Checked);
    EXPECT_EQ(w.chkMonitorIR->checkState(), Qt::Unchecked);
    EXPECT_EQ(w.mABRelayState, 1);
    EXPECT_EQ(w.shpRelayABLED->FillColor(), kLedGreen);
    for (auto* led : w.shpRelayLED) EXPECT_EQ(led->FillColor(), kLedGreen);
    // "900002": group 1, key 3 for "All Relays" on; "9C0014": group 1, key 21 for relay 1 off.
    EXPECT_EQ(w.cboIRGroupOn[0]->currentText(), "1");
    EXPECT_EQ(w.cboIRKeyOn[0]->currentText(), "3");
    EXPECT_EQ(w.cboIRKeyOff[2]->currentText(), "21");
    EXPECT_TRUE(w.CmdQueue()->Count() == 0);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(DemoWindow, MatrixSwitchShowsTheDemoReplySet) {
    ProgramState state(1, true);
    ScriptedMessageBox boxes;
    frmZIM8x8 w;
    int shown = -1;
    QObject::connect(&w, &frmZIM8x8::optShowRouting_Click, [&shown](int i) { shown = i; });
    w.Form_Load();
    EXPECT_FALSE(w.Loading());
    EXPECT_EQ(w.windowTitle().toStdString(), "TAVO ZIM-8x8 Device Configuration (Demo Mode)");
    w.Form_Activate();
    for (int o = 0; o < 8; ++o) EXPECT_EQ(w.mRouting[static_cast<std::size_t>(o)], o);
    EXPECT_EQ(w.chkEnableIR->checkState(), Qt::Checked);
    EXPECT_EQ(w.chkMonitorX10->checkState(), Qt::Unchecked);
    // "908001": output 1 group 129 key 2; "988003": input 1 group 129 key 4.
    EXPECT_EQ(w.cboIRGroupOUT[0]->currentText(), "129");
    EXPECT_EQ(w.cboIRKeyOUT[0]->currentText(), "2");
    EXPECT_EQ(w.cboIRKeyIN[0]->currentText(), "4");
    EXPECT_TRUE(w.optShowRouting[0]->isChecked());
    EXPECT_EQ(shown, 0);
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
    TempFolder dir;
    {
        ProgramState state(0, true);
        ScriptedMessageBox boxes;
        frmQUELB w;
        w.Form_Load();
        w.Form_Activate();
        // "All Relays" and relay 1 use distinct codes in the demo set, so no question is asked.
        state.dialogs.answers.push_back(dir.File("quelb.txt"));
        ASSERT_TRUE(w.SaveSettingsFile());
        const std::string text = ReadFile(dir.File("quelb.txt"));
        EXPECT_EQ(text, ExpectedSettings({"01000A", "020005"}, frmQUELB::kTables.demoReplies));
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 42);
        EXPECT_EQ(text.substr(0, 24), "01000A\r\n020005\r\n100002\r\n");
        EXPECT_EQ(state.dialogs.kinds, std::vector<std::string>{"save"});
        EXPECT_EQ(state.dialogs.filters, std::vector<std::string>{"Text Files (*.txt) | *.txt"});
        EXPECT_TRUE(boxes.Shown().empty());
        EXPECT_FALSE(w.Modified());
        EXPECT_EQ(w.StatusText(1), "Ready (Demo Mode)");
    }
    {
        ProgramState state(1, true);
        ScriptedMessageBox boxes;
        frmZIM8x8 w;
        w.Form_Load();
        w.Form_Activate();
        state.dialogs.answers.push_back(dir.File("zim.txt"));
        ASSERT_TRUE(w.SaveSettingsFile());
        const std::string text = ReadFile(dir.File("zim.txt"));
        EXPECT_EQ(text, ExpectedSettings({"011234", "025678", "0C1010"}, frmZIM8x8::kTables.demoReplies));
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 35);
        EXPECT_TRUE(boxes.Shown().empty());
    }
}

TEST(DemoWindow, SavingOverAFileAsksAndReplacesItWhole) {
    TempFolder dir;
    ProgramState state(1, true);
    ScriptedMessageBox boxes;
    frmZIM8x8 w;
    w.Form_Load();
    w.Form_Activate();
    const std::string name = dir.File("old.txt");
    const std::string old(5000, 'x');
    WriteFile(name, old);

    state.dialogs.answers.push_back(name);
    boxes.Answer(MsgResult::No);
    EXPECT_FALSE(w.SaveSettingsFile());
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].title, "Replace file?");
    EXPECT_EQ(boxes.Shown()[0].text, "Replace " + name + "?");
    EXPECT_EQ(boxes.Shown()[0].defaultButton, MsgResult::No);
    EXPECT_EQ(ReadFile(name), old);

    state.dialogs.answers.push_back(name);
    boxes.Answer(MsgResult::Yes);
    EXPECT_TRUE(w.SaveSettingsFile());
    EXPECT_EQ(ReadFile(name).size(), 35u * 8);

    // Cancelled: nothing asked, nothing written.
    EXPECT_FALSE(w.SaveSettingsFile());
    EXPECT_EQ(boxes.Shown().size(), 2u);
}

TEST(DemoWindow, SettingsFileThatCannotBeWrittenIsReported) {
    TempFolder dir;
    ProgramState state(0, true);
    ScriptedMessageBox boxes;
    frmQUELB w;
    w.Form_Load();
    w.Form_Activate();
    const std::string name = dir.File("no-such-folder/settings.txt");
    state.dialogs.answers.push_back(name);
    EXPECT_FALSE(w.SaveSettingsFile());
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].title, "Error Writing Settings");
    EXPECT_EQ(boxes.Shown()[0].text, "An error occured writing settings to file (" + name +
                                         ")!\r\nError: No such file or directory");
    EXPECT_FALSE(w.Busy());
    EXPECT_EQ(w.StatusText(1), "Ready (Demo Mode)");
}

TEST(DemoWindow, TraceAndReportWithoutAPort) {
    TempFolder dir;
    ProgramState state(0, true);
    ScriptedMessageBox boxes;
    modTAVOCfg::gDebugFileEnabled = true;
    modTAVOCfg::gCInfoFileEnabled = true;
    state.Device().DebugFile = dir.File("debug.txt");
    state.Device().CInfoFile = dir.File("cinfo.txt");
    {
        frmQUELB w;
        w.Form_Load();
        EXPECT_FALSE(w.ComPort()->IsPortOpen());
        w.Form_Activate();
    }
    const std::string trace = ReadFile(dir.File("debug.txt"));
    EXPECT_NE(trace.find("Device: QUELB on serial port COM0"), std::string::npos);
    EXPECT_NE(trace.find("Com information file: " + dir.File("cinfo.txt")), std::string::npos);
    EXPECT_EQ(trace.find("Feedback file: "), std::string::npos);
    EXPECT_NE(trace.find("A device was found."), std::string::npos);
    EXPECT_NE(trace.find("Log closed."), std::string::npos);
    // The report holds the demo set, "AE".."B7" included.
    const std::string report = ReadFile(dir.File("cinfo.txt"));
    EXPECT_NE(report.find("8481FF"), std::string::npos);
    EXPECT_NE(report.find("B79D93"), std::string::npos);
    // The trace has no unknown-reply line: the "AE".."B7" replies are accepted and ignored.
    EXPECT_EQ(trace.find("Unknown response"), std::string::npos);
}

TEST(DemoWindow, FileMenuOffersNeitherLoadNorApply) {
    ProgramState state(0, true);
    ScriptedMessageBox boxes;
    frmQUELB w;
    w.Form_Load();
    w.Form_Activate();
    w.cboIRKeyOff[4]->setCurrentIndex(77);
    EXPECT_EQ(w.windowTitle().toStdString(), "TAVO QUELB Device Configuration (Demo Mode) (modified)");
    w.mnuFile_Click();
    EXPECT_FALSE(w.mnuFileLoad->isEnabled());
    EXPECT_FALSE(w.mnuFileApply->isEnabled());
    EXPECT_TRUE(w.mnuFileSaveAs->isEnabled());
    EXPECT_TRUE(w.mnuFileSelectDevice->isEnabled());
    EXPECT_TRUE(w.mnuFileExit->isEnabled());
    // Ctrl+L acts only as the opened menu would.
    w.mnuFileLoad->setEnabled(true);
    w.mnuFileLoad->trigger();
    EXPECT_TRUE(state.dialogs.kinds.empty());
    // Closing a modified demo window asks nothing.
    bool cancel = false;
    w.Form_QueryUnload(cancel);
    EXPECT_FALSE(cancel);
    EXPECT_TRUE(boxes.Shown().empty());
}

}  // namespace
}  // namespace tavo::test
