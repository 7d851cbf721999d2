#pragma once
// Shared set-up of the device window tests: program state for one selected
// device with its files in a temporary folder, scripted file dialogs and
// message boxes, in demo mode or on COM1 with an emulated device behind it;
// the window of that model, loaded and read; finding its controls by their
// names and what they show (enabled or not, colours as drawn, message boxes);
// a wait that lets the event loop run; and the millisecond clock set to a
// chosen reading.

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QListWidget>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QtTest/QTest>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "config/modTAVOCfg.h"
#include "link/Clock.h"
#include "link/UiHooks.h"
#include "link/clsCmdQueue.h"
#include "tests/support/DeviceEmulator.h"
#include "tests/support/ScriptedMessageBox.h"
#include "windows/CommonDialog.h"
#include "windows/frmQUELB.h"
#include "windows/frmZIM8x8.h"

namespace tavo::test {

// Answers file dialogs from a script and records what the window asked.
struct DialogScript {
    std::deque<std::string> answers;  // file names; "" cancels
    std::vector<std::string> filters;
    std::vector<std::string> kinds;  // "open" or "save"
};

class ScriptedDialog : public ICommonDialog {
  public:
    explicit ScriptedDialog(DialogScript& script) : script_(script) {}
    std::string FileName() const override { return fileName_; }
    void SetFileName(const std::string& name) override { fileName_ = name; }
    std::string Filter() const override { return filter_; }
    void SetFilter(const std::string& filter) override { filter_ = filter; }
    void ShowOpen() override { Show("open"); }
    void ShowSave() override { Show("save"); }

  private:
    void Show(const char* kind) {
        script_.kinds.push_back(kind);
        script_.filters.push_back(filter_);
        fileName_ = script_.answers.empty() ? std::string() : script_.answers.front();
        if (!script_.answers.empty()) script_.answers.pop_front();
    }
    DialogScript& script_;
    std::string fileName_;
    std::string filter_;
};

// Program state with one device selected; restores everything at the end.
class ProgramState {
  public:
    ProgramState(std::int32_t deviceType, bool demo) {
        modTAVOCfg::ResetState();
        DeviceInstance device;
        device.Config.DeviceType = deviceType;
        device.Config.Name = deviceType == 0 ? "QUELB" : "ZIM-8x8";
        device.Port = demo ? "COM0" : "COM1";
        device.PortNumber = demo ? 0 : 1;
        device.Valid = true;
        modTAVOCfg::gDeviceInstances.push_back(device);
        modTAVOCfg::gSelectedDevice = 0;
        modTAVOCfg::gDemoMode = demo;
        SetYieldHook([] { QCoreApplication::processEvents(); });
        SetCommonDialogFactory([this](QWidget*) { return std::make_unique<ScriptedDialog>(dialogs); });
    }
    ~ProgramState() {
        SetCommonDialogFactory({});
        SetYieldHook({});
        modTAVOCfg::ResetState();
    }
    DeviceInstance& Device() { return modTAVOCfg::gDeviceInstances[0]; }

    DialogScript dialogs;
};

// What a test window is given.
struct WindowSetup {
    bool demo = true;
    std::string initLines;                               // the initialization file
    std::vector<std::pair<int, std::string>> registers;  // the emulated device's registers
    EmulatorOptions emulator;                            // its faults (the model is set by the bench)
    bool debugFile = false;                              // the program's file switches
    bool feedbackFile = false;
    bool cinfoFile = false;
    bool load = true;      // Form_Load at once
    bool activate = true;  // then Form_Activate (the first read)
};

// The selected device of one model with its files ("init.txt", "feedback.txt",
// "cinfo.txt", "debug.txt" in dir), in demo mode or on COM1 with an emulated
// device.
class DeviceBench {
  public:
    DeviceBench(std::int32_t type, const WindowSetup& setup) : state(type, setup.demo) {
        if (!setup.demo) {
            EmulatorOptions options = setup.emulator;
            options.model = type == 0 ? DeviceModel::QUELB : DeviceModel::ZIM8x8;
            device.emplace(options);
            map.Map(1, device->DevicePath());
            for (const auto& [r, data] : setup.registers) device->SetRegister(r, data);
        }
        modTAVOCfg::gDebugFileEnabled = setup.debugFile;
        modTAVOCfg::gFeedbackFileEnabled = setup.feedbackFile;
        modTAVOCfg::gCInfoFileEnabled = setup.cinfoFile;
        WriteFile(dir.File("init.txt"), setup.initLines);
        DeviceInstance& d = state.Device();
        d.Config.InitCmdsFile = dir.File("init.txt");
        d.FeedbackFile = dir.File("feedback.txt");
        d.CInfoFile = dir.File("cinfo.txt");
        d.DebugFile = dir.File("debug.txt");
    }

    std::string Trace() const { return ReadFile(dir.File("debug.txt")); }
    // The device goes away: the line hangs up and every send fails.
    void Unplug() { device.reset(); }
    // The frames the device took since the last call.
    std::vector<std::string> NewFrames() {
        std::vector<std::string> all = device->Frames();
        std::vector<std::string> fresh(all.begin() + static_cast<long>(seen), all.end());
        seen = all.size();
        return fresh;
    }

