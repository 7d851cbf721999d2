// The matrix switch's remote tab: routing by two presses, the selection LEDs
// and prompts, the five-second deadline (across the clock's wrap too), and the
// routing display.

#include <gtest/gtest.h>

#include <QLabel>

#include "button/Quorvel.h"
#include "tests/windows/RemoteTabsFixture.h"

namespace tavo::test {
namespace {

// "1"/"0" per LED: shown or hidden.
template <typename Leds>
std::string Shown(const Leds& leds) {
    std::string bits;
    for (const Shape* led : leds) bits += led->isHidden() ? '0' : '1';
    return bits;
}

// "1"/"0" per shape: green or black.
template <typename Shapes>
std::string Green(const Shapes& shapes) {
    std::string bits;
    for (const Shape* shape : shapes) bits += shape->FillColor() == kLedGreen ? '1' : '0';
    return bits;
}

std::string FedBy(const clsMatrixRemote& remote) {
    std::string text;
    for (const QLabel* label : remote.lblCurrentIN) text += label->text().toStdString();
    return text;
}

TEST(clsMatrixRemote, TwoPressesRouteAnInputToAnOutput) {
    // The device feeds every output from input 1.
    LoadedWindow<frmZIM8x8> line(false, "810000\r\n820000\r\n", {{1, "1111"}, {2, "1111"}});
    frmZIM8x8& w = line.window;
    clsMatrixRemote& remote = PartOf<clsMatrixRemote>(w);
    ASSERT_EQ(FedBy(remote), "11111111");
    const std::size_t before = line.device->Frames().size();

    emit remote.btnRemoteIN[2]->Click();
    EXPECT_TRUE(w.mInputPending);
    EXPECT_EQ(w.StatusText(1), "Please select an Output...");
    EXPECT_EQ(Shown(remote.shpInput), "00100000");
    EXPECT_TRUE(w.optShowRouting[2]->isChecked());
    EXPECT_TRUE(w.tmrRemoteSelect->isActive());
    EXPECT_TRUE(w.tmrFlashRemote->isActive());

    emit remote.btnRemoteOUT[4]->Click();
    EXPECT_EQ(LastMonitorLine(w), "Sending:\t030053AA\tINPUT #3 ROUTED TO #5 OUTPUT");
    EXPECT_EQ(w.mRouting[4], 2);
    EXPECT_EQ(Green(remote.shpInputGrp), "00100000");
    EXPECT_EQ(Green(remote.shpOutputGrp), "00001000");
    EXPECT_EQ(FedBy(remote), "11113111");
    EXPECT_EQ(w.StatusText(1), "Ready");
    EXPECT_FALSE(w.mInputPending || w.mOutputPending);
    EXPECT_EQ(Shown(remote.shpInput) + Shown(remote.shpOutput), "0000000000000000");
    EXPECT_FALSE(w.tmrRemoteSelect->isActive() || w.tmrFlashRemote->isActive());

    // Output first, then input.
    emit remote.btnRemoteOUT[1]->Click();
    EXPECT_EQ(w.StatusText(1), "Please select an Input...");
    EXPECT_EQ(Shown(remote.shpOutput), "01000000");
    emit remote.btnRemoteIN[1]->Click();
    EXPECT_EQ(w.mRouting[1], 1);
    EXPECT_EQ(Green(remote.shpOutputGrp), "01000000");

    const std::vector<std::string> frames = line.device->Frames();
    EXPECT_EQ(std::vector<std::string>(frames.begin() + static_cast<long>(before), frames.end()),
              (std::vector<std::string>{"030053", "030022"}));
    EXPECT_TRUE(line.boxes.Shown().empty());
}

TEST(clsMatrixRemote, FailedRouteKeepsTheTableWithoutAMessage) {
    LoadedWindow<frmZIM8x8> line(false, "810000\r\n820000\r\n", {{1, "1234"}, {2, "5678"}});
    frmZIM8x8& w = line.window;
    clsMatrixRemote& remote = PartOf<clsMatrixRemote>(w);
    line.Unplug();

    emit remote.btnRemoteIN[0]->Click();
    emit remote.btnRemoteOUT[7]->Click();
    EXPECT_EQ(LastMonitorLine(w), "Sending:\t0300817C\tINPUT #1 ROUTED TO #8 OUTPUT");
    EXPECT_EQ(w.mRouting[7], 7);
    EXPECT_EQ(FedBy(remote), "12345678");
    EXPECT_TRUE(line.boxes.Shown().empty());
    EXPECT_EQ(w.StatusText(1), "Ready");
    EXPECT_FALSE(w.mInputPending || w.mOutputPending);
    EXPECT_FALSE(w.tmrRemoteSelect->isActive() || w.tmrFlashRemote->isActive());
    EXPECT_FALSE(w.Busy());
}

TEST(clsMatrixRemote, SelectionFlashesRestartsAndRunsOutAfterFiveSeconds) {
    LoadedWindow<frmZIM8x8> demo(true);
    frmZIM8x8& w = demo.window;
    clsMatrixRemote& remote = PartOf<clsMatrixRemote>(w);
    ClockAt clock(1000000);

    emit remote.btnRemoteIN[2]->Click();
    clock.Set(1004000);
    emit remote.btnRemoteIN[4]->Click();  // a new choice and a new five seconds
    EXPECT_EQ(Shown(remote.shpInput), "00001000");
    remote.tmrFlashRemote_Timer();
    EXPECT_EQ(Shown(remote.shpOutput), "11111111");
    remote.tmrFlashRemote_Timer();
    EXPECT_EQ(Shown(remote.shpOutput), "00000000");

    clock.Set(1009000);  // exactly at the deadline: not yet past it
    remote.tmrRemoteSelect_Timer();
    EXPECT_TRUE(w.tmrRemoteSelect->isActive());
    clock.Set(1009001);
    remote.tmrRemoteSelect_Timer();
    EXPECT_FALSE(w.tmrRemoteSelect->isActive() || w.tmrFlashRemote->isActive());
    EXPECT_EQ(Shown(remote.shpInput) + Shown(remote.shpOutput), "0000000000000000");
    EXPECT_EQ(w.StatusText(1), "Ready (Demo Mode)");
    EXPECT_TRUE(w.mInputPending);

    // The remembered input is routed at once by an output press; demo mode sends nothing.
    emit remote.btnRemoteOUT[0]->Click();
    EXPECT_EQ(LastMonitorLine(w), "Sending:\t030015E8\tINPUT #5 ROUTED TO #1 OUTPUT");
    EXPECT_EQ(w.mRouting[0], 4);
    EXPECT_EQ(Green(remote.shpOutputGrp), "10001000");
}

TEST(clsMatrixRemote, DeadlineHoldsAcrossTheClockWrap) {
    LoadedWindow<frmZIM8x8> demo(true);
    frmZIM8x8& w = demo.window;
    clsMatrixRemote& remote = PartOf<clsMatrixRemote>(w);
    ClockAt clock(0xFFFFF000u);  // 4096 ms before the wrap

    emit remote.btnRemoteOUT[3]->Click();
    clock.Set(0xFFFFFFF0u);
    remote.tmrRemoteSelect_Timer();
    clock.Set(500);  // past the wrap, 4600 ms in
    remote.tmrRemoteSelect_Timer();
    EXPECT_TRUE(w.tmrRemoteSelect->isActive());
    EXPECT_EQ(w.StatusText(1), "Please select an Input...");
    clock.Set(1000);
    remote.tmrRemoteSelect_Timer();
    EXPECT_FALSE(w.tmrRemoteSelect->isActive());
    EXPECT_TRUE(w.mOutputPending);
}

TEST(clsMatrixRemote, RoutingDisplayAndClose) {
    LoadedWindow<frmZIM8x8> demo(true);
    frmZIM8x8& w = demo.window;
    clsMatrixRemote& remote = PartOf<clsMatrixRemote>(w);
    w.mRouting = {0, 0, 2, -1, 0, 2, 2, 0};

    w.SelectShowRouting(2);
    EXPECT_EQ(Green(remote.shpInputGrp), "00100000");
    EXPECT_EQ(Green(remote.shpOutputGrp), "00100110");
    w.SelectShowRouting(1);  // feeds no output
    EXPECT_EQ(Green(remote.shpOutputGrp), "00000000");
    EXPECT_EQ(FedBy(remote), "11301331");

    remote.ShowInputLeds(" 1011 ");  // a shorter pattern leaves the rest alone
    remote.ShowInputLeds("0100000011");
    EXPECT_EQ(Shown(remote.shpInput), "01000000");

    // Closing with a selection pending ends it and puts every selection LED out.
    emit remote.btnRemoteIN[6]->Click();
    remote.tmrFlashRemote_Timer();
    bool cancel = false;
    w.Form_QueryUnload(cancel);
    EXPECT_FALSE(cancel);
    EXPECT_FALSE(w.mInputPending);
    EXPECT_FALSE(w.tmrRemoteSelect->isActive() || w.tmrFlashRemote->isActive());
    EXPECT_EQ(Shown(remote.shpInput) + Shown(remote.shpOutput), "0000000000000000");
}

}  // namespace
}  // namespace tavo::test
