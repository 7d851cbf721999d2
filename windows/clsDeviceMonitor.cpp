#include "windows/clsDeviceMonitor.h"

#include <QCheckBox>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <string_view>

#include "link/HexText.h"
#include "link/MessageBox.h"
#include "link/clsComPort.h"
#include "windows/frmDeviceWindow.h"

namespace tavo {

namespace {

// The X-10 standard's 4-bit codes of house letters and unit numbers, by code.
constexpr const char* kHouseByCode[16] = {"M", "E", "C", "K", "O", "G", "A", "I",
                                          "N", "F", "D", "L", "P", "H", "B", "J"};
constexpr const char* kUnitByCode[16] = {"13", "5", "3", "11", "15", "7", "1", "9",
                                         "14", "6", "4", "12", "16", "8", "2", "10"};
// The monitor's own display names of the sixteen function codes.
constexpr const char* kFunctionByCode[16] = {"All Units Off",
                                             "All Lights On",
                                             "On",
                                             "Off",
                                             "Dim",
                                             "Bright",
                                             "All Lights Off",
                                             "Extended Code",
                                             "Hail Request",
                                             "Hail Acknowledge",
                                             "Pre-Set Dim High",
                                             "Pre-Set Dim low",
                                             "Extended Data",
                                             "Status=on",
                                             "Status=off",
                                             "Status Request"};

// The value of the hexadecimal digits text[pos, pos + count), or -1.
int HexField(const std::string& text, std::size_t pos, std::size_t count) {
    int value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        int digit = HexDigitValue(text[i]);
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

std::string Without(std::string text, std::string_view characters) {
    text.erase(std::remove_if(text.begin(), text.end(),
                              [characters](char c) { return characters.find(c) != std::string_view::npos; }),
               text.end());
    return text;
}

void SetLabel(QLabel* label, const std::string& text) {
    if (label) label->setText(QString::fromStdString(text));
}

void DeviceError(const char* text) { ShowMessage("Device Error", text, MsgIcon::Critical, MsgButtons::Ok); }

}  // namespace

clsDeviceMonitor::clsDeviceMonitor(frmDeviceWindow& window) : QObject(&window), window_(window) {
    connect(window_.tmrMonitorIR, &QTimer::timeout, this, &clsDeviceMonitor::tmrMonitorIR_Timer);
    connect(window_.tmrMonitorX10, &QTimer::timeout, this, &clsDeviceMonitor::tmrMonitorX10_Timer);
    connect(window_.chkMonitorIR, &QCheckBox::stateChanged, this, &clsDeviceMonitor::chkMonitorIR_Click);
    connect(window_.chkMonitorX10, &QCheckBox::stateChanged, this, &clsDeviceMonitor::chkMonitorX10_Click);
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
    return {window_.chkMonitorIR,
            window_.tmrMonitorIR,
            window_.Tables().irMonitorOn,
            window_.Tables().irMonitorOff,
            "Error setting IR monitor mode!  Please try again.",
            "Error clearing IR monitor mode!  Please try again.",
            &frmDeviceWindow::MonitoringIR,
            &frmDeviceWindow::SetMonitoringIR,
            irWaiting_};
}

clsDeviceMonitor::Mode clsDeviceMonitor::X10Mode() {
    return {window_.chkMonitorX10,
            window_.tmrMonitorX10,
            window_.Tables().x10MonitorOn,
            window_.Tables().x10MonitorOff,
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
    if (frmDeviceWindow::CheckValue(window_.chkMonitorIR) == 1) {
        if (!window_.MonitoringIR()) StartIRMonitor();
    } else if (window_.MonitoringIR()) {
        StopIRMonitor();
        SetLabel(window_.lblMonitorIRGroup, "");
        SetLabel(window_.lblMonitorIRKey, "");
    }
}

void clsDeviceMonitor::chkMonitorX10_Click() {
    if (window_.Loading()) return;
    if (frmDeviceWindow::CheckValue(window_.chkMonitorX10) == 1) {
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
    const auto message = Collect(irWaiting_, kIRLength);
    std::string group, key;
    if (message && DecodeIRMonitor(*message, group, key)) {
        SetLabel(window_.lblMonitorIRGroup, group);
        SetLabel(window_.lblMonitorIRKey, key);
    }
}

void clsDeviceMonitor::tmrMonitorX10_Timer() {
    if (!window_.MonitoringX10() || window_.Busy()) return;
    const auto length = static_cast<std::size_t>(window_.Tables().x10MessageLength);
    const auto received = Collect(x10Waiting_, length);
    if (!received) return;
    const std::string message = Without(*received, " ");
    if (message.size() != length) {
        ShowX10("*", "*", "*");
        return;
    }
    // A message of the right length that fails the checks blanks the labels.
    std::string house, unit, function;
    DecodeX10Monitor(length, message, house, unit, &function);
    ShowX10(house, unit, function);
}

void clsDeviceMonitor::ShowX10(const std::string& house, const std::string& unit,
                               const std::string& function) {
    SetLabel(window_.lblMonitorX10House, house);
    SetLabel(window_.lblMonitorX10Unit, unit);
    SetLabel(window_.lblMonitorX10Func, function);
}

bool clsDeviceMonitor::DecodeIRMonitor(const std::string& message, std::string& group, std::string& key) {
    std::string s = Without(message, " ");
    if (s.size() < kIRLength) return false;
    // Characters 1 and 6 frame the message and are not examined.
    int g = HexField(s, 1, 2);
    int k = HexField(s, 3, 2);
    if (g < 0 || k < 0) return false;
    group = std::to_string(g + 1);
    key = std::to_string(k + 1);
    return true;
}

bool clsDeviceMonitor::DecodeX10Monitor(std::size_t length, const std::string& message, std::string& house,
                                        std::string& unit, std::string* function) {
    std::string s = Without(message, "\t ");
    if (s.size() < 6 || s.size() != length || s.front() != '$' || s.back() != '+') return false;
    int h, u, f;
    if (length == 12) {
        // "$", four digits a, two characters not examined, four digits b, "+".
        int a = HexField(s, 1, 4);
        int b = HexField(s, 7, 4);
        if (a < 0 || b < 0) return false;
        h = (a & 0x1E0) >> 5;
        u = (a & 0x1E) >> 1;
        f = (b & 0x1E) >> 1;
    } else {
        // "$", house digit, unit digit, one character not examined, function digit, "+".
        h = HexDigitValue(s[1]);
        u = HexDigitValue(s[2]);
        f = HexDigitValue(s[4]);
        if (h < 0 || u < 0 || f < 0) return false;
    }
    house = kHouseByCode[h];
    unit = kUnitByCode[u];
    if (function) *function = kFunctionByCode[f];
    return true;
}

}  // namespace tavo
