// Window state of the device windows: busy state, monitor list, monitoring
// state, captions, and the settings controls' handlers.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>
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

TEST(WindowState, BusyStateIsOneFlagThatRestoresWhatItSaved) {
    TestWindow<frmQUELB> demo;
    frmQUELB& w = demo.window;

    w.SetBusy(false);  // not busy: nothing changes
    EXPECT_EQ(w.StatusText(1), "Ready (Demo Mode)");

    w.SetBusy(true);
    EXPECT_EQ(w.StatusText(1), "Communicating with device, please wait...");
    EXPECT_EQ(w.cursor().shape(), Qt::WaitCursor);
    EXPECT_FALSE(Find<QMenu>(w, "mnuFile")->isEnabled());
    EXPECT_FALSE(Find<QMenu>(w, "mnuHelp")->isEnabled());
    EXPECT_FALSE(Find<QTabWidget>(w, "tabMain")->isEnabled());
    w.SetStatusText("Saving to file, please wait...");
    w.SetBusy(true);  // nested: nothing saved again
    w.SetBusy(false);
    EXPECT_FALSE(w.Busy());
    EXPECT_EQ(w.StatusText(1), "Ready (Demo Mode)");
    EXPECT_NE(w.cursor().shape(), Qt::WaitCursor);
    EXPECT_TRUE(Find<QMenu>(w, "mnuFile")->isEnabled() && Find<QMenu>(w, "mnuHelp")->isEnabled() &&
                Find<QTabWidget>(w, "tabMain")->isEnabled());

    // The window's own pointer, whichever it was, comes back.
    for (std::int16_t pointer : {std::int16_t{2}, std::int16_t{11}, std::int16_t{0}}) {
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
    EXPECT_EQ(Find<QListWidget>(w, "lstMonitor")->count(), 1000);
    EXPECT_EQ(Find<QListWidget>(w, "lstMonitor")->item(0)->text(), "line 2");
    EXPECT_EQ(Find<QListWidget>(w, "lstMonitor")->currentRow(), 999);
    EXPECT_EQ(Find<QListWidget>(w, "lstMonitor")->currentItem()->text(), "line 1001");
}

TEST(WindowState, AMonitorLineReadsWholeWithoutScrolling) {
    // The longest lines the two remote tabs add, in windows at their own size.
    ProgramState state(1, true);
    frmZIM8x8 matrix;
    frmQUELB relay;
    const std::pair<QDialog*, std::string> cases[] = {
        {&matrix, "Sending:\t030088D7\tINPUT #8 ROUTED TO #8 OUTPUT"},
        {&relay, "Sending:\t040100FB\tAll Relays (OFF)"}};
    for (const auto& [window, line] : cases) {
        window->show();
        Find<QTabWidget>(*window, "tabMain")->setCurrentIndex(2);
        static_cast<frmDeviceWindow*>(window)->AddMonitorLine(line);
        QCoreApplication::processEvents();
        auto* list = Find<QListWidget>(*window, "lstMonitor");
        EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0) << line;
        window->hide();
    }
}

TEST(WindowState, MonitoringLocksTheOtherPagesAndTheFileMenu) {
    ProgramState state(0, true);
    frmQUELB w;
    w.SetMonitoringIR(true);
    EXPECT_EQ(w.StatusText(2), "Monitoring IR");
    EXPECT_FALSE(Find<QGroupBox>(w, "fraIRSettings")->isEnabled());
    EXPECT_TRUE(Find<QGroupBox>(w, "fraIRMonitor")->isEnabled());
    EXPECT_FALSE(Find<QFrame>(w, "panTabPage", 1)->isEnabled());
    EXPECT_FALSE(Find<QFrame>(w, "panTabPage", 2)->isEnabled());
    EXPECT_FALSE(Find<QMenu>(w, "mnuFile")->isEnabled());
    EXPECT_TRUE(Find<QMenu>(w, "mnuHelp")->isEnabled());
    EXPECT_TRUE(Find<QTabWidget>(w, "tabMain")->isEnabled());
    w.SetMonitoringIR(true);
    EXPECT_TRUE(w.MonitoringIR());
    w.SetMonitoringIR(false);
    EXPECT_EQ(w.StatusText(2), "");
    EXPECT_TRUE(Find<QGroupBox>(w, "fraIRSettings")->isEnabled() &&
                Find<QFrame>(w, "panTabPage", 1)->isEnabled() && Find<QMenu>(w, "mnuFile")->isEnabled());

    w.SetMonitoringX10(true);
    EXPECT_EQ(w.StatusText(2), "Monitoring X-10");
    // A send while monitoring (a stop that fails) leaves the File menu locked.
    w.SetBusy(true);
    w.SetBusy(false);
    EXPECT_FALSE(Find<QMenu>(w, "mnuFile")->isEnabled());
    EXPECT_FALSE(Find<QGroupBox>(w, "fraX10Settings")->isEnabled());
    EXPECT_FALSE(Find<QFrame>(w, "panTabPage", 0)->isEnabled());
    // A shortcut of the locked File menu does nothing.
    Find<QAction>(w, "mnuFileSaveAs")->trigger();
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
        EXPECT_EQ(Find<QAction>(q, "mnuFileExit")->text(), "E&xit");
        EXPECT_EQ(Find<QAction>(z, "mnuFileExit")->text(), "E&xit Application");
    }
}

TEST(WindowState, EnableBoxesQueueTheirWordsAndMarkTheWindowModified) {
    {
        TestWindow<frmQUELB> demo;
        frmQUELB& w = demo.window;
        EXPECT_EQ(w.CmdQueue()->Count(), 0u);  // set from the replies: nothing queued
        Find<QCheckBox>(w, "chkEnableIR")->setCheckState(Qt::Unchecked);
        Find<QCheckBox>(w, "chkEnableIR")->setCheckState(Qt::Checked);
        Find<QCheckBox>(w, "chkEnableX10")->setCheckState(Qt::Unchecked);
        EXPECT_EQ(Drain(*w.CmdQueue()), (std::vector<std::string>{"020008", "010008", "020002"}));
        EXPECT_TRUE(w.Modified());

        // The grey state queues nothing but still marks the window modified.
        w.SetModified(false);
        Find<QCheckBox>(w, "chkEnableX10")->setCheckState(Qt::PartiallyChecked);
        EXPECT_EQ(w.CmdQueue()->Count(), 0u);
        EXPECT_TRUE(w.Modified());
    }
    {
        TestWindow<frmZIM8x8> demo;
        frmZIM8x8& w = demo.window;
        Find<QCheckBox>(w, "chkEnableIR")->setCheckState(Qt::Unchecked);
        Find<QCheckBox>(w, "chkEnableIR")->setCheckState(Qt::Checked);
        Find<QCheckBox>(w, "chkEnableX10")->setCheckState(Qt::Unchecked);
        Find<QCheckBox>(w, "chkEnableX10")->setCheckState(Qt::Checked);
        EXPECT_EQ(Drain(*w.CmdQueue()), (std::vector<std::string>{"050000", "040000", "090000", "080000"}));
    }
}

}  // namespace
}  // namespace tavo::test
