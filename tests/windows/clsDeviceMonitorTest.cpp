// The IR and X-10 monitor: switching the device's monitor modes, and polling
// the port into the monitor labels.

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

TEST(clsDeviceMonitorPolling, RelayWindowShowsIRMessages) {
    TestWindow<frmQUELB> line({.demo = false});
    frmQUELB& w = line.window;
    line.NewFrames();
    Find<QCheckBox>(w, "chkMonitorIR")->setCheckState(Qt::Checked);
    ASSERT_TRUE(w.MonitoringIR());
    EXPECT_EQ(w.StatusText(2), "Monitoring IR");

    w.Monitor().tmrMonitorIR_Timer();  // begins a wait from an empty buffer
    line.device->Inject("$0A");        // a message in two parts is put together across ticks
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

    Find<QCheckBox>(w, "chkMonitorIR")->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(w.MonitoringIR());
    EXPECT_FALSE(Find<QTimer>(w, "tmrMonitorIR")->isActive());
    EXPECT_EQ(line.NewFrames(), (std::vector<std::string>{"010004", "020004"}));
    EXPECT_EQ(Texts(w, kIRLabels), "/");
}

TEST(clsDeviceMonitorPolling, MatrixWindowShowsX10Messages) {
    TestWindow<frmZIM8x8> line({.demo = false});
    frmZIM8x8& w = line.window;
    auto labels = [&w] { return Texts(w, kX10Labels); };
    line.NewFrames();
    Find<QCheckBox>(w, "chkMonitorX10")->setCheckState(Qt::Checked);
    ASSERT_TRUE(w.MonitoringX10());
    for (auto [message, shown] : {std::pair{"$62x2+", "A/3/On"}, {"$62xx2+", "*/*/*"}, {"#62x2+", "//"}}) {
        w.Monitor().tmrMonitorX10_Timer();
        line.device->Inject(message);
        EXPECT_TRUE(WaitFor([&] { return labels() == shown; })) << message << " gave " << labels();
    }
    Find<QCheckBox>(w, "chkMonitorX10")->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(w.MonitoringX10());
    EXPECT_EQ(line.NewFrames(), (std::vector<std::string>{"0A0000", "0B0000"}));
}

TEST(clsDeviceMonitorFailures, ModeSwitchFailuresPutTheCheckBoxBack) {
    TestWindow<frmQUELB> line({.demo = false});
    frmQUELB& w = line.window;
    Find<QCheckBox>(w, "chkMonitorX10")->setCheckState(Qt::Checked);
    ASSERT_TRUE(w.MonitoringX10());
    Find<QLabel>(w, "lblMonitorX10House")->setText("A");
    line.Unplug();

    Find<QCheckBox>(w, "chkMonitorX10")->setCheckState(Qt::Unchecked);
    ASSERT_EQ(line.boxes.Shown().size(), 1u);
    EXPECT_EQ(line.boxes.Shown()[0].title, "Device Error");
    EXPECT_EQ(line.boxes.Shown()[0].text, "Error clearing X10 monitor mode!  Please try again.");
    EXPECT_TRUE(w.MonitoringX10() && Find<QTimer>(w, "tmrMonitorX10")->isActive());
    EXPECT_EQ(Find<QCheckBox>(w, "chkMonitorX10")->checkState(), Qt::Checked);
    EXPECT_EQ(Texts(w, {"lblMonitorX10House"}), "");  // the labels are emptied all the same

    w.SetMonitoringX10(false);  // so that the IR box's page is enabled again
    Find<QCheckBox>(w, "chkMonitorIR")->setCheckState(Qt::Checked);
    ASSERT_EQ(line.boxes.Shown().size(), 2u);
    EXPECT_EQ(line.boxes.Shown()[1].text, "Error setting IR monitor mode!  Please try again.");
    EXPECT_FALSE(w.MonitoringIR() || Find<QTimer>(w, "tmrMonitorIR")->isActive());
    EXPECT_EQ(Find<QCheckBox>(w, "chkMonitorIR")->checkState(), Qt::Unchecked);
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
