#pragma once
// Shared by the configuration program's tests: a program state started from a
// configuration file in a temporary folder (the device port file beside it),
// scripted message boxes, and a way to act on the chooser while it is shown.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include "config/frmSelectDevice.h"
#include "config/modTAVOCfg.h"
#include "link/ProgramInfo.h"
#include "tests/support/DeviceEmulator.h"
#include "tests/support/ScriptedMessageBox.h"

namespace tavo::test {

// The expected text of a file, written with "\n" for each CR LF line end.
inline std::string Crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// The chooser that is on screen, or nullptr.
inline frmSelectDevice* ShownChooser() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* chooser = qobject_cast<frmSelectDevice*>(w); chooser && chooser->isVisible())
            return chooser;
    return nullptr;
}

// Runs action on the chooser once the event loop runs with it on screen. A
// chooser that never shows is a failure, not a hang: the action is dropped.
inline void OnChooserShown(std::function<void(frmSelectDevice&)> action, int triesLeft = 100) {
    QTimer::singleShot(triesLeft == 100 ? 0 : 20, [action = std::move(action), triesLeft]() mutable {
        if (frmSelectDevice* chooser = ShownChooser()) {
            action(*chooser);
        } else if (triesLeft > 0) {
            OnChooserShown(std::move(action), triesLeft - 1);
        } else {
            ADD_FAILURE() << "the chooser was not shown";
        }
    });
}

class ConfigProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        modTAVOCfg::ResetState();
        SetProgramTitle(modTAVOCfg::kProgramTitle);
    }

    // A configuration file whose [General] section puts the device port file
    // and the templates into the temporary folder; devices is the rest.
    std::string WriteConfig(const std::string& devices) {
        const std::string path = folder_.File("tavodevices.cfg");
        WriteFile(path, "[General]\r\nDevicePortFile=" + PortFile() + "\r\nDeviceFeedbackFile=" +
                            folder_.Path() + "/Feedback_[DeviceName]_[port].txt\r\n" + devices);
        return path;
    }

    // Runs the start-up steps on such a file; args are added to the command line.
    bool Start(const std::string& devices, const std::string& args = "") {
        return modTAVOCfg::ReadStartup("-c " + WriteConfig(devices) + (args.empty() ? "" : " " + args));
    }

    std::string PortFile() const { return folder_.File("tavo.txt"); }

    TempFolder folder_;
    ScriptedMessageBox boxes_;
};

inline constexpr const char* kBothDevices = "[Devices]\r\nCount=2\r\nName1=QUELB\r\nName2=ZIM-8x8\r\n";
inline constexpr const char* kRelayOnly = "[Devices]\r\nCount=1\r\nName1=QUELB\r\n";

}  // namespace tavo::test
