// The device windows as the start-up loop shows them: the modal show, the ways
// back to the chooser or out of the program, the close questions, the about
// box, and leaving a page while its monitor runs.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTimer>
#include <functional>

#include "config/frmAbout.h"
#include "config/modTAVOCfg.h"
#include "tests/windows/WindowFixture.h"
#include "windows/DeviceWindows.h"

namespace tavo::test {
namespace {

// Plays the user inside the modal show: once the shown window has done its
// first read (or when() holds), act(window) runs. Returns whether it ran.
bool WhileShown(std::int32_t type, const std::function<void(frmDeviceWindow&)>& act,
                const std::function<bool(frmDeviceWindow&)>& when = &frmDeviceWindow::SettingsRead) {
    bool ran = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* w = qobject_cast<frmDeviceWindow*>(QApplication::activeModalWidget());
        if (ran || !w || !when(*w)) return;
        ran = true;
        poll.stop();
        act(*w);
    });
    poll.start();
    ShowDeviceWindow(type);
    return ran;
}

TEST(WindowLifecycle, SelectNewDeviceAndExitHandBackToTheLoop) {
    ProgramState state(0, true);
    ScriptedMessageBox boxes;
    EXPECT_TRUE(WhileShown(0, [](frmDeviceWindow& w) {
        EXPECT_EQ(w.StatusText(1), "Ready (Demo Mode)");
        w.SetModified(true);  // demo mode: no question
        Find<QAction>(w, "mnuFileSelectDevice")->trigger();
    }));
    EXPECT_TRUE(modTAVOCfg::gReselectDevice);

    EXPECT_TRUE(WhileShown(0, [](frmDeviceWindow& w) { Find<QAction>(w, "mnuFileExit")->trigger(); }));
    EXPECT_FALSE(modTAVOCfg::gReselectDevice);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(WindowLifecycle, UnsavedChangesAreQuestionedBeforeTheWindowGoes) {
    DeviceBench line(1, {.demo = false, .initLines = "8C0000"});
    EXPECT_TRUE(WhileShown(1, [&line](frmDeviceWindow& w) {
        w.SetModified(true);
        line.boxes.Answer(MsgResult::No);
        Find<QAction>(w, "mnuFileSelectDevice")->trigger();
        EXPECT_TRUE(w.isVisible());
        EXPECT_FALSE(modTAVOCfg::gReselectDevice);
        EXPECT_EQ(
            Boxes(line.boxes),
            Strings{
                "Abandon changes? | Your changes have not been saved to the device.\r\nContinue closing?"});
        EXPECT_EQ(line.boxes.Shown().at(0).buttons, MsgButtons::YesNo);
        EXPECT_EQ(line.boxes.Shown().at(0).defaultButton, MsgResult::No);

        line.boxes.Answer(MsgResult::No);
        w.close();  // the close box
        EXPECT_TRUE(w.isVisible());
        line.boxes.Answer(MsgResult::Yes);
        w.close();
    }));
    EXPECT_EQ(line.boxes.Shown().size(), 3u);  // asked once per request, not again by the unload
    EXPECT_FALSE(modTAVOCfg::gReselectDevice);

    EXPECT_TRUE(WhileShown(1, [&line](frmDeviceWindow& w) {
        w.SetModified(true);
        line.boxes.Answer(MsgResult::Yes);
        Find<QAction>(w, "mnuFileSelectDevice")->trigger();
    }));
    EXPECT_TRUE(modTAVOCfg::gReselectDevice);
    EXPECT_EQ(line.boxes.Shown().size(), 4u);
    EXPECT_EQ(std::ranges::count(line.device->Frames(), "8C0000"), 2);  // each showing reads the device
}

TEST(WindowLifecycle, ClosedDuringAReadTheWindowStopsAtTheNextCommandShowsNoBoxAndEndsTheProgram) {
    // Closed in the second read (its 4th character): of a device that echoes but never replies
    // (3 s a read), and of one that falls silent there (1.2 s a read).
    for (const EmulatorOptions& emulator :
         {EmulatorOptions{.neverReply = true}, {.stopEchoAfter = 2 + 10 + 3}}) {
        DeviceBench line(
            0, {.demo = false, .initLines = "800000\r\n800000\r\n800000\r\n800000", .emulator = emulator});
        QElapsedTimer sinceClose;
        const auto close = [&](frmDeviceWindow& w) {
            sinceClose.start();
            w.close();
        };
        EXPECT_TRUE(
            WhileShown(0, close, [&](frmDeviceWindow&) { return line.device->Received().size() > 15; }));
        EXPECT_LT(sinceClose.elapsed(), 10000);  // one read's time-outs and the unload; the rest took 18 s
        EXPECT_TRUE(line.boxes.Shown().empty());
        EXPECT_FALSE(modTAVOCfg::gReselectDevice);
    }
}

TEST(WindowLifecycle, UnreachablePortReturnsToTheChooserWithoutShowing) {
    ProgramState state(1, false);
    PortMapFolder map;
    ScriptedMessageBox boxes;
    EXPECT_FALSE(WhileShown(1, [](frmDeviceWindow&) {}));
    EXPECT_TRUE(modTAVOCfg::gReselectDevice);
    EXPECT_EQ(boxes.Shown().size(), 1u);
}

TEST(WindowLifecycle, AboutBoxActivatesTheWindowAgainWithoutARead) {
    TestWindow<frmQUELB> demo;
    frmQUELB& w = demo.window;
    w.SetStatusText("something else");
    QTimer closer;
    closer.setInterval(20);
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget())) about->close();
    });
    closer.start();
    Combo(w, "cboIRKeyOn", 1)->setCurrentIndex(9);
    Find<QAction>(w, "mnuHelpAbout")->trigger();
    EXPECT_EQ(w.StatusText(1), "Ready (Demo Mode)");
    EXPECT_EQ(Combo(w, "cboIRKeyOn", 1)->currentIndex(), 9);  // not read again
    EXPECT_TRUE(w.Modified());
}

