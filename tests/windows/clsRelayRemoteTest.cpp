// The relay controller's remote tab: the command words its buttons send, the
// LEDs after a send that succeeded or failed, and the monitor list.

#include <gtest/gtest.h>

#include <QCheckBox>

#include "button/Quorvel.h"
#include "tests/windows/RemoteTabsFixture.h"

namespace tavo::test {
namespace {

std::vector<std::uint32_t> RelayColors(const frmQUELB& w) {
    std::vector<std::uint32_t> colors;
    for (const Shape* led : w.shpRelayLED) colors.push_back(led->FillColor());
    return colors;
}

const std::vector<std::uint32_t> kAllGreen(8, kLedGreen);
const std::vector<std::uint32_t> kAllGrey(8, kLedGrey);

TEST(clsRelayRemote, ButtonsSendTheirCommandWords) {
    // The device reports every relay off.
    LoadedWindow<frmQUELB> line(false, "840000\r\n", {{4, "0000"}});
    frmQUELB& w = line.window;
    clsRelayRemote& remote = PartOf<clsRelayRemote>(w);
    const std::size_t before = line.device->Frames().size();

    emit remote.btnRemoteOn[0]->Click();
    EXPECT_EQ(LastMonitorLine(w), "Sending:\t050001FA\tRelay #1 (ON)");
    EXPECT_EQ(w.shpRelayLED[0]->FillColor(), kLedGreen);
    emit remote.btnRemoteOn[7]->Click();
    emit remote.btnRemoteOff[0]->Click();
    EXPECT_EQ(w.shpRelayLED[0]->FillColor(), kLedGrey);
    EXPECT_EQ(w.shpRelayLED[7]->FillColor(), kLedGreen);
    EXPECT_EQ(LastMonitorLine(w), "Sending:\t060001F9\tRelay #1 (OFF)");

    emit remote.btnRemoteAB[0]->Click();
    EXPECT_EQ(w.mABRelayState, 1);
    EXPECT_EQ(w.shpRelayABLED->FillColor(), kLedGreen);
    emit remote.btnRemoteAll[0]->Click();  // keeps the A/B relay on
    EXPECT_EQ(RelayColors(w), kAllGreen);
    emit remote.btnRemoteAB[1]->Click();
    EXPECT_EQ(w.mABRelayState, 0);
    EXPECT_EQ(w.shpRelayABLED->FillColor(), kLedGrey);
    emit remote.btnRemoteAll[1]->Click();
    EXPECT_EQ(RelayColors(w), kAllGrey);
    EXPECT_EQ(LastMonitorLine(w), "Sending:\t040000FC\tAll Relays (OFF)");

    const std::vector<std::string> frames = line.device->Frames();
    EXPECT_EQ(
        std::vector<std::string>(frames.begin() + static_cast<long>(before), frames.end()),
        (std::vector<std::string>{"050001", "050080", "060001", "050100", "0401FF", "060100", "040000"}));
    EXPECT_TRUE(line.boxes.Shown().empty());
    EXPECT_FALSE(w.Busy());
}

TEST(clsRelayRemote, FailedSendShowsDeviceErrorAndKeepsTheLeds) {
    LoadedWindow<frmQUELB> line(false, "840000\r\n", {{4, "0000"}});
    frmQUELB& w = line.window;
    clsRelayRemote& remote = PartOf<clsRelayRemote>(w);
    line.Unplug();

    emit remote.btnRemoteAB[0]->Click();
    ASSERT_EQ(line.boxes.Shown().size(), 1u);
    EXPECT_EQ(line.boxes.Shown()[0].title, "Device Error");
    EXPECT_EQ(line.boxes.Shown()[0].text, "Error sending command!  Please try again.");
    EXPECT_EQ(line.boxes.Shown()[0].icon, MsgIcon::Critical);
    EXPECT_EQ(w.mABRelayState, 0);
    EXPECT_EQ(w.shpRelayABLED->FillColor(), kLedGrey);
    // The line was added before the send, and the next all-on keeps the old A/B digit.
    EXPECT_EQ(LastMonitorLine(w), "Sending:\t050100FA\tB Bus (ON)");
    emit remote.btnRemoteAll[0]->Click();
    EXPECT_EQ(LastMonitorLine(w), "Sending:\t0400FFFD\tAll Relays (ON)");
    EXPECT_EQ(RelayColors(w), kAllGrey);
    EXPECT_EQ(line.boxes.Shown().size(), 2u);
    EXPECT_FALSE(w.Busy());
}

TEST(clsRelayRemote, DemoModeBusyAndDiagnosticMode) {
    LoadedWindow<frmQUELB> demo(true);  // the demo relay controller has every relay on
    frmQUELB& w = demo.window;
    clsRelayRemote& remote = PartOf<clsRelayRemote>(w);
    ASSERT_EQ(w.mABRelayState, 1);

    emit remote.btnRemoteAll[1]->Click();
    EXPECT_EQ(RelayColors(w), kAllGrey);
    EXPECT_EQ(LastMonitorLine(w), "Sending:\t040100FB\tAll Relays (OFF)");
    EXPECT_EQ(w.shpRelayABLED->FillColor(), kLedGreen);

    // A press while busy is ignored without a message.
    const int lines = w.lstMonitor->count();
    w.SetBusy(true);
    emit remote.btnRemoteOn[2]->Click();
    w.SetBusy(false);
    EXPECT_EQ(w.shpRelayLED[2]->FillColor(), kLedGrey);
    EXPECT_EQ(w.lstMonitor->count(), lines);

    w.chkDiagnosticMode->setCheckState(Qt::Unchecked);
    emit remote.btnRemoteOn[2]->Click();
    EXPECT_EQ(w.shpRelayLED[2]->FillColor(), kLedGreen);
    EXPECT_EQ(w.lstMonitor->count(), lines);
    EXPECT_TRUE(demo.boxes.Shown().empty());
}

}  // namespace
}  // namespace tavo::test
