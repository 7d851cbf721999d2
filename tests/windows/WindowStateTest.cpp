// Window state of the device windows: busy state, monitor list, monitoring
// state, captions, and the settings controls' handlers.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>

#include "config/QtMousePointer.h"
#include "link/clsCmdQueue.h"
#include "tests/support/DeviceEmulator.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/windows/WindowFixture.h"
#include "windows/frmQUELB.h"
#include "windows/frmZIM8x8.h"

namespace tavo::test {
namespace {

std::vector<std::string> Drain(clsCmdQueue& queue) {
    std::vector<std::string> words;
    while (queue.Count()) words.push_back(queue.Pop());
    return words;
}

TEST(WindowState, BusyStateIsOneFlagThatRestoresWhatItSaved) {
    ProgramState state(0, true);
    ScriptedMessageBox boxes;
    frmQUELB w;
    w.Form_Load();
    w.Form_Activate();

    w.SetBusy(false);  // not busy: nothing changes
    EXPECT_EQ(w.StatusText(1), "Ready (Demo Mode)");

    w.SetBusy(true);
    EXPECT_EQ(w.StatusText(1), "Communicating with device, please wait...");
    EXPECT_EQ(w.cursor().shape(), Qt::WaitCursor);
    EXPECT_FALSE(w.mnuFile->isEnabled());
    EXPECT_FALSE(w.mnuHelp->isEnabled());
    EXPECT_FALSE(w.tabMain->isEnabled());
    w.SetStatusText("Saving to file, please wait...");
    w.SetBusy(true);  // nested: nothing saved again
    w.SetBusy(false);
    EXPECT_FALSE(w.Busy());
    EXPECT_EQ(w.StatusText(1), "Ready (Demo Mode)");
    EXPECT_NE(w.cursor().shape(), Qt::WaitCursor);
    EXPECT_TRUE(w.mnuFile->isEnabled() && w.mnuHelp->isEnabled() && w.tabMain->isEnabled());

    // The window's own pointer, whichever it was, comes back.
    for (std::int16_t pointer : {2, 11, 0}) {
        SetWidgetMousePointer(w, pointer);
        w.SetBusy(true);
        EXPECT_EQ(WidgetMousePointer(w), 11);
        w.SetBusy(false);
        EXPECT_EQ(WidgetMousePointer(w), pointer);
    }
}

TEST(WindowState, MonitorListKeepsTheLatestThousandLines) {
    ProgramState state(1, true);
    frmZIM8x8 w;
    for (int i = 1; i <= 1001; ++i) w.AddMonitorLine("line " + std::to_string(i));
    EXPECT_EQ(w.lstMonitor->count(), 1000);
    EXPECT_EQ(w.lstMonitor->item(0)->text(), "line 2");
    EXPECT_EQ(w.lstMonitor->currentRow(), 999);
    EXPECT_EQ(w.lstMonitor->currentItem()->text(), "line 1001");
}

TEST(WindowState, MonitoringLocksTheOtherPagesAndTheFileMenu) {
    ProgramState state(0, true);
    frmQUELB w;
    w.SetMonitoringIR(true);
    EXPECT_EQ(w.StatusText(2), "Monitoring IR");
    EXPECT_FALSE(w.fraIRSettings->isEnabled());
    EXPECT_TRUE(w.fraIRMonitor->isEnabled());
    EXPECT_FALSE(w.panTabPage[1]->isEnabled());
    EXPECT_FALSE(w.panTabPage[2]->isEnabled());
    EXPECT_FALSE(w.mnuFile->isEnabled());
    EXPECT_TRUE(w.mnuHelp->isEnabled());
    EXPECT_TRUE(w.tabMain->isEnabled());
    w.SetMonitoringIR(true);
    EXPECT_TRUE(w.MonitoringIR());
    w.SetMonitoringIR(false);
    EXPECT_EQ(w.StatusText(2), "");
    EXPECT_TRUE(w.fraIRSettings->isEnabled() && w.panTabPage[1]->isEnabled() && w.mnuFile->isEnabled());

    w.SetMonitoringX10(true);
    EXPECT_EQ(w.StatusText(2), "Monitoring X-10");
    // A send while monitoring (a stop that fails) leaves the File menu locked.
    w.SetBusy(true);
    w.SetBusy(false);
    EXPECT_FALSE(w.mnuFile->isEnabled());
    EXPECT_FALSE(w.fraX10Settings->isEnabled());
    EXPECT_FALSE(w.panTabPage[0]->isEnabled());
    // A shortcut of the locked File menu does nothing.
    w.mnuFileSaveAs->trigger();
    EXPECT_TRUE(state.dialogs.kinds.empty());
}

TEST(WindowState, CaptionsOfBothModels) {
    for (bool demo : {false, true}) {
        ProgramState state(0, demo);
        frmQUELB q;
        frmZIM8x8 z;
        q.SetModified(true);
        z.SetModified(true);
        EXPECT_EQ(q.windowTitle().toStdString(),
                  demo ? "TAVO QUELB Device Configuration (Demo Mode) (modified)"
                       : "TAVO QUELB Device Configuration (modified)");
        EXPECT_EQ(z.windowTitle().toStdString(),
                  demo ? "TAVO ZIM-8x8 Device Configuration (Demo Mode) (modified)"
                       : "TAVO ZIM-8x8 Device Configuration (modified)");
        q.SetModified(false);
        z.SetModified(false);
        EXPECT_EQ(q.windowTitle().toStdString(),
                  demo ? "TAVO QUELB Device Configuration (Demo Mode)" : "TAVO QUELB Device Configuration");
        EXPECT_EQ(z.windowTitle().toStdString(), demo ? "TAVO ZIM-8x8 Device Configuration (Demo Mode)"
                                                      : "TAVO ZIM-8x8 Device Configuration");
        EXPECT_EQ(q.mnuFileExit->text(), "E&xit");
        EXPECT_EQ(z.mnuFileExit->text(), "E&xit Application");
    }
}

TEST(WindowState, EnableBoxesQueueTheirWordsAndMarkTheWindowModified) {
    ProgramState state(0, true);
    {
        frmQUELB w;
        w.Form_Load();
        w.Form_Activate();
        EXPECT_EQ(w.CmdQueue()->Count(), 0u);  // set from the replies: nothing queued
        w.chkEnableIR->setCheckState(Qt::Unchecked);
        w.chkEnableIR->setCheckState(Qt::Checked);
        w.chkEnableX10->setCheckState(Qt::Unchecked);
        EXPECT_EQ(Drain(*w.CmdQueue()), (std::vector<std::string>{"020008", "010008", "020002"}));
        EXPECT_TRUE(w.Modified());

        // The grey state queues nothing but still marks the window modified.
        w.SetModified(false);
        w.chkEnableX10->setCheckState(Qt::PartiallyChecked);
        EXPECT_EQ(w.CmdQueue()->Count(), 0u);
        EXPECT_TRUE(w.Modified());
    }
    {
        frmZIM8x8 w;
        w.Form_Load();
        w.Form_Activate();
        w.chkEnableIR->setCheckState(Qt::Unchecked);
        w.chkEnableIR->setCheckState(Qt::Checked);
        w.chkEnableX10->setCheckState(Qt::Unchecked);
        w.chkEnableX10->setCheckState(Qt::Checked);
        EXPECT_EQ(Drain(*w.CmdQueue()), (std::vector<std::string>{"050000", "040000", "090000", "080000"}));
    }
}

TEST(WindowState, GeneralSettingsOfTheRelayFlags) {
    ProgramState state(0, true);
    ScriptedMessageBox boxes;
    TempFolder dir;
    frmQUELB w;
    w.Form_Load();
    w.Form_Activate();
    DistinctCodes(w);
    struct Case {
        Qt::CheckState ir, x10;
        const char* set;
        const char* clear;
    };
    for (const Case& c : {Case{Qt::Checked, Qt::Checked, "01000A", "020005"},
                          Case{Qt::Checked, Qt::Unchecked, "010008", "020007"},
                          Case{Qt::Unchecked, Qt::Checked, "010002", "02000D"},
                          Case{Qt::Unchecked, Qt::Unchecked, "010000", "02000F"},
                          Case{Qt::PartiallyChecked, Qt::Checked, "010002", "020005"}}) {
        w.chkEnableIR->setCheckState(c.ir);
        w.chkEnableX10->setCheckState(c.x10);
        const std::string name = dir.File("flags.txt");
        state.dialogs.answers.push_back(name);
        boxes.Answer(MsgResult::Yes);  // replace the previous file
        ASSERT_TRUE(w.SaveSettingsFile());
        EXPECT_EQ(ReadFile(name).substr(0, 16), std::string(c.set) + "\r\n" + c.clear + "\r\n");
    }
}

}  // namespace
}  // namespace tavo::test
