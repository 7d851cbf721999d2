// Window state of the device windows: busy state, monitor list, monitoring
// state, captions, and the settings controls' handlers.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QListWidget>
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
    EXPECT_EQ(Enabled(w, {"mnuFile", "mnuHelp", "tabMain"}), "000");
    w.SetStatusText("Saving to file, please wait...");
    w.SetBusy(true);  // nested: nothing saved again
    w.SetBusy(false);
    EXPECT_FALSE(w.Busy());
    EXPECT_EQ(w.StatusText(1), "Ready (Demo Mode)");
    EXPECT_NE(w.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(Enabled(w, {"mnuFile", "mnuHelp", "tabMain"}), "111");

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
    const std::initializer_list<const char*> locked = {
        "fraIRSettings", "panTabPage(1)", "panTabPage(2)", "mnuFile", "fraIRMonitor", "mnuHelp", "tabMain"};
    EXPECT_EQ(Enabled(w, locked), "0000111");
    w.SetMonitoringIR(true);
    EXPECT_TRUE(w.MonitoringIR());
    w.SetMonitoringIR(false);
    EXPECT_EQ(w.StatusText(2), "");
    EXPECT_EQ(Enabled(w, locked), "1111111");

    w.SetMonitoringX10(true);
    EXPECT_EQ(w.StatusText(2), "Monitoring X-10");
    // A send while monitoring (a stop that fails) leaves the File menu locked.
    w.SetBusy(true);
    w.SetBusy(false);
    EXPECT_EQ(Enabled(w, {"mnuFile", "fraX10Settings", "panTabPage(0)"}), "000");
    // A shortcut of the locked File menu does nothing.
    Find<QAction>(w, "mnuFileSaveAs")->trigger();
    EXPECT_TRUE(state.dialogs.kinds.empty());
}

TEST(WindowState, CaptionsByDemoModeAndModifiedFlag) {
    for (bool demo : {false, true}) {
        ProgramState state(0, demo);
        frmQUELB q;
        frmZIM8x8 z;
        for (auto [w, model] : {std::pair<frmDeviceWindow*, std::string>{&q, "QUELB"}, {&z, "ZIM-8x8"}}) {
            const std::string caption =
                "TAVO " + model + " Device Configuration" + (demo ? " (Demo Mode)" : "");
            w->SetModified(true);
            EXPECT_EQ(w->windowTitle().toStdString(), caption + " (modified)");
            w->SetModified(false);
            EXPECT_EQ(w->windowTitle().toStdString(), caption);
        }
        EXPECT_EQ(Find<QAction>(q, "mnuFileExit")->text(), "E&xit");
        EXPECT_EQ(Find<QAction>(z, "mnuFileExit")->text(), "E&xit Application");
    }
}

TEST(WindowState, EnableBoxesQueueTheirWordsAndMarkTheWindowModified) {
    // Each box unticked and ticked again: the relay clears and sets its flag bits, the matrix has four words.
    auto untickAndTick = [](frmDeviceWindow& w) {
        EXPECT_EQ(w.CmdQueue()->Count(), 0u);  // set from the replies: nothing queued
        for (const char* box : {"chkEnableIR", "chkEnableX10"})
            for (auto value : {Qt::Unchecked, Qt::Checked}) Find<QCheckBox>(w, box)->setCheckState(value);
        EXPECT_TRUE(w.Modified());
        return Drain(*w.CmdQueue());
    };
    TestWindow<frmQUELB> q;
    EXPECT_EQ(untickAndTick(q.window), (Strings{"020008", "010008", "020002", "010002"}));
    // The grey state queues nothing but still marks the window modified.
    q.window.SetModified(false);
    Find<QCheckBox>(q.window, "chkEnableX10")->setCheckState(Qt::PartiallyChecked);
    EXPECT_EQ(q.window.CmdQueue()->Count(), 0u);
    EXPECT_TRUE(q.window.Modified());
    TestWindow<frmZIM8x8> z;
    EXPECT_EQ(untickAndTick(z.window), (Strings{"050000", "040000", "090000", "080000"}));
}

}  // namespace
}  // namespace tavo::test
