#pragma once
// A device window of one model, loaded and read, in demo mode or on COM1 with
// an emulated device behind it; a wait that lets the event loop run; and the
// millisecond clock set to a chosen reading.

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

#include "button/Quorvel.h"
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

inline std::string LastMonitorLine(const frmDeviceWindow& w) {
    const int n = w.lstMonitor->count();
    return n ? w.lstMonitor->item(n - 1)->text().toStdString() : "";
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

// On a line, the first read runs initLines against a device whose registers hold registers
// (with the faults of options, if any).
template <typename Window>
struct LoadedWindow {
    static constexpr std::int32_t kType = std::is_same_v<Window, frmQUELB> ? 0 : 1;

    explicit LoadedWindow(bool demo, const std::string& initLines = "",
                          const std::vector<std::pair<int, std::string>>& registers = {},
                          EmulatorOptions options = {})
        : state(kType, demo) {
        if (!demo) {
            options.model = kType == 0 ? DeviceModel::QUELB : DeviceModel::ZIM8x8;
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
    Window window;
    std::size_t seen = 0;
};

}  // namespace tavo::test
