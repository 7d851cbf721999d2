#pragma once
// Set-up of the monitor and remote-tab tests: a device window of one model,
// loaded and read, either in demo mode or on COM1 with an emulated device
// behind it; the window's parts, created here only when the window has not
// created them itself; and a wait that lets the event loop run.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QListWidget>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "link/Clock.h"
#include "link/clsComPort.h"
#include "tests/support/DeviceEmulator.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/windows/WindowFixture.h"
#include "windows/clsDeviceMonitor.h"
#include "windows/clsMatrixRemote.h"
#include "windows/clsRelayRemote.h"
#include "windows/frmQUELB.h"
#include "windows/frmZIM8x8.h"

namespace tavo::test {

template <typename Part, typename Window>
Part& PartOf(Window& window) {
    auto* part = window.template findChild<Part*>();
    return part ? *part : *new Part(window);
}

// Runs the event loop until done() holds or ms have passed; false on time-out.
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

inline std::string LastMonitorLine(const frmDeviceWindow& w) {
    return w.lstMonitor->count() ? w.lstMonitor->item(w.lstMonitor->count() - 1)->text().toStdString() : "";
}

// Moves the millisecond clock so that it now reads about `now`; undone at the end.
class ClockAt {
  public:
    explicit ClockAt(std::uint32_t now) { Set(now); }
    ~ClockAt() { SetClockBiasForTesting(0); }
    void Set(std::uint32_t now) {
        SetClockBiasForTesting(0);
        SetClockBiasForTesting(now - timeGetTime());
    }
};

// A window of one model, loaded and read. On a line, initLines is the
// initialization file that the first read runs against the emulated device,
// whose registers hold registers.
template <typename Window>
struct LoadedWindow {
    static constexpr std::int32_t kType = std::is_same_v<Window, frmQUELB> ? 0 : 1;

    using Registers = std::vector<std::pair<int, std::string>>;

    explicit LoadedWindow(bool demo, const std::string& initLines = "", const Registers& registers = {})
        : state(kType, demo) {
        EmulatorOptions options;
        options.model = kType == 0 ? DeviceModel::QUELB : DeviceModel::ZIM8x8;
        if (!demo) {
            device.emplace(options);
            map.Map(1, device->DevicePath());
            for (const auto& [r, data] : registers) device->SetRegister(r, data);
        }
        WriteFile(dir.File("init.txt"), initLines);
        state.Device().Config.InitCmdsFile = dir.File("init.txt");
        window.Form_Load();
        window.Form_Activate();
    }

    // The device goes away: the line hangs up and every send fails.
    void Unplug() { device.reset(); }

    TempFolder dir;
    PortMapFolder map;
    ProgramState state;
    ScriptedMessageBox boxes;
    std::optional<DeviceEmulator> device;
    Window window;
};

}  // namespace tavo::test
