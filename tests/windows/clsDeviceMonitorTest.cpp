// The IR and X-10 monitor of both windows against an emulated device:
// switching the monitor modes, and polling the port into the monitor labels.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>

#include "link/clsComPort.h"
#include "tests/windows/WindowFixture.h"
#include "windows/clsDeviceMonitor.h"

namespace tavo::test {
namespace {

// The texts of a window's labels, joined by "/".
std::string Texts(const frmDeviceWindow& w, const std::vector<const char*>& labels) {
    std::string text;
    for (std::size_t i = 0; i < labels.size(); ++i)
        text += (i ? "/" : "") + Find<QLabel>(w, labels[i])->text().toStdString();
    return text;
}
const std::vector<const char*> kIRLabels = {"lblMonitorIRGroup", "lblMonitorIRKey"};
const std::vector<const char*> kX10Labels = {"lblMonitorX10House", "lblMonitorX10Unit", "lblMonitorX10Func"};

// One monitor, IR or X-10, of one window: the command words it sends (on,
// off), and device messages with what the labels then show.
template <typename Window>
void RunMonitor(bool ir, const Strings& words,
                const std::vector<std::pair<const char*, const char*>>& shown) {
    TestWindow<Window> line({.demo = false});
    Window& w = line.window;
    clsDeviceMonitor& m = w.Monitor();
    auto start = [&] { return ir ? m.StartIRMonitor() : m.StartX10Monitor(); };
    auto* timer = Find<QTimer>(w, ir ? "tmrMonitorIR" : "tmrMonitorX10");
    const auto& labels = ir ? kIRLabels : kX10Labels;
    w.SetBusy(true);  // no start or stop while the window is busy
    EXPECT_FALSE(start());
    w.SetBusy(false);
    Find<QCheckBox>(w, ir ? "chkMonitorIR" : "chkMonitorX10")->setCheckState(Qt::Checked);
    EXPECT_TRUE(timer->isActive() && timer->interval() == 100);
    EXPECT_FALSE(start());  // already monitoring
    w.SetBusy(true);
    EXPECT_FALSE(ir ? m.StopIRMonitor() : m.StopX10Monitor());
    w.SetBusy(false);
    for (auto [message, text] : shown) {
        ir ? m.tmrMonitorIR_Timer() : m.tmrMonitorX10_Timer();  // a wait from an empty buffer
        line.device->Inject(message);
        EXPECT_TRUE(WaitFor([&] { return Texts(w, labels) == text; })) << message << ": " << Texts(w, labels);
    }
    Find<QCheckBox>(w, ir ? "chkMonitorIR" : "chkMonitorX10")->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(line.NewFrames(), words);
    EXPECT_EQ(Texts(w, labels), std::string(labels.size() - 1, '/'));
}

TEST(clsDeviceMonitorPolling, BothMonitorsOfBothWindows) {
    const std::vector<std::pair<const char*, const char*>> ir = {{"$0A1F+", "11/32"}, {"$FFFF+", "256/256"}};
    RunMonitor<frmQUELB>(true, {"010004", "020004"}, ir);
    RunMonitor<frmZIM8x8>(true, {"060000", "070000"}, ir);
    // A message of the window's length is decoded, one of another length shows "*", a bad frame nothing.
    RunMonitor<frmQUELB>(false, {"010001", "020001"},
                         {{"$0CC0zz0004+", "A/13/On"}, {"$0CC0zz00040+", "*/*/*"}, {"#0CC0zz0004+", "//"}});
    RunMonitor<frmZIM8x8>(false, {"0A0000", "0B0000"},
                          {{"$62x2+", "A/3/On"}, {"$62xx2+", "*/*/*"}, {"#62x2+", "//"}});
}

TEST(clsDeviceMonitorPolling, AMessageIsPutTogetherAcrossTicksButNotWhileBusy) {
    TestWindow<frmQUELB> line({.demo = false});
    frmQUELB& w = line.window;
    Find<QCheckBox>(w, "chkMonitorIR")->setCheckState(Qt::Checked);
    ASSERT_TRUE(w.MonitoringIR());
    w.Monitor().tmrMonitorIR_Timer();  // begins a wait from an empty buffer
    line.device->Inject("$0A");
    EXPECT_TRUE(WaitFor([&] { return w.ComPort()->GetInBufferCount() == 3; }));
    w.Monitor().tmrMonitorIR_Timer();
    // While the window sends, a tick leaves the port alone: what comes belongs to the send.
    w.SetBusy(true);
    line.device->Inject("1F+");
    EXPECT_TRUE(WaitFor([&] { return w.ComPort()->GetInBufferCount() == 6; }));
    w.Monitor().tmrMonitorIR_Timer();
    EXPECT_EQ(w.ComPort()->GetInBufferCount(), 6);
    w.SetBusy(false);
    EXPECT_TRUE(WaitFor([&] { return Texts(w, kIRLabels) == "11/32"; }));
}

TEST(clsDeviceMonitorFailures, ModeSwitchFailuresPutTheCheckBoxBack) {
    TestWindow<frmQUELB> line({.demo = false});
    frmQUELB& w = line.window;
    auto tick = [&w](Qt::CheckState value) {
        for (const char* box : {"chkMonitorIR", "chkMonitorX10"})
            Find<QCheckBox>(w, box)->setCheckState(value);
    };
    tick(Qt::Checked);
    ASSERT_TRUE(w.MonitoringIR() && w.MonitoringX10());
    Find<QLabel>(w, "lblMonitorX10House")->setText("A");
    line.Unplug();
    // A stop that fails leaves the monitor on and its box ticked; the labels are emptied all the same.
    tick(Qt::Unchecked);
    EXPECT_TRUE(w.MonitoringIR() && w.MonitoringX10() && Find<QTimer>(w, "tmrMonitorX10")->isActive());
    EXPECT_EQ(CheckValues(w), (std::vector<int>{0, 1, 0, 1}));
    EXPECT_EQ(Texts(w, {"lblMonitorX10House"}), "");
    // A start that fails leaves it off and its box clear.
    w.SetMonitoringIR(false);
    w.SetMonitoringX10(false);
    Find<QTimer>(w, "tmrMonitorIR")->stop();
    tick(Qt::Unchecked);
    tick(Qt::Checked);
    EXPECT_FALSE(w.MonitoringIR() || w.MonitoringX10() || Find<QTimer>(w, "tmrMonitorIR")->isActive());
    EXPECT_EQ(CheckValues(w), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(Boxes(line.boxes),
              (Strings{"Device Error | Error clearing IR monitor mode!  Please try again.",
                       "Device Error | Error clearing X10 monitor mode!  Please try again.",
                       "Device Error | Error setting IR monitor mode!  Please try again.",
                       "Device Error | Error setting X-10 monitor mode!  Please try again."}));
    EXPECT_FALSE(w.Busy());
}

TEST(clsDeviceMonitorFailures, PartOfAMessageBeforeAFailedStopIsNotTakenIntoTheNext) {
    // The device echoes everything up to the end of the monitor-on frame, then nothing.
    std::size_t echoed = 0;
    {
        TestWindow<frmQUELB> probe({.demo = false});
        Find<QCheckBox>(probe.window, "chkMonitorIR")->setCheckState(Qt::Checked);
        ASSERT_TRUE(probe.window.MonitoringIR());
        echoed = probe.device->Received().size();
    }
    TestWindow<frmQUELB> line({.demo = false, .emulator = {.stopEchoAfter = static_cast<int>(echoed)}});
    frmQUELB& w = line.window;
    Find<QCheckBox>(w, "chkMonitorIR")->setCheckState(Qt::Checked);
    ASSERT_TRUE(w.MonitoringIR());
    w.Monitor().tmrMonitorIR_Timer();
    line.device->Inject("$0A");
    EXPECT_TRUE(WaitFor([&] { return w.ComPort()->GetInBufferCount() == 3; }));
    w.Monitor().tmrMonitorIR_Timer();

    Find<QCheckBox>(w, "chkMonitorIR")->setCheckState(Qt::Unchecked);  // the off word is not echoed
    ASSERT_EQ(line.boxes.Shown().size(), 1u);
    ASSERT_TRUE(w.MonitoringIR());
    line.device->Inject("$1F2E+");
    EXPECT_TRUE(WaitFor([&] { return Texts(w, kIRLabels) == "32/47"; })) << Texts(w, kIRLabels);
}

}  // namespace
}  // namespace tavo::test
