#include "windows/clsDeviceMonitor.h"

#include <QCheckBox>
#include <QLabel>
#include <QTimer>

#include "codes/DeviceModel.h"
#include "codes/MonitorMessages.h"
#include "link/MessageBox.h"
#include "link/clsComPort.h"
#include "windows/frmDeviceWindow.h"

namespace tavo {

namespace {

void SetLabel(QLabel* label, const std::string& text) {
    if (label) label->setText(QString::fromStdString(text));
}

void DeviceError(const char* text) { ShowMessage("Device Error", text, MsgIcon::Critical, MsgButtons::Ok); }

}  // namespace

clsDeviceMonitor::clsDeviceMonitor(frmDeviceWindow& window, const DeviceWindowControls& controls)
    : QObject(&window), window_(window), controls_(controls) {
    connect(controls_.tmrMonitorIR, &QTimer::timeout, this, &clsDeviceMonitor::tmrMonitorIR_Timer);
    connect(controls_.tmrMonitorX10, &QTimer::timeout, this, &clsDeviceMonitor::tmrMonitorX10_Timer);
    connect(controls_.chkMonitorIR, &QCheckBox::stateChanged, this, &clsDeviceMonitor::chkMonitorIR_Click);
    connect(controls_.chkMonitorX10, &QCheckBox::stateChanged, this, &clsDeviceMonitor::chkMonitorX10_Click);
}

bool clsDeviceMonitor::SwitchMode(const char* word) {
    // Demo mode is not looked at: there the monitor boxes are disabled instead.
    window_.SetBusy(true);
    clsComPort* port = window_.ComPort();
    bool ok = port && port->SendCmdString(word, true);
    window_.SetBusy(false);
    return ok;
}

// One of the two monitors: its check box, timer, command words and texts.
struct clsDeviceMonitor::Mode {
    QCheckBox* box;
    QTimer* timer;
    const char* onWord;
    const char* offWord;
    const char* setError;
    const char* clearError;
    bool (frmDeviceWindow::*monitoring)() const;
    void (frmDeviceWindow::*setMonitoring)(bool);
    bool& waiting;
};

clsDeviceMonitor::Mode clsDeviceMonitor::IRMode() {
    return {controls_.chkMonitorIR,
            controls_.tmrMonitorIR,
            window_.Model().irMonitorOn,
            window_.Model().irMonitorOff,
            "Error setting IR monitor mode!  Please try again.",
            "Error clearing IR monitor mode!  Please try again.",
            &frmDeviceWindow::MonitoringIR,
            &frmDeviceWindow::SetMonitoringIR,
            irWaiting_};
}

clsDeviceMonitor::Mode clsDeviceMonitor::X10Mode() {
    return {controls_.chkMonitorX10,
            controls_.tmrMonitorX10,
            window_.Model().x10MonitorOn,
            window_.Model().x10MonitorOff,
            "Error setting X-10 monitor mode!  Please try again.",
            "Error clearing X10 monitor mode!  Please try again.",
            &frmDeviceWindow::MonitoringX10,
            &frmDeviceWindow::SetMonitoringX10,
            x10Waiting_};
}

bool clsDeviceMonitor::Start(const Mode& m) {
    if (window_.Busy() || (window_.*m.monitoring)()) return false;
    if (!SwitchMode(m.onWord)) {
        DeviceError(m.setError);
        frmDeviceWindow::SetCheckValue(m.box, 0);
        return false;
    }
    (window_.*m.setMonitoring)(true);
    m.waiting = false;
    m.timer->start();
    return true;
}

bool clsDeviceMonitor::Stop(const Mode& m) {
    if (window_.Busy() || !(window_.*m.monitoring)()) return false;
    if (!SwitchMode(m.offWord)) {
        DeviceError(m.clearError);
        frmDeviceWindow::SetCheckValue(m.box, 1);
        return false;
    }
    m.timer->stop();
    (window_.*m.setMonitoring)(false);
    return true;
}

bool clsDeviceMonitor::StartIRMonitor() { return Start(IRMode()); }
bool clsDeviceMonitor::StopIRMonitor() { return Stop(IRMode()); }
bool clsDeviceMonitor::StartX10Monitor() { return Start(X10Mode()); }
bool clsDeviceMonitor::StopX10Monitor() { return Stop(X10Mode()); }

void clsDeviceMonitor::chkMonitorIR_Click() {
    if (window_.Loading()) return;
    if (frmDeviceWindow::CheckValue(controls_.chkMonitorIR) == 1) {
        if (!window_.MonitoringIR()) StartIRMonitor();
    } else if (window_.MonitoringIR()) {
        StopIRMonitor();
        SetLabel(controls_.lblMonitorIRGroup, "");
        SetLabel(controls_.lblMonitorIRKey, "");
    }
}

void clsDeviceMonitor::chkMonitorX10_Click() {
    if (window_.Loading()) return;
    if (frmDeviceWindow::CheckValue(controls_.chkMonitorX10) == 1) {
        if (!window_.MonitoringX10()) StartX10Monitor();
    } else if (window_.MonitoringX10()) {
        StopX10Monitor();
        ShowX10("", "", "");
    }
}

std::optional<std::string> clsDeviceMonitor::Collect(bool& waiting, std::size_t length) {
    clsComPort* port = window_.ComPort();
    if (!port) return std::nullopt;
    if (!waiting) {
        // A new wait starts from an empty buffer, so that it begins with a
        // message and not with the tail of one that was missed.
        port->ClearBuffer();
        waiting = true;
    }
    // The characters stay in the port's buffer until the message is complete; a
    // send in between (a monitor-off word that failed) empties it, so nothing
    // from before the send is taken into a later message.
    if (static_cast<std::size_t>(port->GetInBufferCount()) < length) return std::nullopt;
    waiting = false;
    std::string received;
    while (port->GetInBufferCount() > 0) received += port->GetInBuffer();
    return received;
}

void clsDeviceMonitor::tmrMonitorIR_Timer() {
    // A tick during a send (the monitor-off word) must not take the device's echoes.
    if (!window_.MonitoringIR() || window_.Busy()) return;
    const auto message = Collect(irWaiting_, kIRMonitorLength);
    std::string group, key;
    if (message && DecodeIRMonitor(*message, group, key)) {
        SetLabel(controls_.lblMonitorIRGroup, group);
        SetLabel(controls_.lblMonitorIRKey, key);
    }
}

void clsDeviceMonitor::tmrMonitorX10_Timer() {
    if (!window_.MonitoringX10() || window_.Busy()) return;
    const std::size_t length = window_.Model().x10MonitorLength;
    const auto received = Collect(x10Waiting_, length);
    // A message of the wrong length shows "*", one that fails the checks blanks the labels.
    if (received) {
        const X10MonitorText text = X10MonitorDisplay(length, *received);
        ShowX10(text.house, text.unit, text.function);
    }
}

void clsDeviceMonitor::ShowX10(const std::string& house, const std::string& unit,
                               const std::string& function) {
    SetLabel(controls_.lblMonitorX10House, house);
    SetLabel(controls_.lblMonitorX10Unit, unit);
    SetLabel(controls_.lblMonitorX10Func, function);
}

}  // namespace tavo
