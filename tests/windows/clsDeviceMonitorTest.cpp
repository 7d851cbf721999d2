// The IR and X-10 monitor: decoding of monitor messages, switching the device's
// monitor modes, and polling the port into the monitor labels.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>

#include "tests/windows/RemoteTabsFixture.h"

namespace tavo::test {
namespace {

std::string Text(const QLabel* label) { return label->text().toStdString(); }

TEST(clsDeviceMonitorDecode, IRAndX10Messages) {
    std::string group = "g", key = "k";
    EXPECT_TRUE(clsDeviceMonitor::DecodeIRMonitor(" $0A 1F+", group, key));
    EXPECT_EQ(group + "/" + key, "11/32");
    EXPECT_TRUE(clsDeviceMonitor::DecodeIRMonitor("$FFFF+tail", group, key));
    EXPECT_EQ(group + "/" + key, "256/256");
    EXPECT_FALSE(clsDeviceMonitor::DecodeIRMonitor("$0A1F", group, key));
    EXPECT_FALSE(clsDeviceMonitor::DecodeIRMonitor("$0G1F+", group, key));  // line noise
    EXPECT_EQ(group + "/" + key, "256/256");

    std::string house, unit, function;
    // Relay controller: bit fields of "0CC0" (house 6 "A", unit 0 "13") and "0004" (function 2 "On").
    EXPECT_TRUE(clsDeviceMonitor::DecodeX10Monitor(12, "$0CC0zz0004+", house, unit, &function));
    EXPECT_EQ(house + "/" + unit + "/" + function, "A/13/On");
    EXPECT_TRUE(clsDeviceMonitor::DecodeX10Monitor(12, "$\t01FE 00 001E+", house, unit, &function));
    EXPECT_EQ(house + "/" + unit + "/" + function, "J/10/Status Request");
    // Matrix switch: one digit each.
    EXPECT_TRUE(clsDeviceMonitor::DecodeX10Monitor(6, "$62x2+", house, unit, &function));
    EXPECT_EQ(house + "/" + unit + "/" + function, "A/3/On");
    for (const char* bad : {"#62x2+", "$62x2*", "$62x2+Z", "$6Gx2+", ""})
        EXPECT_FALSE(clsDeviceMonitor::DecodeX10Monitor(6, bad, house, unit, &function)) << bad;
    EXPECT_FALSE(clsDeviceMonitor::DecodeX10Monitor(12, "$0CC0zz00X4+", house, unit, &function));
    EXPECT_EQ(house + "/" + unit + "/" + function, "A/3/On");
}

TEST(clsDeviceMonitorPolling, RelayWindowShowsIRMessages) {
    LoadedWindow<frmQUELB> line(false);
    frmQUELB& w = line.window;
    line.NewFrames();
    w.chkMonitorIR->setCheckState(Qt::Checked);
    ASSERT_TRUE(w.MonitoringIR());
    EXPECT_EQ(w.StatusText(2), "Monitoring IR");

    w.monitor->tmrMonitorIR_Timer();  // begins a wait from an empty buffer
    line.device->Inject("$0A");       // a message in two parts is put together across ticks
    EXPECT_TRUE(WaitFor([&] { return w.ComPort()->GetInBufferCount() == 3; }));
    w.monitor->tmrMonitorIR_Timer();
    // While the window sends, a tick leaves the port alone: what comes belongs to the send.
    w.SetBusy(true);
    line.device->Inject("1F+");
    EXPECT_TRUE(WaitFor([&] { return w.ComPort()->GetInBufferCount() == 6; }));
    w.monitor->tmrMonitorIR_Timer();
    EXPECT_EQ(w.ComPort()->GetInBufferCount(), 6);
    w.SetBusy(false);
    EXPECT_TRUE(
        WaitFor([&] { return Text(w.lblMonitorIRGroup) + "/" + Text(w.lblMonitorIRKey) == "11/32"; }));

    w.chkMonitorIR->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(w.MonitoringIR());
    EXPECT_FALSE(w.tmrMonitorIR->isActive());
    EXPECT_EQ(line.NewFrames(), (std::vector<std::string>{"010004", "020004"}));
    EXPECT_EQ(Text(w.lblMonitorIRGroup) + Text(w.lblMonitorIRKey), "");
}

TEST(clsDeviceMonitorPolling, MatrixWindowShowsX10Messages) {
    LoadedWindow<frmZIM8x8> line(false);
    frmZIM8x8& w = line.window;
    auto labels = [&] {
        return Text(w.lblMonitorX10House) + "/" + Text(w.lblMonitorX10Unit) + "/" + Text(w.lblMonitorX10Func);
    };
    line.NewFrames();
    w.chkMonitorX10->setCheckState(Qt::Checked);
    ASSERT_TRUE(w.MonitoringX10());
    for (auto [message, shown] : {std::pair{"$62x2+", "A/3/On"}, {"$62xx2+", "*/*/*"}, {"#62x2+", "//"}}) {
        w.monitor->tmrMonitorX10_Timer();
        line.device->Inject(message);
        EXPECT_TRUE(WaitFor([&] { return labels() == shown; })) << message << " gave " << labels();
    }
    w.chkMonitorX10->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(w.MonitoringX10());
    EXPECT_EQ(line.NewFrames(), (std::vector<std::string>{"0A0000", "0B0000"}));
}

TEST(clsDeviceMonitorFailures, ModeSwitchFailuresPutTheCheckBoxBack) {
    LoadedWindow<frmQUELB> line(false);
    frmQUELB& w = line.window;
    w.chkMonitorX10->setCheckState(Qt::Checked);
    ASSERT_TRUE(w.MonitoringX10());
    w.lblMonitorX10House->setText("A");
    line.Unplug();

    w.chkMonitorX10->setCheckState(Qt::Unchecked);
    ASSERT_EQ(line.boxes.Shown().size(), 1u);
    EXPECT_EQ(line.boxes.Shown()[0].title, "Device Error");
    EXPECT_EQ(line.boxes.Shown()[0].text, "Error clearing X10 monitor mode!  Please try again.");
    EXPECT_TRUE(w.MonitoringX10() && w.tmrMonitorX10->isActive());
    EXPECT_EQ(w.chkMonitorX10->checkState(), Qt::Checked);
    EXPECT_EQ(Text(w.lblMonitorX10House), "");  // the labels are emptied all the same

    w.SetMonitoringX10(false);  // so that the IR box's page is enabled again
    w.chkMonitorIR->setCheckState(Qt::Checked);
    ASSERT_EQ(line.boxes.Shown().size(), 2u);
    EXPECT_EQ(line.boxes.Shown()[1].text, "Error setting IR monitor mode!  Please try again.");
    EXPECT_FALSE(w.MonitoringIR() || w.tmrMonitorIR->isActive());
    EXPECT_EQ(w.chkMonitorIR->checkState(), Qt::Unchecked);
    EXPECT_FALSE(w.Busy());
}

TEST(clsDeviceMonitorFailures, PartOfAMessageBeforeAFailedStopIsNotTakenIntoTheNext) {
    // The device echoes everything up to the end of the monitor-on frame, then nothing.
    std::size_t echoed = 0;
    {
        LoadedWindow<frmQUELB> probe(false);
        probe.window.chkMonitorIR->setCheckState(Qt::Checked);
        ASSERT_TRUE(probe.window.MonitoringIR());
        echoed = probe.device->Received().size();
    }
    LoadedWindow<frmQUELB> line(false, "", {}, EmulatorOptions{.stopEchoAfter = static_cast<int>(echoed)});
    frmQUELB& w = line.window;
    w.chkMonitorIR->setCheckState(Qt::Checked);
    ASSERT_TRUE(w.MonitoringIR());
    w.monitor->tmrMonitorIR_Timer();
    line.device->Inject("$0A");
    EXPECT_TRUE(WaitFor([&] { return w.ComPort()->GetInBufferCount() == 3; }));
    w.monitor->tmrMonitorIR_Timer();

    w.chkMonitorIR->setCheckState(Qt::Unchecked);  // the off word is not echoed
    ASSERT_EQ(line.boxes.Shown().size(), 1u);
    ASSERT_TRUE(w.MonitoringIR());
    line.device->Inject("$1F2E+");
    EXPECT_TRUE(WaitFor([&] { return Text(w.lblMonitorIRGroup) + "/" + Text(w.lblMonitorIRKey) == "32/47"; }))
        << Text(w.lblMonitorIRGroup) << "/" << Text(w.lblMonitorIRKey);
}

}  // namespace
}  // namespace tavo::test
