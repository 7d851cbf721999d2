#pragma once
// The IR and X-10 monitor of both device windows. Ticking a monitor check box
// switches the device into that monitor mode with one write command word; the
// window's 100 ms monitor timer then takes the device's monitor messages off
// the port and shows them decoded in the monitor labels. Unticking switches the
// mode off again. The window's device model gives the command words and the
// length of an X-10 message; codes/MonitorMessages reads the messages.

#include <QObject>
#include <cstddef>
#include <optional>
#include <string>

class QTimer;

namespace tavo {

class frmDeviceWindow;
struct DeviceWindowControls;

class clsDeviceMonitor : public QObject {
    Q_OBJECT

  public:
    // Connects the window's monitor check boxes and monitor timers (of its
    // controls); the window owns the monitor.
    clsDeviceMonitor(frmDeviceWindow& window, const DeviceWindowControls& controls);

    // Switch one monitor mode; true when the device took the command word.
    bool StartIRMonitor();
    bool StopIRMonitor();
    bool StartX10Monitor();
    bool StopX10Monitor();

    // The check boxes' handlers (they run on every value change, also one made by the window).
    void chkMonitorIR_Click();
    void chkMonitorX10_Click();

    // One poll of the port while monitoring.
    void tmrMonitorIR_Timer();
    void tmrMonitorX10_Timer();

  private:
    struct Mode;
    Mode IRMode();
    Mode X10Mode();
    bool Start(const Mode& m);
    bool Stop(const Mode& m);
    bool SwitchMode(const char* word);
    // One wait at a time for a monitor message, carried over ticks: a new wait
    // empties the port's buffer, and once length characters are waiting the
    // message is every character that has come. Nothing until then.
    std::optional<std::string> Collect(bool& waiting, std::size_t length);
    void ShowX10(const std::string& house, const std::string& unit, const std::string& function);

    frmDeviceWindow& window_;
    const DeviceWindowControls& controls_;
    bool irWaiting_ = false;
    bool x10Waiting_ = false;
};

}  // namespace tavo
