#pragma once
// The serial control: a small stand-in over termios for the platform's serial
// port control. It keeps the control's member list (port number, settings
// string, open switch, receive-buffer count, one-character input, output and
// an event code) and adds the one thing a polling caller needs to avoid
// spinning: a blocking wait for input with a deadline.

#include <cstdint>
#include <string>
#include <string_view>

struct serial_struct;

namespace tavo {

// The low-latency request of Linux serial drivers: the driver's settings as
// read, with ASYNC_LOW_LATENCY added to the flags and nothing else changed (an
// unprivileged caller may change only a few flags).
void AddLowLatency(serial_struct& settings);

// Lets go of every port this process holds open, as closing it would, for a
// signal that ends the process (EndSignals). Only async-signal-safe calls.
void ReleaseHeldPorts();

class SerialControl {
  public:
    SerialControl() = default;
    ~SerialControl();
    SerialControl(const SerialControl&) = delete;
    SerialControl& operator=(const SerialControl&) = delete;

    void SetCommPort(std::int16_t port) { commPort_ = port; }
    std::int16_t CommPort() const { return commPort_; }

    // "baud,parity,data,stop", e.g. "9600,N,8,1"; checked when the port opens.
    void SetSettings(const std::string& settings) { settings_ = settings; }
    const std::string& Settings() const { return settings_; }

    // Notification thresholds and input mode: stored; the control never notifies
    // and always delivers text.
    void SetSThreshold(int v) { sThreshold_ = v; }
    void SetRThreshold(int v) { rThreshold_ = v; }
    void SetInputMode(int v) { inputMode_ = v; }
    void SetInputLen(int v) { inputLen_ = v; }

    bool PortOpen() const { return fd_ >= 0; }
    // Opens or closes the port. Returns 0, or the error that the change raised
    // (an errno value); a failed open leaves the port closed.
    int SetPortOpen(bool open);

    // Characters received and not yet taken.
    int InBufferCount();
    // Discards every received character.
    void ClearInBuffer();
    // Takes up to InputLen characters (all waiting ones when InputLen is 0).
    std::string Input();
    // Sends text; a write that fails is reported through CommEvent.
    void Output(std::string_view text);

    // 0, or the code of the last error on the line (an errno value).
    int CommEvent() const { return commEvent_; }
    // The line hung up (the device went away): nothing more can pass until the
    // port is closed.
    bool HungUp() const { return hungUp_; }

    // Blocks until a character is waiting or the 32-bit clock reaches deadline;
    // true when one is waiting. With a yield hook installed, it wakes every few
    // milliseconds to call it. On a closed or hung-up port it returns at once.
    bool WaitForInput(std::uint32_t deadline);

  private:
    void Pump();
    // Waits for room to write; false (with the reason in CommEvent) when none came.
    bool WaitForRoom();
    void Close();
    void LineGone(int error);
    std::size_t Waiting() const { return rx_.size() - rxPos_; }

    std::int16_t commPort_ = 1;
    std::string settings_ = "9600,N,8,1";
    int sThreshold_ = 0;
    int rThreshold_ = 0;
    int inputMode_ = 0;
    int inputLen_ = 0;

    int fd_ = -1;
    bool hungUp_ = false;
    bool lowLatencySet_ = false;  // this port turned the driver's low-latency mode on
    int commEvent_ = 0;
    std::string rx_;
    std::size_t rxPos_ = 0;
};

}  // namespace tavo
