#pragma once
// Shared by the configuration program's tests: a program state started from a
// configuration file in a temporary folder (the device port file beside it),
// scripted message boxes, and a way to act on the chooser while it is shown.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

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

// Exactly one box was shown, with this title, text and icon, and an OK button.
inline void ExpectOneBox(const ScriptedMessageBox& boxes, const std::string& title, const std::string& text,
                         MsgIcon icon = MsgIcon::Critical) {
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].title + ": " + boxes.Shown()[0].text, title + ": " + text);
    EXPECT_EQ(boxes.Shown()[0].icon, icon);
    EXPECT_EQ(boxes.Shown()[0].buttons, MsgButtons::Ok);
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

// A named pipe at path for as long as it lives. Should the code under test
// block in an open of it, the other end is opened after a few seconds (and
// again every tenth of a second), so that the test fails instead of hanging.
class BlockingPipe {
  public:
    explicit BlockingPipe(std::string path) : path_(std::move(path)) {
        created_ = ::mkfifo(path_.c_str(), 0600) == 0;
        releaser_ = std::thread([this] {
            std::unique_lock lock(mutex_);
            auto wait = std::chrono::milliseconds(5000);
            while (!stop_.wait_for(lock, wait, [this] { return done_; })) {
                blocked_ = true;
                ::close(::open(path_.c_str(), O_RDWR | O_CLOEXEC));
                wait = std::chrono::milliseconds(100);
            }
        });
    }
    ~BlockingPipe() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        stop_.notify_one();
        releaser_.join();
    }
    BlockingPipe(const BlockingPipe&) = delete;
    BlockingPipe& operator=(const BlockingPipe&) = delete;

    bool Created() const { return created_; }
    // True when the pipe had to be opened from the other end.
    bool Blocked() {
        std::lock_guard lock(mutex_);
        return blocked_;
    }

  private:
    std::string path_;
    bool created_ = false;
    std::mutex mutex_;
    std::condition_variable stop_;
    bool done_ = false;
    bool blocked_ = false;
    std::thread releaser_;
};

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
