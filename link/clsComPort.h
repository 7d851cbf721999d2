#pragma once
// The one road from every program to a device on a serial port: serial
// settings, opening and closing, the receive buffer, command frames sent with
// the per-character echo handshake, reply reading, and the debug trace.

#include <cstdint>
#include <optional>
#include <string>

#include "SerialControl.h"
#include "clsLogFile.h"

namespace tavo {

// Whether each echo try starts by emptying the receive buffer. The windowed
// program does; the console programs take a character already waiting as the
// echo when it is the one sent. Either way a try spent on another character
// waits for the line to fall quiet before the next one, and after a fault the
// next exchange begins on a quiet line.
enum class EchoRule { EmptyBufferFirst, KeepStale };

class clsComPort {
  public:
    explicit clsComPort(EchoRule rule);
    ~clsComPort();
    clsComPort(const clsComPort&) = delete;
    clsComPort& operator=(const clsComPort&) = delete;

    // Every setter closes an open port first; settings apply at the next OpenPort.
    std::int16_t ComPort() const { return comPort_; }
    void SetComPort(std::int16_t v);
    std::int16_t BaudRate() const { return baudRate_; }
    void SetBaudRate(std::int16_t v);
    const std::string& Parity() const { return parity_; }
    void SetParity(const std::string& v);
    std::int16_t DataBits() const { return dataBits_; }
    void SetDataBits(std::int16_t v);
    std::int16_t StopBits() const { return stopBits_; }
    void SetStopBits(std::int16_t v);

    bool OpenPort();
    // Why the last OpenPort failed (an errno value; EBUSY when another program
    // holds the port), 0 after one that succeeded.
    int LastOpenError() const { return lastOpenError_; }
    bool ClosePort();
    bool IsPortOpen() const;
    // Closes an open port and stores the settings; does not reopen.
    bool SetConnectOptions(std::int16_t baudRate, const std::string& parity, std::int16_t dataBits,
                           std::int16_t stopBits);

    void ClearBuffer();
    std::string GetInBuffer();
    std::int16_t GetInBufferCount();

    // Two upper-case hex digits: the two's complement of the word's byte sum; empty
    // unless s is six hexadecimal digits.
    static std::string CalcCmdChecksum(const std::string& s);
    // The frame SendCmdString sends for s.
    static std::string BuildFrame(const std::string& s);

    bool SendCmdString(const std::string& s, bool fCR = false);
    std::string SendCmdStrResponce(const std::string& s);
    bool CanSeeDevice();

    // Starts the debug trace into fname (default: "debug.txt" in the program
    // folder), truncating it when t is true.
    void StartDebug(std::optional<std::string> fname = std::nullopt, bool t = false);
    void StopDebug();
    bool LogMessage(const std::string& msg);
    void SuspendLogging();
    void ResumeLogging();
    bool IsDebugging() const { return debugging_; }
    // The trace file, whose FileError tells why the trace was cut short.
    const clsLogFile& DebugLog() const { return debugLog_; }

  private:
    // How a reply read ended: at the "*" of a reply word, in silence (or on a
    // dead line), or past its bounds.
    enum class ReplyEnd { EndMark, Silence, TooLong };
    // How one echo try ended.
    enum class Echo { Matched, Silence, Wrong };

    bool SendCharWithEcho(char c);
    // Waits until deadline for the echo of c, passing over line ends and
    // monitor messages only.
    Echo AwaitEcho(char c, std::uint32_t deadline);
    // Empties the receive buffer, with the rest of a monitor message it cut short.
    void DropWaiting();
    // Takes what comes until the line has been quiet for a few character times;
    // false when maxChars came first (a line that babbles), whole monitor
    // messages not counted.
    bool TakeUntilQuiet(std::size_t maxChars, bool trace);
    // Brings the line back into step after a fault before an exchange begins.
    void BeginExchange();
    bool SendFrame(const std::string& frame);
    ReplyEnd ReadReply(std::string& reply, std::uint32_t waitMs, int silentWaitsAllowed);
    void DrainLine(bool replyDue);
    std::uint32_t QuietWindowMs() const;
    void TraceError(int code);
    void TraceLineDown();
    std::string BuildSettingsString() const;
    void CloseIfOpen();
    void Trace(std::string_view text);

    SerialControl control_;
    EchoRule rule_;
    std::int16_t comPort_ = 1;
    std::int16_t baudRate_ = 9600;
    std::string parity_ = "N";
    std::int16_t dataBits_ = 8;
    std::int16_t stopBits_ = 1;
    bool debugging_ = false;
    clsLogFile debugLog_;
    int lastOpenError_ = 0;
    // A try was spent or a reply was not read in step: what the line still
    // sends belongs to that exchange.
    bool outOfStep_ = false;
};

}  // namespace tavo