    TempFolder dir;
    PortMapFolder map;
    ProgramState state;
    ScriptedMessageBox boxes;
    std::optional<DeviceEmulator> device;
    std::size_t seen = 0;
};

template <typename Window>
struct TestWindow : DeviceBench {
    static constexpr std::int32_t kType = std::is_same_v<Window, frmQUELB> ? 0 : 1;

    explicit TestWindow(const WindowSetup& setup = {}) : DeviceBench(kType, setup) {
        if (setup.load) window.Form_Load();
        if (setup.load && setup.activate) window.Form_Activate();
    }

    Window window;
};

// A control of a window by its control name, or an element of a control array
// by its array's name and index; a test fails when there is none.
template <typename T>
T* Find(const QObject& window, const QString& name) {
    T* control = window.findChild<T*>(name);
    if (!control) throw std::runtime_error("no control " + name.toStdString());
    return control;
}
template <typename T>
T* Find(const QObject& window, const char* array, std::size_t index) {
    return Find<T>(window, QString("%1(%2)").arg(QString::fromLatin1(array)).arg(index));
}
inline QComboBox* Combo(const QObject& window, const char* array, std::size_t index) {
    return Find<QComboBox>(window, array, index);
}

// Gives every code of a window a code of its own (group, key or house indexes
// 10 and up are left free for the tests to use): list i of each array shows
// item first + step * i.
inline void DistinctCodes(frmDeviceWindow& w) {
    struct Lists {
        const char* array;
        int first;
        int step;
    };
    static const Lists kRelay[] = {{"cboIRGroupOn", 20, 1}, {"cboIRKeyOn", 0, 0},  {"cboIRGroupOff", 40, 1},
                                   {"cboIRKeyOff", 0, 0},   {"cboX10House", 0, 1}, {"cboX10Unit", 0, 0}};
    static const Lists kMatrix[] = {
        {"cboIRGroupIN", 20, 1},  {"cboIRKeyIN", 0, 0},    {"cboIRGroupOUT", 40, 1}, {"cboIRKeyOUT", 0, 0},
        {"cboX10HouseOUT", 0, 1}, {"cboX10UnitOUT", 0, 0}, {"cboX10HouseIN", 0, 1},  {"cboX10UnitIN", 1, 0}};
    const bool relay = dynamic_cast<frmQUELB*>(&w) != nullptr;
    const std::span<const Lists> arrays =
        relay ? std::span<const Lists>(kRelay) : std::span<const Lists>(kMatrix);
    for (const Lists& lists : arrays)
        for (int i = 0; i < (relay ? 10 : 8); ++i)
            Combo(w, lists.array, static_cast<std::size_t>(i))->setCurrentIndex(lists.first + lists.step * i);
}

// Runs the event loop until done() holds; false after ms without it.
inline bool WaitFor(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.hasExpired(ms)) return false;
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

using Strings = std::vector<std::string>;

// The values of the enable and monitor boxes: IR control, IR monitor, X-10 control, X-10 monitor.
inline std::vector<int> CheckValues(const frmDeviceWindow& w) {
    std::vector<int> values;
    for (const char* box : {"chkEnableIR", "chkMonitorIR", "chkEnableX10", "chkMonitorX10"})
        values.push_back(frmDeviceWindow::CheckValue(Find<QCheckBox>(w, box)));
    return values;
}

// The message boxes shown so far, each as its title, " | " and its text.
inline Strings Boxes(const ScriptedMessageBox& boxes) {
    Strings shown;
    for (const MessageBoxRequest& box : boxes.Shown()) shown.push_back(box.title + " | " + box.text);
    return shown;
}

// "1" for each control (widget or menu item) that is enabled, "0" for each one that is not.
inline std::string Enabled(const QObject& w, std::initializer_list<const char*> controls) {
    std::string bits;
    for (const char* control : controls)
        bits += Find<QObject>(w, control)->property("enabled").toBool() ? '1' : '0';
    return bits;
}

// How the shown window draws front-panel shapes of its remote tab, read back
// from the screen: "1" for each one drawn green, "0" in the off colour, "?" other.
template <typename Shapes>
std::string Drawn(const Shapes& shapes, const QColor& off) {
    QWidget& w = *(*std::begin(shapes))->window();
    Find<QTabWidget>(w, "tabMain")->setCurrentIndex(2);
    w.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
    QCoreApplication::processEvents();
    const QImage screen = w.screen()->grabWindow(w.winId()).toImage();
    std::string bits;
    for (const Shape* s : shapes) {
        const QColor c = screen.pixelColor(s->mapTo(&w, s->rect().center()));
        bits += c == QColor(0, 255, 0) ? '1' : c == off ? '0' : '?';
    }
    return bits;
}
inline const QColor kDrawnGrey(128, 128, 128);

inline std::string LastMonitorLine(const frmDeviceWindow& w) {
    const auto* list = Find<QListWidget>(w, "lstMonitor");
    const int n = list->count();
    return n ? list->item(n - 1)->text().toStdString() : "";
}

inline std::vector<std::string> Drain(clsCmdQueue& queue) {
    std::vector<std::string> words;
    while (queue.Count()) words.push_back(queue.Pop());
    return words;
}

class ClockAt {
  public:
    explicit ClockAt(std::uint32_t now) { Set(now); }
    ~ClockAt() { SetClockBiasForTesting(0); }
    void Set(std::uint32_t now) {
        SetClockBiasForTesting(0);
        SetClockBiasForTesting(now - timeGetTime());
    }
};

}  // namespace tavo::test
