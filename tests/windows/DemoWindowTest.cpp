// Both device windows in demo mode: load, first read from the demo reply set,
// the controls it sets, captions and status texts.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>

#include "link/clsCmdQueue.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/windows/WindowFixture.h"
#include "windows/frmQUELB.h"
#include "windows/frmZIM8x8.h"

namespace tavo::test {
namespace {

TEST(DemoWindow, RelayControllerShowsTheDemoReplySet) {
    ProgramState state(0, true);
    ScriptedMessageBox boxes;
    frmQUELB w;
    w.Form_Load();
    EXPECT_EQ(w.windowTitle().toStdString(), "TAVO QUELB Device Configuration (Demo Mode)");
    EXPECT_EQ(w.StatusText(1), "Ready (Demo Mode)");
    EXPECT_FALSE(w.chkMonitorIR->isEnabled());
    EXPECT_FALSE(w.fraX10Monitor->isEnabled());
    EXPECT_EQ(w.cboIRGroupOn[9]->count(), 256);
    EXPECT_EQ(w.cboX10House[0]->count(), 16);
    EXPECT_EQ(w.cboX10Unit[0]->count(), 16);
    EXPECT_TRUE(w.Loading());  // the relay window clears it at the end of the first read

    w.Form_Activate();
    EXPECT_FALSE(w.Loading());
    EXPECT_TRUE(w.SettingsRead());
    EXPECT_FALSE(w.Modified());
    EXPECT_EQ(w.windowTitle().toStdString(), "TAVO QUELB Device Configuration (Demo Mode)");
    EXPECT_EQ(w.chkEnableIR->checkState(), Qt::Checked);
    EXPECT_EQ(w.chkEnableX10->checkState(), Qt::Checked);
    EXPECT_EQ(w.chkMonitorIR->checkState(), Qt::Unchecked);
    EXPECT_EQ(w.mABRelayState, 1);
    EXPECT_EQ(w.shpRelayABLED->FillColor(), kLedGreen);
    for (auto* led : w.shpRelayLED) EXPECT_EQ(led->FillColor(), kLedGreen);
    // "900002": group 1, key 3 for "All Relays" on; "9C0014": group 1, key 21 for relay 1 off.
    EXPECT_EQ(w.cboIRGroupOn[0]->currentText(), "1");
    EXPECT_EQ(w.cboIRKeyOn[0]->currentText(), "3");
    EXPECT_EQ(w.cboIRKeyOff[2]->currentText(), "21");
    EXPECT_TRUE(w.CmdQueue()->Count() == 0);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(DemoWindow, MatrixSwitchShowsTheDemoReplySet) {
    ProgramState state(1, true);
    ScriptedMessageBox boxes;
    frmZIM8x8 w;
    int shown = -1;
    QObject::connect(&w, &frmZIM8x8::optShowRouting_Click, [&shown](int i) { shown = i; });
    w.Form_Load();
    EXPECT_FALSE(w.Loading());
    EXPECT_EQ(w.windowTitle().toStdString(), "TAVO ZIM-8x8 Device Configuration (Demo Mode)");
    w.Form_Activate();
    for (int o = 0; o < 8; ++o) EXPECT_EQ(w.mRouting[static_cast<std::size_t>(o)], o);
    EXPECT_EQ(w.chkEnableIR->checkState(), Qt::Checked);
    EXPECT_EQ(w.chkMonitorX10->checkState(), Qt::Unchecked);
    // "908001": output 1 group 129 key 2; "988003": input 1 group 129 key 4.
    EXPECT_EQ(w.cboIRGroupOUT[0]->currentText(), "129");
    EXPECT_EQ(w.cboIRKeyOUT[0]->currentText(), "2");
    EXPECT_EQ(w.cboIRKeyIN[0]->currentText(), "4");
    EXPECT_TRUE(w.optShowRouting[0]->isChecked());
    EXPECT_EQ(shown, 0);
    EXPECT_FALSE(w.Modified());
}

}  // namespace
}  // namespace tavo::test
