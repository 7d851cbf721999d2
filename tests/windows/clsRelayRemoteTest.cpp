// The relay controller's remote tab: the command words its buttons send, the
// LEDs after a send that succeeded or failed, and the monitor list.

#include <gtest/gtest.h>

#include <QCheckBox>

#include "button/Quorvel.h"
#include "tests/windows/WindowFixture.h"
#include "windows/clsRelayRemote.h"

namespace tavo::test {
namespace {

// The relay LEDs and the A/B LED as drawn.
std::string Leds(const frmQUELB& w) {
    return Drawn(w.shpRelayLED, kDrawnGrey) + "/" + Drawn(std::array{w.shpRelayABLED}, kDrawnGrey);
}

TEST(clsRelayRemote, ButtonsSendTheirCommandWords) {
    TestWindow<frmQUELB> line(
        {.demo = false, .initLines = "840000\r\n", .registers = {{4, "0000"}}});  // every relay off
    frmQUELB& w = line.window;
    clsRelayRemote& remote = *w.relayRemote;
    line.NewFrames();

    emit remote.btnRemoteOn[0]->Click();
    EXPECT_EQ(LastMonitorLine(w), "Sending:\t050001FA\tRelay #1 (ON)");
    emit remote.btnRemoteOn[7]->Click();
    emit remote.btnRemoteOff[0]->Click();
    EXPECT_EQ(Leds(w), "00000001/0");
    emit remote.btnRemoteAB[0]->Click();
    emit remote.btnRemoteAll[0]->Click();  // keeps the A/B relay on
    EXPECT_EQ(Leds(w), "11111111/1");
    emit remote.btnRemoteAB[1]->Click();
    emit remote.btnRemoteAll[1]->Click();
    EXPECT_EQ(Leds(w), "00000000/0");
    EXPECT_EQ(LastMonitorLine(w), "Sending:\t040000FC\tAll Relays (OFF)");
    EXPECT_EQ(line.NewFrames(),
              (Strings{"050001", "050080", "060001", "050100", "0401FF", "060100", "040000"}));
    EXPECT_TRUE(line.boxes.Shown().empty());
}

TEST(clsRelayRemote, FailedSendShowsDeviceErrorAndKeepsTheLeds) {
    TestWindow<frmQUELB> line({.demo = false, .initLines = "840000\r\n", .registers = {{4, "0000"}}});
    frmQUELB& w = line.window;
    line.Unplug();

    emit w.relayRemote->btnRemoteAB[0]->Click();
    EXPECT_EQ(Boxes(line.boxes), Strings{"Device Error | Error sending command!  Please try again."});
    EXPECT_EQ(line.boxes.Shown().at(0).icon, MsgIcon::Critical);
    EXPECT_EQ(w.mABRelayState, 0);
    EXPECT_EQ(Leds(w), "00000000/0");
    // The line went in before the send; the next all-on keeps the old A/B digit.
    emit w.relayRemote->btnRemoteAll[0]->Click();
    EXPECT_EQ(LastMonitorLine(w), "Sending:\t0400FFFD\tAll Relays (ON)");
    EXPECT_EQ(Leds(w), "00000000/0");
    EXPECT_FALSE(w.Busy());
}

TEST(clsRelayRemote, DemoModeBusyAndDiagnosticMode) {
    TestWindow<frmQUELB> demo({.activate = false});  // every relay on, the A/B relay too, once read
    frmQUELB& w = demo.window;
    clsRelayRemote& remote = *w.relayRemote;
    auto* diagnostic = Find<QCheckBox>(w, "chkDiagnosticMode");
    auto* list = Find<QListWidget>(w, "lstMonitor");
    diagnostic->setCheckState(Qt::Unchecked);  // it acts while the window loads too
    w.Form_Activate();
    emit remote.btnRemoteAll[1]->Click();
    EXPECT_EQ(Leds(w), "00000000/1");
    EXPECT_EQ(list->count(), 0);
    diagnostic->setCheckState(Qt::Checked);
    emit remote.btnRemoteAll[1]->Click();
    EXPECT_EQ(LastMonitorLine(w), "Sending:\t040100FB\tAll Relays (OFF)");

    // Every button is ignored while the window is busy.
    w.SetBusy(true);
    for (Quorvel* button :
         {remote.btnRemoteOn[2], remote.btnRemoteOff[0], remote.btnRemoteAll[0], remote.btnRemoteAB[1]})
        emit button->Click();
    w.SetBusy(false);
    EXPECT_EQ(Leds(w), "00000000/1");
    EXPECT_EQ(list->count(), 1);
    EXPECT_TRUE(demo.boxes.Shown().empty());
}

}  // namespace
}  // namespace tavo::test
