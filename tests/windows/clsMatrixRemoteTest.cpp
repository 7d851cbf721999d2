// The matrix switch's remote tab: routing by two presses, the selection LEDs
// and prompts, the five-second deadline (across the clock's wrap too), the
// routing display, and presses while the window is busy.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>

#include "button/Quorvel.h"
#include "tests/windows/WindowFixture.h"
#include "windows/clsMatrixRemote.h"

namespace tavo::test {
namespace {

// "1" per selection LED shown, "0" per one hidden; the routing display as drawn (off: black).
std::string Shown(const std::array<Shape*, 8>& leds) {
    std::string bits;
    for (const Shape* led : leds) bits += led->isHidden() ? '0' : '1';
    return bits;
}
std::string Green(const std::array<Shape*, 8>& shapes) { return Drawn(shapes, Qt::black); }
std::string FedBy(const clsMatrixRemote& remote) {
    std::string text;
    for (const QLabel* label : remote.lblCurrentIN) text += label->text().toStdString();
    return text;
}

TEST(clsMatrixRemote, TwoPressesRouteAnInputToAnOutputWhenTheDeviceTakesIt) {
    TestWindow<frmZIM8x8> line(
        {.demo = false, .initLines = "810000\r\n820000\r\n", .registers = {{1, "1111"}, {2, "1111"}}});
    frmZIM8x8& w = line.window;
    clsMatrixRemote& remote = *w.matrixRemote;
    ASSERT_EQ(FedBy(remote), "11111111");
    line.NewFrames();

    emit remote.btnRemoteIN[2]->Click();
    EXPECT_EQ(w.StatusText(1), "Please select an Output...");
    EXPECT_EQ(Shown(remote.shpInput), "00100000");
    EXPECT_TRUE(w.optShowRouting[2]->isChecked());
    EXPECT_TRUE(w.tmrRemoteSelect->isActive() && w.tmrFlashRemote->isActive());
    EXPECT_EQ(std::pair(w.tmrRemoteSelect->interval(), w.tmrFlashRemote->interval()), std::pair(100, 250));

    emit remote.btnRemoteOUT[4]->Click();
    EXPECT_EQ(LastMonitorLine(w), "Sending:\t030053AA\tINPUT #3 ROUTED TO #5 OUTPUT");
    EXPECT_EQ(w.mRouting[4], 2);
    EXPECT_EQ(Green(remote.shpInputGrp) + Green(remote.shpOutputGrp), "0010000000001000");
    EXPECT_EQ(FedBy(remote), "11113111");
    EXPECT_EQ(w.StatusText(1), "Ready");
    EXPECT_FALSE(w.mInputPending || w.tmrRemoteSelect->isActive() || w.tmrFlashRemote->isActive());
    EXPECT_EQ(Shown(remote.shpInput) + Shown(remote.shpOutput), "0000000000000000");

    emit remote.btnRemoteOUT[1]->Click();  // output first
    EXPECT_EQ(w.StatusText(1), "Please select an Input...");
    EXPECT_EQ(Shown(remote.shpOutput), "01000000");
    emit remote.btnRemoteIN[1]->Click();
    EXPECT_EQ(w.mRouting[1], 1);
    EXPECT_EQ(line.NewFrames(), (Strings{"030053", "030022"}));

    // A route the device does not take keeps the table, without a message.
    line.Unplug();
    emit remote.btnRemoteIN[0]->Click();
    emit remote.btnRemoteOUT[7]->Click();
    EXPECT_EQ(LastMonitorLine(w), "Sending:\t0300817C\tINPUT #1 ROUTED TO #8 OUTPUT");
    EXPECT_EQ(FedBy(remote), "12113111");
    EXPECT_TRUE(line.boxes.Shown().empty());
    EXPECT_EQ(w.StatusText(1), "Ready");
    EXPECT_FALSE(w.mInputPending || w.mOutputPending || w.Busy());
    EXPECT_FALSE(w.tmrRemoteSelect->isActive() || w.tmrFlashRemote->isActive());
}

TEST(clsMatrixRemote, SelectionFlashesRestartsAndRunsOut) {
    TestWindow<frmZIM8x8> demo;
    frmZIM8x8& w = demo.window;
    clsMatrixRemote& remote = *w.matrixRemote;
    ClockAt clock(1000000);
    emit remote.btnRemoteIN[2]->Click();
    clock.Set(1004000);
    emit remote.btnRemoteIN[4]->Click();  // a new choice and a new five seconds
    EXPECT_EQ(Shown(remote.shpInput), "00001000");
    remote.tmrFlashRemote_Timer();
    EXPECT_EQ(Shown(remote.shpOutput), "11111111");
    remote.tmrFlashRemote_Timer();
    EXPECT_EQ(Shown(remote.shpOutput), "00000000");

    // The clock runs on between the steps, so each step keeps a margin from the deadline.
    clock.Set(1008800);  // just before the deadline
    remote.tmrRemoteSelect_Timer();
    EXPECT_TRUE(w.tmrRemoteSelect->isActive());
    clock.Set(1009200);
    remote.tmrRemoteSelect_Timer();
    EXPECT_FALSE(w.tmrRemoteSelect->isActive() || w.tmrFlashRemote->isActive());
    EXPECT_EQ(Shown(remote.shpInput), "00000000");
    EXPECT_EQ(w.StatusText(1), "Ready");  // the selection's own text, in demo mode too

    // The remembered input is routed at once by an output press.
    emit remote.btnRemoteOUT[0]->Click();
    EXPECT_EQ(LastMonitorLine(w), "Sending:\t030015E8\tINPUT #5 ROUTED TO #1 OUTPUT");
    EXPECT_EQ(Green(remote.shpOutputGrp), "10001000");

    // Without diagnostic mode a route adds no line.
    const int lines = Find<QListWidget>(w, "lstMonitor")->count();
    Find<QCheckBox>(w, "chkDiagnosticMode")->setCheckState(Qt::Unchecked);
    emit remote.btnRemoteIN[1]->Click();
    emit remote.btnRemoteOUT[1]->Click();
    EXPECT_EQ(w.mRouting[1], 1);
    EXPECT_EQ(Find<QListWidget>(w, "lstMonitor")->count(), lines);

    // The deadline holds across the clock's wrap.
    clock.Set(0xFFFFF000u);  // 4096 ms before the wrap
    emit remote.btnRemoteOUT[3]->Click();
    clock.Set(500);  // past the wrap, 4596 ms in
    remote.tmrRemoteSelect_Timer();
    EXPECT_TRUE(w.tmrRemoteSelect->isActive());
    clock.Set(1200);
    remote.tmrRemoteSelect_Timer();
    EXPECT_FALSE(w.tmrRemoteSelect->isActive());
    EXPECT_TRUE(w.mOutputPending);
}

TEST(clsMatrixRemote, RoutingDisplayBusyAndClose) {
    TestWindow<frmZIM8x8> demo;
    frmZIM8x8& w = demo.window;
    clsMatrixRemote& remote = *w.matrixRemote;
    w.mRouting = {0, 0, 2, -1, 0, 2, 2, 0};
    w.SelectShowRouting(2);
    EXPECT_EQ(Green(remote.shpInputGrp) + Green(remote.shpOutputGrp), "0010000000100110");
    w.SelectShowRouting(1);  // feeds no output
    EXPECT_EQ(Green(remote.shpOutputGrp), "00000000");
    EXPECT_EQ(FedBy(remote), "11301331");
    remote.ShowInputLeds("0100000111");
    remote.ShowInputLeds(" 1011 ");  // a shorter pattern leaves the rest alone
    EXPECT_EQ(Shown(remote.shpInput), "10110001");

    // While the window is busy, presses and the selection procedures change nothing.
    emit remote.btnRemoteIN[6]->Click();
    remote.tmrFlashRemote_Timer();
    w.SetBusy(true);
    emit remote.btnRemoteOUT[4]->Click();
    emit remote.btnRemoteIN[5]->Click();
    remote.RouteSelection();
    EXPECT_FALSE(remote.StartRemoteSelection());
    EXPECT_FALSE(remote.CancelRemoteSelection());
    EXPECT_TRUE(w.Busy() && w.mInputPending && w.optShowRouting[6]->isChecked());
    EXPECT_EQ(w.StatusText(1), "Communicating with device, please wait...");
    EXPECT_EQ(Shown(remote.shpInput) + Shown(remote.shpOutput), "0000001011111111");
    EXPECT_EQ(Find<QListWidget>(w, "lstMonitor")->count(), 0);
    w.SetBusy(false);

    // Closing with a selection pending ends it and puts every selection LED out.
    bool cancel = false;
    w.Form_QueryUnload(cancel);
    EXPECT_FALSE(w.mInputPending || w.tmrRemoteSelect->isActive() || w.tmrFlashRemote->isActive());
    EXPECT_EQ(Shown(remote.shpInput) + Shown(remote.shpOutput), "0000000000000000");
}

}  // namespace
}  // namespace tavo::test
