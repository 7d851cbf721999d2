// The IR and X-10 monitor: decoding of monitor messages, switching the device's
// monitor modes, and polling the port into the monitor labels.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>

#include "tests/windows/RemoteTabsFixture.h"

namespace tavo::test {
namespace {

std::string Text(const QLabel* label) { return label->text().toStdString(); }

TEST(clsDeviceMonitorDecode, IRMessages) {
    std::string group = "g", key = "k";
    EXPECT_TRUE(clsDeviceMonitor::DecodeIRMonitor("$0A1F+", group, key));
    EXPECT_EQ(group + "/" + key, "11/32");
    EXPECT_TRUE(clsDeviceMonitor::DecodeIRMonitor(" $FF FF+", group, key));
    EXPECT_EQ(group + "/" + key, "256/256");
    // Longer input is cut to six characters; the first and sixth are not examined.
    EXPECT_TRUE(clsDeviceMonitor::DecodeIRMonitor("x0001y$0203+", group, key));
    EXPECT_EQ(group + "/" + key, "1/2");

    group = "g", key = "k";
    EXPECT_FALSE(clsDeviceMonitor::DecodeIRMonitor("$0A1F", group, key));   // too short
    EXPECT_FALSE(clsDeviceMonitor::DecodeIRMonitor("$0G1F+", group, key));  // line noise
    EXPECT_EQ(group + "/" + key, "g/k");
}

TEST(clsDeviceMonitorDecode, X10MessagesOfBothLayouts) {
    std::string house, unit, function;
    // Relay controller: bit fields of "0CC0" (house 6 "A", unit 0 "13") and "0004" (function 2 "On").
    EXPECT_TRUE(clsDeviceMonitor::DecodeX10Monitor(12, "$0CC0zz0004+", house, unit, &function));
    EXPECT_EQ(house + "/" + unit + "/" + function, "A/13/On");
    EXPECT_TRUE(clsDeviceMonitor::DecodeX10Monitor(12, "$\t01FE 00 001E+", house, unit, &function));
    EXPECT_EQ(house + "/" + unit + "/" + function, "J/10/Status Request");
    // Matrix switch: one digit each.
    EXPECT_TRUE(clsDeviceMonitor::DecodeX10Monitor(6, "$62x2+", house, unit, &function));
    EXPECT_EQ(house + "/" + unit + "/" + function, "A/3/On");
    EXPECT_TRUE(clsDeviceMonitor::DecodeX10Monitor(6, "$F0xB+", house, unit));
    EXPECT_EQ(house + "/" + unit, "J/13");

    house = unit = function = "-";
    for (const char* bad : {"#62x2+", "$62x2*", "$62x2+Z", "$6Gx2+", "", "$0CC0zz0004+"})
        EXPECT_FALSE(clsDeviceMonitor::DecodeX10Monitor(6, bad, house, unit, &function)) << bad;
    EXPECT_FALSE(clsDeviceMonitor::DecodeX10Monitor(12, "$0CC0zz00X4+", house, unit, &function));
    EXPECT_EQ(house + unit + function, "---");
}

TEST(clsDeviceMonitorPolling, RelayWindowShowsIRMessages) {
    LoadedWindow<frmQUELB> line(false);
    frmQUELB& w = line.window;
    clsDeviceMonitor& monitor = PartOf<clsDeviceMonitor>(w);

    w.chkMonitorIR->setCheckState(Qt::Checked);
    ASSERT_TRUE(w.MonitoringIR());
    EXPECT_EQ(line.device->Frames().back(), "010004");
    EXPECT_EQ(w.StatusText(2), "Monitoring IR");
    EXPECT_TRUE(w.tmrMonitorIR->isActive());

    monitor.tmrMonitorIR_Timer();  // begins a wait from an empty buffer
    line.device->Inject("$0A1F+");
    EXPECT_TRUE(WaitFor([&] { return Text(w.lblMonitorIRKey) == "32"; }));
    EXPECT_EQ(Text(w.lblMonitorIRGroup), "11");

    // A message that arrives in two parts is put together across ticks.
    monitor.tmrMonitorIR_Timer();
    line.device->Inject("$FF");
    EXPECT_TRUE(WaitFor([&] { return w.ComPort()->GetInBufferCount() == 3; }));
    monitor.tmrMonitorIR_Timer();
    EXPECT_EQ(Text(w.lblMonitorIRGroup), "11");
    line.device->Inject("FF+");
    EXPECT_TRUE(WaitFor([&] { return Text(w.lblMonitorIRGroup) == "256"; }));

    w.chkMonitorIR->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(w.MonitoringIR());
    EXPECT_FALSE(w.tmrMonitorIR->isActive());
    EXPECT_EQ(line.device->Frames().back(), "020004");
    EXPECT_EQ(Text(w.lblMonitorIRGroup) + Text(w.lblMonitorIRKey), "");
    EXPECT_TRUE(line.boxes.Shown().empty());
}

TEST(clsDeviceMonitorPolling, MatrixWindowShowsX10Messages) {
    LoadedWindow<frmZIM8x8> line(false);
    frmZIM8x8& w = line.window;
    clsDeviceMonitor& monitor = PartOf<clsDeviceMonitor>(w);
    auto labels = [&] {
        return Text(w.lblMonitorX10House) + "/" + Text(w.lblMonitorX10Unit) + "/" + Text(w.lblMonitorX10Func);
    };
    auto show = [&](const std::string& message, const std::string& expected) {
        monitor.tmrMonitorX10_Timer();
        line.device->Inject(message);
        EXPECT_TRUE(WaitFor([&] { return labels() == expected; })) << message << " gave " << labels();
    };

    w.chkMonitorX10->setCheckState(Qt::Checked);
    ASSERT_TRUE(w.MonitoringX10());
    EXPECT_EQ(line.device->Frames().back(), "0A0000");
    show("$62x2+", "A/3/On");
    show("$62xx2+", "*/*/*");  // another length
    show("#62x2+", "//");      // the right length, but no "$"
    show("$C4 x3+", "P/15/Off");

    w.chkMonitorX10->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(w.MonitoringX10());
    EXPECT_EQ(line.device->Frames().back(), "0B0000");
    EXPECT_EQ(labels(), "//");
}

TEST(clsDeviceMonitorFailures, ModeSwitchFailuresPutTheCheckBoxBack) {
    LoadedWindow<frmQUELB> line(false);
    frmQUELB& w = line.window;
    PartOf<clsDeviceMonitor>(w);
    w.chkMonitorX10->setCheckState(Qt::Checked);
    ASSERT_TRUE(w.MonitoringX10());

    line.Unplug();
    w.chkMonitorX10->setCheckState(Qt::Unchecked);
    ASSERT_EQ(line.boxes.Shown().size(), 1u);
    EXPECT_EQ(line.boxes.Shown()[0].title, "Device Error");
    EXPECT_EQ(line.boxes.Shown()[0].text, "Error clearing X10 monitor mode!  Please try again.");
    EXPECT_EQ(line.boxes.Shown()[0].icon, MsgIcon::Critical);
    // Monitoring goes on, and the box says so again.
    EXPECT_TRUE(w.MonitoringX10());
    EXPECT_TRUE(w.tmrMonitorX10->isActive());
    EXPECT_EQ(w.chkMonitorX10->checkState(), Qt::Checked);
    EXPECT_FALSE(w.Busy());

    w.SetMonitoringX10(false);  // as if stopped, so that the IR box lies on an enabled page
    w.chkMonitorIR->setCheckState(Qt::Checked);
    ASSERT_EQ(line.boxes.Shown().size(), 2u);
    EXPECT_EQ(line.boxes.Shown()[1].text, "Error setting IR monitor mode!  Please try again.");
    EXPECT_FALSE(w.MonitoringIR());
    EXPECT_FALSE(w.tmrMonitorIR->isActive());
    EXPECT_EQ(w.chkMonitorIR->checkState(), Qt::Unchecked);
}

}  // namespace
}  // namespace tavo::test
