// The chooser's port scan against emulated devices on pseudo-terminals, with
// the built libtavohwp.so of the program folder listing the ports.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "config/QtMousePointer.h"
#include "link/UiHooks.h"
#include "tests/config/CfgTestSupport.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/InputLimitsScope.h"

namespace tavo::test {
namespace {

using namespace modTAVOCfg;
namespace fs = std::filesystem;

class PortScan : public ConfigProgramTest {
  protected:
    QStringList Entries() const {
        QStringList entries;
        for (int i = 0; i < chooser_.cboDevice->count(); ++i) entries << chooser_.cboDevice->itemText(i);
        return entries;
    }
    void Unmap(int number) { fs::remove(map_.Path() + "/COM" + std::to_string(number)); }

    PortMapFolder map_;
    frmSelectDevice chooser_;
};

TEST_F(PortScan, FindsTheConfiguredDeviceWritesThePortFileAndTraces) {
    ASSERT_TRUE(Start(kRelayOnly, "-d " + folder_.File("scan.log")));
    DeviceEmulator silent({.silent = true});
    DeviceEmulator relay;
    DeviceEmulator mute({.neverReply = true});  // echoes, but does not answer who it is
    map_.Map(1, folder_.File("no-such-device"));
    map_.Map(2, silent.DevicePath());
    map_.Map(3, relay.DevicePath());
    map_.Map(4, mute.DevicePath());
    WriteFile(folder_.File("scan.log"), "an earlier scan\r\n");

    chooser_.cmdScan_Click();
    EXPECT_EQ(ReadFile(PortFile()), Crlf("QUELB,COM3\n"));
    EXPECT_EQ(Entries(), (QStringList{"QUELB, on COM3"}));
    EXPECT_FALSE(gDemoMode);
    EXPECT_EQ(chooser_.StatusText(), "Ready");
    EXPECT_EQ(WidgetMousePointer(chooser_), kDefaultPointer);
    ASSERT_EQ(gDeviceInstances.size(), 1u);
    EXPECT_EQ(gDeviceInstances[0].FeedbackFile, folder_.Path() + "/feedback_QUELB_COM3.txt");

    EXPECT_EQ(WithoutStamps(ReadFile(folder_.File("scan.log"))), Crlf(R"([STAMP]: Log opened.
[STAMP]: NOTE: Ascii characters inside () are feedback from device.

[STAMP]: ERROR: 2
[STAMP]: Error opening serial port COM1:
[STAMP]: Device not recognized on serial port COM2:
[STAMP]: Device found on serial port COM3:
[STAMP]: !(!)8(8)1(1)0(0)0(0)0(0)0(0)7(7)F(F)*(*)(!)(8)(1)(0)(0)(0)(0)(*)
[STAMP]: Device on serial port COM3: appears to be an QUELB.
[STAMP]: Device found on serial port COM4:
[STAMP]: !(!)8(8)1(1)0(0)0(0)0(0)0(0)7(7)F(F)*(*)
[STAMP]: No response from device on serial port COM4:
[STAMP]: Log closed.
)"));
    // The relay controller saw the presence test twice (scan and identify), then the identify command.
    EXPECT_EQ(relay.Received(), "!-!-!8100007F*");
}

TEST_F(PortScan, UnconfiguredDeviceIsNotListedAndASecondScanDeletesTheFile) {
    ASSERT_TRUE(Start(kRelayOnly, "-d " + folder_.File("scan.log")));
    DeviceEmulator relay;
    DeviceEmulator matrix({.model = DeviceModel::ZIM8x8});
    map_.Map(3, relay.DevicePath());
    map_.Map(4, matrix.DevicePath());
    chooser_.cmdScan_Click();
    EXPECT_EQ(ReadFile(PortFile()), Crlf("QUELB,COM3\n"));
    EXPECT_EQ(Entries(), (QStringList{"QUELB, on COM3"}));

    // Only the matrix switch is left, and the configuration does not name it.
    Unmap(3);
    chooser_.cmdScan_Click();
    EXPECT_FALSE(fs::exists(PortFile()));
    EXPECT_TRUE(gDemoMode);
    EXPECT_EQ(Entries(), (QStringList{"QUELB, on COM0"}));
    EXPECT_EQ(chooser_.windowTitle(), "TAVO Device Configuration (Demo Mode)");
    EXPECT_EQ(chooser_.StatusText(), "Ready (Demo Mode)");
    // Each scan starts its trace afresh.
    const std::string log = ReadFile(folder_.File("scan.log"));
    EXPECT_EQ(log.find("COM3"), std::string::npos);
    EXPECT_NE(log.find("]: No response from device on serial port COM4:\r\n"), std::string::npos);

    // A scan that finds a device again leaves demo mode.
    map_.Map(3, relay.DevicePath());
    chooser_.cmdScan_Click();
    EXPECT_FALSE(gDemoMode);
    EXPECT_EQ(chooser_.windowTitle() + "|" + chooser_.StatusText(), "TAVO Device Configuration|Ready");
}

TEST_F(PortScan, ScanPressedDuringAScanDoesNotStartASecond) {
    ASSERT_TRUE(Start(kRelayOnly));
    gAppLogFile = folder_.File("scan.log");  // without -d no trace is written
    DeviceEmulator relay;
    map_.Map(3, relay.DevicePath());
    // The serial waits let window events through: the user presses Scan again.
    int yields = 0;
    SetYieldHook([&] {
        if (++yields == 1) chooser_.cmdScan_Click();
    });
    chooser_.cmdScan_Click();
    SetYieldHook(nullptr);
    EXPECT_GT(yields, 0);
    EXPECT_EQ(relay.Received(), "!-!-!8100007F*");
    EXPECT_EQ(ReadFile(PortFile()), Crlf("QUELB,COM3\n"));
    EXPECT_EQ(Entries(), (QStringList{"QUELB, on COM3"}));
    EXPECT_TRUE(chooser_.cmdScan->isEnabled());
    EXPECT_FALSE(fs::exists(gAppLogFile));
}

TEST_F(PortScan, PortsAboveCom16AreSkippedWithOneWarning) {
    ASSERT_TRUE(Start(kBothDevices));
    DeviceEmulator relay;
    DeviceEmulator high17;
    DeviceEmulator high20({.model = DeviceModel::ZIM8x8});
    map_.Map(16, relay.DevicePath());
    map_.Map(17, high17.DevicePath());
    map_.Map(20, high20.DevicePath());
    chooser_.cmdScan_Click();

    ExpectOneBox(
        boxes_, "Warning",
        "You have one or more serial ports greater than COM16.  Devices are not currently supported on "
        "serial ports higher than COM16 and will not be probed.",
        MsgIcon::Information);
    EXPECT_EQ(high17.Received(), "");
    EXPECT_EQ(high20.Received(), "");
    EXPECT_EQ(ReadFile(PortFile()), Crlf("QUELB,COM16\n"));
}

TEST_F(PortScan, NoPortsDeletesThePortFileAndEntersDemoMode) {
    ASSERT_TRUE(Start(kBothDevices, "-d " + folder_.File("scan.log")));
    WriteFile(PortFile(), "QUELB,COM3\r\n");
    chooser_.cmdScan_Click();
    EXPECT_EQ(ReadFile(folder_.File("scan.log")).find("serial port"), std::string::npos);  // nothing probed
    EXPECT_FALSE(fs::exists(PortFile()));
    EXPECT_TRUE(gDemoMode);
    EXPECT_EQ(Entries(), (QStringList{"QUELB, on COM0", "ZIM-8x8, on COM0"}));
}

TEST_F(PortScan, FailedPortListLeavesFileAndTableAndEmptiesTheList) {
    ASSERT_TRUE(Start(kRelayOnly));
    WriteFile(PortFile(), "QUELB,COM3\r\n");
    chooser_.Form_Load();
    ASSERT_EQ(Entries(), (QStringList{"QUELB, on COM3"}));

    ::setenv("TAVO_PORTS", PortFile().c_str(), 1);  // a file, no folder
    chooser_.cmdScan_Click();
    ExpectOneBox(
        boxes_, "Error",
        "Unable to query registry for configured serial ports!\r\n\r\n" + PortFile() + ": Not a directory");
    EXPECT_EQ(chooser_.cboDevice->count(), 0);
    EXPECT_EQ(chooser_.StatusText() + "|" + QString::number(WidgetMousePointer(chooser_)), "Ready|0");
    EXPECT_EQ(ReadFile(PortFile()), Crlf("QUELB,COM3\n"));
    ASSERT_EQ(gDeviceInstances.size(), 1u);
    EXPECT_TRUE(gDeviceInstances[0].Valid);
    EXPECT_FALSE(gDemoMode);
}

// While the chooser loads (shown) and scans, the user sees at each turn of the
// event loop its status text, the hourglass and an empty list.
TEST_F(PortScan, LoadWithoutPortFileScansAndClearsTheCheckBoxes) {
    ASSERT_TRUE(Start(kBothDevices));
    DeviceEmulator matrix({.model = DeviceModel::ZIM8x8});
    map_.Map(5, matrix.DevicePath());
    chooser_.chkDebugFile->setChecked(true);
    std::set<QString> seen;
    auto look = [&] {
        seen.insert(chooser_.StatusText() + "|" + QString::number(WidgetMousePointer(chooser_)) + "|" +
                    QString::number(chooser_.cboDevice->count()) + "|" +
                    QString::number(chooser_.isVisible()));
    };
    QTimer::singleShot(0, look);  // the load's turn of the event loop, before it scans
    SetYieldHook(look);           // the serial waits of the scans
    chooser_.Form_Load();
    EXPECT_FALSE(chooser_.isVisible());
    EXPECT_EQ(Entries(), (QStringList{"ZIM-8x8, on COM5"}));
    EXPECT_EQ(ReadFile(PortFile()), Crlf("ZIM-8x8,COM5\n"));
    EXPECT_FALSE(chooser_.chkDebugFile->isChecked());
    EXPECT_FALSE(gDebugFileEnabled);
    chooser_.cmdScan_Click();  // starts from the list that the load made
    SetYieldHook(nullptr);
    EXPECT_EQ(seen, (std::set<QString>{"Initializing, please stand-by...|11|0|1",
                                       "Scanning for devices, please stand-by...|11|0|1",
                                       "Scanning for devices, please stand-by...|11|0|0"}));
}

TEST_F(PortScan, NamedPipeNobodyWritesToIsNeitherReadNorWrittenAndBlocksNothing) {
    ASSERT_TRUE(Start(kRelayOnly));
    DeviceEmulator relay;
    map_.Map(3, relay.DevicePath());
    {
        InputLimitsScope shortWait(ShortPipeWait());
        BlockingPipe pipe(PortFile());
        ASSERT_TRUE(pipe.Created());
        // Silent to the end of the pipe wait, the pipe counts as a missing file:
        // the chooser scans, and reports that it cannot write it.
        chooser_.Form_Load();
        EXPECT_FALSE(pipe.Blocked());
    }
    EXPECT_EQ(Entries(), (QStringList{"QUELB, on COM3"}));
    ExpectOneBox(
        boxes_, "File Error",
        "Unable to open the device port file (" + PortFile() + ") for writing!\r\n\r\nNot a regular file");
    EXPECT_TRUE(fs::is_fifo(PortFile()));
}

TEST_F(PortScan, UnwritablePortFileIsReportedAndTheDevicesStillListed) {
    ASSERT_TRUE(Start(kRelayOnly));
    gDevicePortFile = folder_.File("missing-folder/tavo.txt");
    DeviceEmulator relay;
    map_.Map(3, relay.DevicePath());
    chooser_.cmdScan_Click();
    ExpectOneBox(boxes_, "File Error",
                 "Unable to open the device port file (" + gDevicePortFile +
                     ") for writing!\r\n\r\nNo such file or directory");
    EXPECT_EQ(Entries(), (QStringList{"QUELB, on COM3"}));
    EXPECT_FALSE(gDemoMode);
}

TEST_F(PortScan, TheEarlierPortFileStaysUntilTheNewListStandsWhole) {
    ASSERT_TRUE(Start(kRelayOnly));
    DeviceEmulator relay;
    map_.Map(3, relay.DevicePath());
    WriteFile(PortFile(), "QUELB,COM7\r\n");

    // Out of disk: the list is reported with the reason, the earlier file kept.
    {
        FileSizeLimit full(5);
        chooser_.cmdScan_Click();
    }
    ExpectOneBox(boxes_, "File Error",
                 "Unable to write the device port file (" + PortFile() + ")!\r\n\r\nFile too large");
    EXPECT_EQ(ReadFile(PortFile()), "QUELB,COM7\r\n");
    EXPECT_EQ(Entries(), (QStringList{"QUELB, on COM3"}));

    // While a scan runs (its serial waits let window events through) the earlier list is still there.
    std::vector<std::string> seen;
    SetYieldHook([&] { seen.push_back(ReadFile(PortFile())); });
    chooser_.cmdScan_Click();
    SetYieldHook(nullptr);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "QUELB,COM7\r\n"), static_cast<long>(seen.size()));
    EXPECT_EQ(ReadFile(PortFile()), Crlf("QUELB,COM3\n"));
    EXPECT_EQ(folder_.Names().size(), 2u);
}

TEST_F(PortScan, ATraceThatCannotBeWrittenWholeIsReported) {
    ASSERT_TRUE(Start(kRelayOnly, "-d " + folder_.File("scan.log")));
    DeviceEmulator relay;
    map_.Map(3, relay.DevicePath());
    {
        FileSizeLimit disk(120);  // the opening lines fit, the identify command's line does not
        chooser_.cmdScan_Click();
    }
    EXPECT_EQ(ReadFile(PortFile()), Crlf("QUELB,COM3\n"));
    ExpectOneBox(boxes_, "File Error",
                 "Unable to write the debug file (" + folder_.File("scan.log") + ")!\r\n\r\nFile too large");
}

}  // namespace
}  // namespace tavo::test
