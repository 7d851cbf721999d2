#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "config/modTAVOCfg.h"
#include "tests/config/CfgTestSupport.h"
#include "tests/support/InputLimitsScope.h"
#include "tests/support/PipeWriter.h"

namespace tavo::test {
namespace {

namespace fs = std::filesystem;
using namespace modTAVOCfg;

using StartUp = ConfigProgramTest;

TEST_F(StartUp, CommandLineFlags) {
    // No command line: the program folder's configuration file (the sample one of the build, which
    // sets no [General] key, so that the files stay in the program folder).
    EXPECT_TRUE(ReadStartup(""));
    EXPECT_EQ(gConfigFile, InProgramFolder("tavodevices.cfg"));
    EXPECT_FALSE(gDebugMode);
    EXPECT_EQ(
        gDevicePortFile + " " + gFeedbackFileTemplate + " " + gCInfoFileTemplate + " " + gDebugFileTemplate,
        InProgramFolder("tavo.txt") + " " + InProgramFolder("feedback_[devicename]_[port].txt") + " " +
            InProgramFolder("cinfo_[devicename]_[port].txt") + " " +
            InProgramFolder("debug_[devicename]_[port].txt"));

    // -d alone: the scan trace into the program folder's tavocfg.txt.
    ASSERT_TRUE(Start(kRelayOnly, "-d"));
    EXPECT_TRUE(gDebugMode);
    EXPECT_EQ(gAppLogFile, InProgramFolder("tavocfg.txt"));

    // -d with a file; other flags are ignored; "D" is not "d".
    ASSERT_TRUE(Start(kRelayOnly, "-x 1 /d " + folder_.File("scan.log")));
    EXPECT_EQ(gAppLogFile, folder_.File("scan.log"));
    ASSERT_TRUE(Start(kRelayOnly, "-D"));
    EXPECT_FALSE(gDebugMode);
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(StartUp, ErrorsEndTheProgramWithTheirBox) {
    auto config = [this](const std::string& name, const std::string& devices) {
        const std::string path = folder_.File(name);
        WriteFile(path, "[Devices]\r\n" + devices);
        return "-c " + path;
    };
    const std::string noDevices = "No devices defined in configuration file!";
    const std::string badName = "Invalid device specified in configuration file!";
    const auto in = [this](const std::string& text, const char* name) {
        return text + "\r\n\r\n(" + folder_.File(name) + ")";
    };
    const std::string noFile = "Configuration file was not specified and/or found!";
    InputLimitsScope shortWait(ShortPipeWait());
    const std::string silentPipe = folder_.File("silent.cfg"), missing = folder_.File("missing.cfg");
    ASSERT_EQ(::mkfifo(silentPipe.c_str(), 0600), 0);
    const std::vector<std::tuple<std::string, std::string, std::string>> cases{
        {"tavodevices.cfg", "Error", "Unable to parse application parameters!"},
        {"-c -d", "Syntax Error", "The -c parameter requires a file name argument!"},
        {"-c " + missing, "File Error", noFile + "\r\n\r\nNo such file or directory (" + missing + ")"},
        {"-c " + folder_.Path(), "File Error", noFile + "\r\n\r\nIs a directory (" + folder_.Path() + ")"},
        // A device, or a pipe nobody writes to, gives no file to read.
        {"-c /dev/null", "File Error", noFile + "\r\n\r\nNot a regular file (/dev/null)"},
        {"-c " + silentPipe, "File Error",
         noFile + "\r\n\r\nThe pipe was not written and closed in time (" + silentPipe + ")"},
        {config("zero.cfg", "Count=0\r\nName1=QUELB\r\n"), "File Error", in(noDevices, "zero.cfg")},
        {config("nocount.cfg", "Name1=QUELB\r\n"), "File Error", in(noDevices, "nocount.cfg")},
        {config("negative.cfg", "Count=-2\r\nName1=QUELB\r\n"), "File Error", in(noDevices, "negative.cfg")},
        {config("noname2.cfg", "Count=2\r\nName1=QUELB\r\n"), "File Error", in(badName, "noname2.cfg")},
        // A blank name is empty once trimmed; a huge count stops at the first missing name.
        {config("blank.cfg", "Count=2000000000\r\nName1=   \r\n"), "File Error", in(badName, "blank.cfg")},
    };
    for (const auto& [commandLine, title, text] : cases) {
        SCOPED_TRACE(commandLine);
        ScriptedMessageBox boxes;
        EXPECT_FALSE(ReadStartup(commandLine));
        ExpectOneBox(boxes, title, text);
        EXPECT_FALSE(gDebugMode);  // -c is handled, and fails, before -d
    }
}

TEST_F(StartUp, AScanThatWouldWriteOverAFileItReadsEndsTheProgram) {
    const std::string config = folder_.File("tavodevices.cfg");
    const std::string roundabout =
        folder_.Path() + "/../" + std::filesystem::path(folder_.Path()).filename().string() + "/tavo.txt";
    const std::string self = folder_.File("self.cfg");
    WriteFile(self, std::string("[General]\r\nDevicePortFile=") + self + "\r\n" + kRelayOnly);
    struct Case {
        std::string devices;
        std::string args;
        std::string text;
    };
    const Case cases[] = {
        {kRelayOnly, "-d " + roundabout,
         "The debug file (" + roundabout + ") is the same file as the device port file (" + PortFile() +
             ")!"},
        {kRelayOnly, "-d " + config,
         "The debug file (" + config + ") is the same file as the configuration file (" + config + ")!"},
        {std::string(kRelayOnly) + "[QUELB]\r\nInitCmds=" + PortFile() + "\r\n", "",
         "The device port file (" + PortFile() + ") is the same file as the initialization file (" +
             PortFile() + ") of device (QUELB)!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args + c.devices);
        ScriptedMessageBox boxes;
        EXPECT_FALSE(Start(c.devices, c.args));
        ExpectOneBox(boxes, "File Error", c.text);
    }
    ScriptedMessageBox boxes;
    EXPECT_FALSE(ReadStartup("-c " + self));
    ExpectOneBox(
        boxes, "File Error",
        "The device port file (" + self + ") is the same file as the configuration file (" + self + ")!");
}

TEST_F(StartUp, ConfiguredDevicesAndGeneralKeys) {
    const std::string longName(300, 'x');
    // A key present but empty is an empty value, not the default.
    ASSERT_TRUE(
        Start("DeviceCInfoFile=  \r\n[Devices]\r\nCount=4\r\nName1=  QUELB  "
              "\r\nname2=ZIM-8x8\r\nNAME3=zim-8X8\r\nName4=" +
              longName +
              "\r\n[zim-8x8]\r\nInitCmds=  /etc/tavo/zim.txt  \r\n"
              "[General]\r\nDeviceDebugFile=ignored, only the first section counts\r\n"));
    ASSERT_EQ(gDevices.size(), 4u);
    EXPECT_EQ(gDevices[0].Name, "QUELB");
    EXPECT_EQ(gDevices[0].DeviceType, 0);
    EXPECT_EQ(gDevices[0].InitCmdsFile, "QUELB_InitCmds.txt");
    EXPECT_EQ(gDevices[1].DeviceType, 1);
    EXPECT_EQ(gDevices[1].InitCmdsFile, "/etc/tavo/zim.txt");
    EXPECT_EQ(gDevices[2].Name, "zim-8X8");
    EXPECT_EQ(gDevices[2].DeviceType, -1);
    EXPECT_EQ(gDevices[3].Name, std::string(254, 'x'));

    EXPECT_EQ(gDevicePortFile, PortFile());
    EXPECT_EQ(gFeedbackFileTemplate, folder_.Path() + "/Feedback_[DeviceName]_[port].txt");
    EXPECT_EQ(gCInfoFileTemplate, "");
    EXPECT_EQ(gDebugFileTemplate, InProgramFolder("debug_[devicename]_[port].txt"));
}

// A configuration file from another editor (a byte-order mark, CR line ends),
// or given through a pipe, names its devices as a clean file does.
TEST_F(StartUp, ConfigurationFromOtherEditorsAndPipesNamesItsDevices) {
    const std::vector<std::string> lines{"[General]",   "DevicePortFile=" + PortFile(),
                                         "[Devices]",   "Count=2",
                                         "Name1=QUELB", "Name2=ZIM-8x8",
                                         "[ZIM-8x8]",   "InitCmds=zim.txt"};
    auto join = [&lines](const std::string& mark, const std::string& lineEnd) {
        std::string text = mark;
        for (const std::string& line : lines) text += line + lineEnd;
        return text;
    };
    const std::string bom = "\xEF\xBB\xBF";
    struct Case {
        std::string name;
        std::string text;
        int source;  // 0 a file, 1 a named pipe, 2 an anonymous pipe as /dev/fd/N
    };
    const std::vector<Case> cases{
        {"mark", join(bom, "\r\n"), 0},      {"CR", join("", "\r"), 0},
        {"mark and CR", join(bom, "\r"), 0}, {"mark and LF", join(bom, "\n"), 0},
        {"named pipe", join("", "\r\n"), 1}, {"anonymous pipe", join(bom, "\r"), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = folder_.File("editor.cfg");
        std::optional<PipeWriter> pipe;
        if (c.source == 0) {
            WriteFile(path, c.text);
        } else {
            fs::remove(path);
            if (c.source == 1)
                pipe.emplace(path, c.text);
            else
                pipe.emplace(c.text);
            path = pipe->Path();
        }
        ScriptedMessageBox boxes;
        ASSERT_TRUE(ReadStartup("-c " + path));
        EXPECT_TRUE(boxes.Shown().empty());
        ASSERT_EQ(gDevices.size(), 2u);
        EXPECT_EQ(gDevices[0].Name, "QUELB");
        EXPECT_EQ(gDevices[0].DeviceType, 0);
        EXPECT_EQ(gDevices[0].InitCmdsFile, "QUELB_InitCmds.txt");
        EXPECT_EQ(gDevices[1].Name, "ZIM-8x8");
        EXPECT_EQ(gDevices[1].DeviceType, 1);
        EXPECT_EQ(gDevices[1].InitCmdsFile, "zim.txt");
        EXPECT_EQ(gDevicePortFile, PortFile());
    }
}

// The loop between the chooser and the device windows, with a stand-in for the
// windows that records what it was asked to show.
class StartUpLoop : public ConfigProgramTest {
  protected:
    int RunMain(const std::function<void(std::int32_t)>& window) {
        // A script that leaves the chooser on screen fails instead of hanging.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] {
            ADD_FAILURE() << "the chooser stayed on screen";
            if (frmSelectDevice* chooser = ShownChooser()) chooser->cmdCancel->click();
        });
        watchdog.start(30000);
        return Main("-c " + WriteConfig(devices_), [&](std::int32_t type) {
            shown_.push_back(type);
            window(type);
        });
    }

    std::string devices_ = kBothDevices;
    std::vector<std::int32_t> shown_;
};

TEST_F(StartUpLoop, StartUpErrorEndsWithoutTheChooser) {
    devices_ = "[Devices]\r\nCount=0\r\n";
    EXPECT_EQ(RunMain([](std::int32_t) {}), 1);
    EXPECT_EQ(ShownChooser(), nullptr);
    EXPECT_TRUE(shown_.empty());
}

TEST_F(StartUpLoop, CancelEndsTheProgram) {
    WriteFile(PortFile(), "QUELB,COM3\r\n");
    OnChooserShown([](frmSelectDevice& chooser) { chooser.cmdCancel->click(); });
    EXPECT_EQ(RunMain([](std::int32_t) {}), 0);
    EXPECT_TRUE(shown_.empty());
    EXPECT_FALSE(gReselectDevice);
}

TEST_F(StartUpLoop, OkOpensTheDeviceWindowAndSelectNewDeviceComesBack) {
    WriteFile(PortFile(), QString("ZIM-8x8,COM4\r\n").repeated(32768).toStdString() + "QUELB,COM3\r\n");
    OnChooserShown([](frmSelectDevice& chooser) {
        chooser.chkDebugFile->click();
        chooser.cboDevice->setCurrentIndex(32768);  // past the reach of a 16-bit index
        chooser.cmdOkay->click();
    });
    bool checkedOnReturn = false;
    RunMain([&](std::int32_t) {
        if (shown_.size() > 1) {
            gReselectDevice = false;  // File > Exit
            return;
        }
        EXPECT_EQ(gSelectedDevice, 32768);
        EXPECT_TRUE(gDebugFileEnabled);
        // "Select New Device": back to the chooser, which kept its check box.
        gReselectDevice = true;
        OnChooserShown([&](frmSelectDevice& chooser) {
            checkedOnReturn = chooser.chkDebugFile->isChecked() && gDebugFileEnabled;
            chooser.cboDevice->setCurrentIndex(0);
            chooser.cmdOkay->click();
        });
    });
    EXPECT_EQ(shown_, (std::vector<std::int32_t>{0, 1}));
    EXPECT_TRUE(checkedOnReturn);
}

TEST_F(StartUpLoop, UnknownDeviceTypeShowsTheChooserAgain) {
    devices_ = "[Devices]\r\nCount=1\r\nName1=quelb\r\n";
    WriteFile(PortFile(), "quelb,COM3\r\n");
    OnChooserShown([this](frmSelectDevice& chooser) {
        chooser.cmdOkay->click();
        // The box comes before the chooser shows again, with its list unchanged.
        OnChooserShown([this](frmSelectDevice& again) {
            ExpectOneBox(boxes_, "Error", "Unknown device selection!");
            EXPECT_EQ(again.cboDevice->currentText(), "quelb, on COM3");
            again.cmdCancel->click();
        });
    });
    EXPECT_EQ(RunMain([](std::int32_t) {}), 0);
    EXPECT_TRUE(shown_.empty());
    EXPECT_EQ(boxes_.Shown().size(), 1u);  // Cancel ended it, with the entry still selected
}

TEST_F(StartUpLoop, CloseBoxEndsAtFirstAndReopensTheDeviceLater) {
    WriteFile(PortFile(), "QUELB,COM3\r\n");
    OnChooserShown([](frmSelectDevice& chooser) { chooser.close(); });
    EXPECT_EQ(RunMain([](std::int32_t) {}), 0);
    EXPECT_TRUE(shown_.empty());

    OnChooserShown([](frmSelectDevice& chooser) { chooser.cmdOkay->click(); });
    RunMain([&](std::int32_t) {
        gReselectDevice = shown_.size() == 1;
        if (gReselectDevice) OnChooserShown([](frmSelectDevice& chooser) { chooser.close(); });
    });
    EXPECT_EQ(shown_, (std::vector<std::int32_t>{0, 0}));
}

TEST_F(StartUpLoop, CloseBoxAfterAScanThatDroppedTheChosenEntryEndsTheProgram) {
    PortMapFolder map;
    DeviceEmulator relay;
    map.Map(3, relay.DevicePath());
    WriteFile(PortFile(), "QUELB,COM3\r\nZIM-8x8,COM4\r\n");
    OnChooserShown([](frmSelectDevice& chooser) {
        chooser.cboDevice->setCurrentIndex(1);
        chooser.cmdOkay->click();
    });
    RunMain([&](std::int32_t) {
        gReselectDevice = true;
        OnChooserShown([](frmSelectDevice& chooser) {
            chooser.cmdScan->click();  // finds the relay controller alone: entry 1 is gone
            chooser.close();
        });
    });
    EXPECT_EQ(shown_, (std::vector<std::int32_t>{1}));
    EXPECT_EQ(gDeviceInstances.size(), 1u);
}

}  // namespace
}  // namespace tavo::test
