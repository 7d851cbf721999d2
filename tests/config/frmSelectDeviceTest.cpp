#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QStringList>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "config/QtMousePointer.h"
#include "tests/config/CfgTestSupport.h"
#include "tests/support/PipeWriter.h"

namespace tavo::test {
namespace {

using namespace modTAVOCfg;

QStringList Entries(const frmSelectDevice& chooser) {
    QStringList entries;
    for (int i = 0; i < chooser.cboDevice->count(); ++i) entries << chooser.cboDevice->itemText(i);
    return entries;
}

void PressKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
}

class Chooser : public ConfigProgramTest {
  protected:
    // Loads the chooser on a configuration and device port file, with the switches a load decides left on.
    void Load(const std::string& devices, const std::string& portFile) {
        ASSERT_TRUE(Start(devices));
        WriteFile(PortFile(), portFile);
        gReselectDevice = true;
        for (QCheckBox* box : {chooser_.chkDebugFile, chooser_.chkFeedbackFile, chooser_.chkInfoFile})
            box->setChecked(true);
        chooser_.Form_Load();
    }

    frmSelectDevice chooser_;
};

TEST_F(Chooser, ListsTheDevicesOfThePortFile) {
    Load(kBothDevices,
         "  ; the office\r\n\r\nQUELB , COM3 ; office\r\nno comma here\r\nZIM-8x8,COM12\nQUELB,COM3\r\n");
    EXPECT_EQ(Entries(chooser_), (QStringList{"QUELB, on COM3", "ZIM-8x8, on COM12", "QUELB, on COM3"}));
    EXPECT_EQ(chooser_.cboDevice->currentIndex(), 0);
    EXPECT_EQ(chooser_.windowTitle(), "TAVO Device Configuration");
    EXPECT_EQ(chooser_.StatusText(), "Ready");
    EXPECT_FALSE(gDemoMode);
    EXPECT_FALSE(gReselectDevice);
    EXPECT_FALSE(chooser_.chkDebugFile->isChecked() || chooser_.chkFeedbackFile->isChecked() ||
                 chooser_.chkInfoFile->isChecked());
    EXPECT_FALSE(gDebugFileEnabled || gFeedbackFileEnabled || gCInfoFileEnabled);
    EXPECT_FALSE(chooser_.isVisible());
    EXPECT_EQ(WidgetMousePointer(chooser_), kDefaultPointer);
    EXPECT_TRUE(boxes_.Shown().empty());

    ASSERT_EQ(gDeviceInstances.size(), 3u);
    const DeviceInstance& zim = gDeviceInstances[1];
    EXPECT_TRUE(zim.Valid);
    EXPECT_EQ(zim.Config.DeviceType, 1);
    EXPECT_EQ(zim.Port, "COM12");
    EXPECT_EQ(zim.PortNumber, 12);
    // Only the file-name part is lower-cased; name and port keep their case.
    EXPECT_EQ(zim.FeedbackFile, folder_.Path() + "/feedback_ZIM-8x8_COM12.txt");
    EXPECT_EQ(zim.CInfoFile, InProgramFolder("cinfo_ZIM-8x8_COM12.txt"));
    EXPECT_EQ(zim.DebugFile, InProgramFolder("debug_ZIM-8x8_COM12.txt"));
}

// A device port file from another editor (a byte-order mark, CR line ends), or
// given through a pipe, lists its devices as a clean file does.
TEST_F(Chooser, PortFileFromOtherEditorsAndPipesListsItsDevices) {
    const std::string bom = "\xEF\xBB\xBF";
    struct Case {
        std::string name;
        std::string text;
        int source;  // 0 a file, 1 a named pipe, 2 an anonymous pipe as /dev/fd/N
    };
    const std::vector<Case> cases{
        {"mark", bom + "QUELB,COM3\r\nZIM-8x8,COM12\r\n", 0},
        {"CR", "QUELB,COM3\rZIM-8x8,COM12\r", 0},
        {"mark and CR", bom + "QUELB,COM3 ; office\rZIM-8x8,COM12", 0},
        {"named pipe", "QUELB,COM3\r\nZIM-8x8,COM12\r\n", 1},
        {"anonymous pipe", bom + "QUELB,COM3\rZIM-8x8,COM12\r", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedMessageBox boxes;
        ASSERT_TRUE(Start(kBothDevices));
        std::optional<PipeWriter> pipe;
        if (c.source == 0)
            WriteFile(PortFile(), c.text);
        else if (c.source == 1)
            pipe.emplace(PortFile(), c.text);
        else
            gDevicePortFile = pipe.emplace(c.text).Path();
        frmSelectDevice chooser;
        chooser.Form_Load();
        EXPECT_EQ(Entries(chooser), (QStringList{"QUELB, on COM3", "ZIM-8x8, on COM12"}));
        EXPECT_FALSE(gDemoMode);
        EXPECT_TRUE(boxes.Shown().empty());
        pipe.reset();
        std::filesystem::remove(PortFile());
    }
}

TEST_F(Chooser, PortWithoutANumberIsSkipped) {
    Load(kRelayOnly, "QUELB,COM\r\nQUELB,COMX\r\nQUELB,COM99999\r\nQUELB,COM 7\r\n");
    EXPECT_EQ(Entries(chooser_), (QStringList{"QUELB, on COM 7"}));
    ASSERT_EQ(gDeviceInstances.size(), 1u);
    EXPECT_EQ(gDeviceInstances[0].PortNumber, 7);
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(Chooser, OnlyCommentsGiveTheDemoList) {
    Load(kBothDevices, "; QUELB,COM9\r\n\r\n");
    EXPECT_TRUE(gDemoMode);
    EXPECT_EQ(Entries(chooser_), (QStringList{"QUELB, on COM0", "ZIM-8x8, on COM0"}));
    EXPECT_EQ(chooser_.windowTitle(), "TAVO Device Configuration (Demo Mode)");
    EXPECT_EQ(chooser_.StatusText(), "Ready (Demo Mode)");
    ASSERT_EQ(gDeviceInstances.size(), 2u);
    EXPECT_EQ(gDeviceInstances[1].PortNumber, 0);
    EXPECT_EQ(gDeviceInstances[1].FeedbackFile, folder_.Path() + "/feedback_ZIM-8x8_COM0.txt");
    EXPECT_TRUE(gDeviceInstances[1].Valid);
}

TEST_F(Chooser, UnknownDeviceNameStopsTheReading) {
    // Names are compared with their case.
    Load(kRelayOnly, "QUELB,COM3\r\nquelb,COM4\r\nQUELB,COM5\r\n");
    ExpectOneBox(boxes_, "Error", "An invalid device type was found in your configuration file.");
    // Nothing listed, no demo mode, the check boxes as they were; the good line before stays in the table,
    // unlisted.
    EXPECT_EQ(chooser_.cboDevice->count(), 0);
    EXPECT_TRUE(chooser_.chkDebugFile->isChecked() && chooser_.chkFeedbackFile->isChecked() &&
                chooser_.chkInfoFile->isChecked());
    EXPECT_FALSE(gDemoMode);
    EXPECT_EQ(chooser_.windowTitle(), "TAVO Device Configuration");
    EXPECT_EQ(chooser_.StatusText(), "Ready");
    EXPECT_EQ(WidgetMousePointer(chooser_), kDefaultPointer);
    ASSERT_EQ(gDeviceInstances.size(), 1u);
    EXPECT_EQ(gDeviceInstances[0].Port, "COM3");

    // OK with nothing listed chooses nothing and keeps the chooser open.
    chooser_.show();
    chooser_.cmdOkay->click();
    EXPECT_EQ(gSelectedDevice, -1);
    EXPECT_TRUE(chooser_.isVisible());
}

TEST_F(Chooser, CheckBoxesSetTheFileSwitches) {
    Load(kRelayOnly, "QUELB,COM3\r\n");
    chooser_.chkDebugFile->click();
    chooser_.chkFeedbackFile->click();
    chooser_.chkInfoFile->click();
    EXPECT_TRUE(gDebugFileEnabled && gFeedbackFileEnabled && gCInfoFileEnabled);
    chooser_.chkFeedbackFile->click();
    EXPECT_FALSE(gFeedbackFileEnabled);
    EXPECT_TRUE(gDebugFileEnabled && gCInfoFileEnabled);
    // A grey box counts as clear.
    for (QCheckBox* box : {chooser_.chkDebugFile, chooser_.chkFeedbackFile, chooser_.chkInfoFile}) {
        box->setTristate(true);
        box->setCheckState(Qt::PartiallyChecked);
    }
    EXPECT_FALSE(gDebugFileEnabled || gFeedbackFileEnabled || gCInfoFileEnabled);
}

TEST_F(Chooser, EnterPressesOkAndEscPressesCancel) {
    Load(kBothDevices, "QUELB,COM3\r\nZIM-8x8,COM4\r\n");
    gReselectDevice = true;
    chooser_.show();
    chooser_.cboDevice->setCurrentIndex(1);
    chooser_.cboDevice->setFocus();
    PressKey(chooser_.cboDevice, Qt::Key_Return);
    EXPECT_EQ(gSelectedDevice, 1);
    EXPECT_FALSE(chooser_.isVisible());
    EXPECT_TRUE(gReselectDevice);

    chooser_.show();
    PressKey(chooser_.cboDevice, Qt::Key_Escape);
    EXPECT_FALSE(chooser_.isVisible());
    EXPECT_FALSE(gReselectDevice);
    EXPECT_EQ(gSelectedDevice, 1);
}

}  // namespace
}  // namespace tavo::test