TEST(WindowLifecycle, LeavingAPageOrClosingStopsItsMonitor) {
    TestWindow<frmQUELB> line({.demo = false});
    frmQUELB& w = line.window;
    ASSERT_EQ(Find<QTabWidget>(w, "tabMain")->currentIndex(), 0);

    Find<QCheckBox>(w, "chkMonitorIR")->setCheckState(Qt::Checked);
    ASSERT_TRUE(w.MonitoringIR());
    Find<QTabWidget>(w, "tabMain")->setCurrentIndex(2);  // leaving the IR page
    EXPECT_FALSE(w.MonitoringIR());
    EXPECT_EQ(Find<QCheckBox>(w, "chkMonitorIR")->checkState(), Qt::Unchecked);

    Find<QTabWidget>(w, "tabMain")->setCurrentIndex(1);
    Find<QCheckBox>(w, "chkMonitorX10")->setCheckState(Qt::Checked);
    ASSERT_TRUE(w.MonitoringX10());
    Find<QTabWidget>(w, "tabMain")->setCurrentIndex(2);
    EXPECT_FALSE(w.MonitoringX10());
    Find<QTabWidget>(w, "tabMain")->setCurrentIndex(1);
    Find<QCheckBox>(w, "chkMonitorX10")->setCheckState(Qt::Checked);
    w.SetModified(true);
    line.boxes.Answer(MsgResult::No);
    QElapsedTimer clock;
    clock.start();
    bool cancel = false;
    w.Form_QueryUnload(cancel);
    EXPECT_GE(clock.elapsed(), 500);  // the device gets time to leave its monitor mode
    EXPECT_TRUE(cancel);
    EXPECT_FALSE(w.MonitoringX10());
    const Strings frames = line.device->Frames();
    EXPECT_EQ(Strings(frames.end() - 6, frames.end()),
              (Strings{"010004", "020004", "010001", "020001", "010001", "020001"}));
}

TEST(WindowLifecycle, SecondCloseDuringTheMonitorWaitAsksNothingMore) {
    TestWindow<frmZIM8x8> line({.demo = false});
    frmZIM8x8& w = line.window;
    Find<QCheckBox>(w, "chkMonitorIR")->setCheckState(Qt::Checked);
    ASSERT_TRUE(w.MonitoringIR());
    w.SetModified(true);
    // The close box pressed again while the first request waits for the device.
    QTimer::singleShot(100, &w, [&w] { w.close(); });
    line.boxes.Answer(MsgResult::No);
    const std::uint32_t start = timeGetTime();
    bool cancel = false;
    w.Form_QueryUnload(cancel);
    EXPECT_GE(timeGetTime() - start, 400u);  // the wait after stopping the IR monitor
    EXPECT_TRUE(cancel);
    EXPECT_EQ(line.boxes.Shown().size(), 1u);  // one question, from the first request
    EXPECT_FALSE(w.MonitoringIR());
}

}  // namespace
}  // namespace tavo::test
