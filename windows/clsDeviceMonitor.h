#pragma once
// The IR and X-10 monitor of both device windows. Ticking a monitor check box
// switches the device into that monitor mode with one write command word; the
// window's 100 ms monitor timer then takes the device's monitor messages off
// the port and shows them decoded in the monitor labels. Unticking switches the
// mode off again. The window's tables give the command words and the length of
// an X-10 message.

#include <QObject>
#include <cstddef>
#include <optional>
#include <string>

class QTimer;

namespace tavo {

class frmDeviceWindow;

class clsDeviceMonitor : public QObject {
    Q_OBJECT

  public:
    // An IR monitor message: "$", group - 1 and key - 1 as two hex digits each, one more character.
    static constexpr std::size_t kIRLength = 6;

    // Connects the window's monitor check boxes and monitor timers; the window owns the monitor.
    explicit clsDeviceMonitor(frmDeviceWindow& window);

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

    // Group and key (decimal "1".."256") of an IR monitor message, blanks removed
    // and cut to six characters. False, outputs untouched, when fewer than six
    // characters remain or the group and key digits are not hexadecimal.
    static bool DecodeIRMonitor(const std::string& message, std::string& group, std::string& key);
    // House letter, unit number and function name of an X-10 monitor message of
    // length characters: 12 "$aaaa..bbbb+" (bit fields of two hexadecimal
    // numbers) or 6 "$hu.f+" (one hexadecimal digit each). False, outputs
    // untouched, unless the message (tabs and blanks removed) has that length,
    // begins with "$", ends with "+" and has hexadecimal digits where codes are read.
    static bool DecodeX10Monitor(std::size_t length, const std::string& message, std::string& house,
                                 std::string& unit, std::string* function = nullptr);

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
    bool irWaiting_ = false;
    bool x10Waiting_ = false;
};

}  // namespace tavo
