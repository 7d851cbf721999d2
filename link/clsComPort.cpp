#include "clsComPort.h"

#include <algorithm>

#include "Clock.h"
#include "HexText.h"
#include "MonitorMessage.h"
#include "ProgramInfo.h"
#include "UiHooks.h"
#include "modCommon.h"

namespace tavo {

namespace {

constexpr std::uint32_t kEchoWaitMs = 300;
constexpr int kEchoTries = 4;
constexpr std::uint32_t kReplyWaitMs = 500;
constexpr int kSilentWaitsAllowed = 5;  // the sixth silent wait ends a reply
// A reply is "!", a reply code, four data digits and "*". One that runs to 64
// characters without its "*", or goes on for 5 s after its first character
// (eight characters 500 ms apart take 4 s), is noise, a wrong baud rate or a
// babbling device: no reply, so that the caller goes on with its next command.
constexpr std::size_t kMaxReplyChars = 64;
constexpr std::uint32_t kMaxReplyMs = 5000;
constexpr std::string_view kTooLongNote = "\r\nReply too long.\r\n";
// What may follow a character that is not its echo before the line falls
// quiet: a monitor message, echoes that came late or twice, what a device held
// back in a pause. A line that sends more without a pause is babbling.
constexpr std::size_t kBurstChars = 16;
// Whole monitor messages that may come back to back besides: eight of the
// longest kind.
constexpr std::size_t kMessageBurstChars = 8 * 12;

// Shows the hourglass on the active window for the length of a port operation.
class Hourglass {
  public:
    Hourglass() {
        if (auto* host = MousePointerHost(); host && host->HasActiveWindow()) {
            previous_ = host->MousePointer();
            host->SetMousePointer(kHourglassPointer);
        }
    }
    ~Hourglass() {
        // Restoring "no window" (-1) would be refused, so only a real pointer goes back.
        if (previous_ < 0) return;
        if (auto* host = MousePointerHost(); host && host->HasActiveWindow())
            host->SetMousePointer(previous_);
    }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;

  private:
    std::int16_t previous_ = -1;
};

// A frame that a device answers: a read word (code 80 and above) with its checksum.
bool IsReadFrame(const std::string& frame) {
    return frame.size() == 10 && HexDigitValue(frame[1]) >= 8 &&
           clsComPort::CalcCmdChecksum(frame.substr(1, 6)) == frame.substr(7, 2);
}

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// A device answers a read with a reply code (the read's code, 80 and above)
// and four data digits, all hexadecimal; callers keep the first six characters
// of a longer word.
bool IsReplyWord(const std::string& word) {
    return word.size() >= 6 && HexDigitValue(word[0]) >= 8 &&
           std::all_of(word.begin(), word.begin() + 6, [](char c) { return HexDigitValue(c) >= 0; });
}

}  // namespace

clsComPort::clsComPort(EchoRule rule) : rule_(rule) {
    control_.SetCommPort(1);
    control_.SetSettings(BuildSettingsString());
    control_.SetSThreshold(0);
    control_.SetRThreshold(0);
    control_.SetInputMode(0);
    control_.SetInputLen(1);
    debugLog_.SetFilename(InProgramFolder("debug.txt"));
    debugLog_.SetUseDatetimeStamp(true);
}

clsComPort::~clsComPort() {
    if (IsPortOpen()) control_.SetPortOpen(false);
}

void clsComPort::CloseIfOpen() {
    if (control_.PortOpen()) control_.SetPortOpen(false);
}

void clsComPort::SetComPort(std::int16_t v) {
    CloseIfOpen();
    comPort_ = v;
}
void clsComPort::SetBaudRate(std::int16_t v) {
    CloseIfOpen();
    baudRate_ = v;
}
void clsComPort::SetParity(const std::string& v) {
    CloseIfOpen();
    parity_ = v;
}
void clsComPort::SetDataBits(std::int16_t v) {
    CloseIfOpen();
    dataBits_ = v;
}
void clsComPort::SetStopBits(std::int16_t v) {
    CloseIfOpen();
    stopBits_ = v;
}

std::string clsComPort::BuildSettingsString() const {
    return std::to_string(baudRate_) + "," + parity_ + "," + std::to_string(dataBits_) + "," +
           std::to_string(stopBits_);
}

bool clsComPort::OpenPort() {
    Hourglass hourglass;
    if (IsPortOpen()) return true;
    control_.SetSettings(BuildSettingsString());
    control_.SetCommPort(comPort_);
    int raised = control_.SetPortOpen(true);
    bool failed = raised != 0 || (!control_.PortOpen() && control_.CommEvent() != 0);
    lastOpenError_ = failed ? (raised != 0 ? raised : control_.CommEvent()) : 0;
    outOfStep_ = false;  // the port was emptied as it opened
    if (!failed) return true;
    TraceError(lastOpenError_);
    if (control_.PortOpen()) control_.SetPortOpen(false);
    return false;
}

bool clsComPort::ClosePort() {
    Hourglass hourglass;
    if (!IsPortOpen()) return true;
    return control_.SetPortOpen(false) == 0 && control_.CommEvent() == 0;
}

bool clsComPort::IsPortOpen() const { return control_.PortOpen(); }

bool clsComPort::SetConnectOptions(std::int16_t baudRate, const std::string& parity, std::int16_t dataBits,
                                   std::int16_t stopBits) {
    Hourglass hourglass;
    CloseIfOpen();
    baudRate_ = baudRate;
    parity_ = parity;
    dataBits_ = dataBits;
    stopBits_ = stopBits;
    control_.SetSettings(BuildSettingsString());
    return true;
}

void clsComPort::ClearBuffer() { control_.ClearInBuffer(); }

std::string clsComPort::GetInBuffer() {
    return control_.InBufferCount() > 0 ? control_.Input() : std::string();
}

std::int16_t clsComPort::GetInBufferCount() { return static_cast<std::int16_t>(control_.InBufferCount()); }

std::string clsComPort::CalcCmdChecksum(const std::string& s) {
    if (s.size() != 6) return {};
    int sum = 0;
    for (std::size_t i = 0; i < 6; i += 2) {
        int hi = HexDigitValue(s[i]);
        int lo = HexDigitValue(s[i + 1]);
        // Not a hexadecimal word: no checksum, so the frame goes out without one.
        if (hi < 0 || lo < 0) return {};
        sum += hi * 16 + lo;
    }
    static const char kDigits[] = "0123456789ABCDEF";
    int v = (768 - sum) & 0xFF;
    return {kDigits[v >> 4], kDigits[v & 0xF]};
}

std::string clsComPort::BuildFrame(const std::string& s) {
    std::string word;
    word.reserve(s.size());
    std::copy_if(s.begin(), s.end(), std::back_inserter(word), [](char c) { return c != ' ' && c != '\t'; });
    if (!word.empty() && word[0] == '!') return UpperCase(word);
    word = word.substr(0, 6);
    return UpperCase("!" + word + CalcCmdChecksum(word) + "*");
}

void clsComPort::Trace(std::string_view text) {
    if (debugging_) debugLog_.WriteRaw(text);
}

void clsComPort::TraceError(int code) {
    if (debugging_) debugLog_.LogMessage("ERROR: " + std::to_string(code));
}

void clsComPort::TraceLineDown() {
    if (control_.HungUp()) TraceError(control_.CommEvent());
}

bool clsComPort::SendCharWithEcho(char c) {
    Hourglass hourglass;
    if (!IsPortOpen()) return false;
    for (int attempt = 0; attempt < kEchoTries; ++attempt) {
        // A line that hung up stays down until the port is closed: no try can succeed.
        if (control_.HungUp()) return false;
        if (rule_ == EchoRule::EmptyBufferFirst) DropWaiting();
        control_.Output(std::string_view(&c, 1));
        const Echo echo = AwaitEcho(c, timeGetTime() + kEchoWaitMs);
        if (echo == Echo::Matched) return true;
        outOfStep_ = true;
        // The echo of this try, or of an earlier one, may still be on its way:
        // the next try begins once the line is quiet, so that its echo is the
        // next character to come. A line that does not fall quiet carries no frame.
        if (echo == Echo::Wrong && !TakeUntilQuiet(kBurstChars, false)) return false;
    }
    return false;
}

clsComPort::Echo clsComPort::AwaitEcho(char c, std::uint32_t deadline) {
    // The first character of a try is its echo, or it spends the try: a line
    // with no device of ours on it (another baud rate, an instrument that
    // streams) must not supply a frame's characters by chance. Passed over are
    // only what a device of ours sends besides: a line end after a reply (no
    // frame holds one), and a whole monitor message.
    MonitorMessageFilter monitor;
    while (control_.WaitForInput(deadline)) {
        const char got = control_.Input().front();
        if (got == c && !monitor.Holding()) return Echo::Matched;
        for (char other : monitor.Take(got))
            if (!IsLineEnd(other) || IsLineEnd(c)) return Echo::Wrong;
        // A line that sends line ends or messages without pause still ends the try on time.
        if (ClockReached(timeGetTime(), deadline)) return Echo::Silence;
    }
    return Echo::Silence;
}

void clsComPort::DropWaiting() {
    // Emptying the buffer may cut a monitor message short; its tail, read as
    // the echo, would spend the try.
    MonitorMessageFilter monitor;
    while (control_.InBufferCount() > 0) monitor.Take(control_.Input().front());
    const std::uint32_t deadline = timeGetTime() + kEchoWaitMs;
    while (monitor.Holding() && control_.WaitForInput(deadline)) monitor.Take(control_.Input().front());
}

bool clsComPort::TakeUntilQuiet(std::size_t maxChars, bool trace) {
    // Whole monitor messages do not count toward maxChars: a remote pressed
    // during a command makes a device send a few back to back. A line that
    // sends nothing but messages without a pause is still cut off, later.
    const std::uint32_t quietMs = QuietWindowMs();
    MonitorMessageFilter monitor;
    std::size_t stray = 0;
    for (std::size_t taken = 0; control_.WaitForInput(timeGetTime() + quietMs); ++taken) {
        if (stray >= maxChars || taken == maxChars + kMessageBurstChars) return false;
        const std::string got = control_.Input();
        if (trace) Trace("(" + got + ")");
        stray += monitor.Take(got.front()).size();
    }
    return true;
}

void clsComPort::BeginExchange() {
    // What a fault left on its way (a device's late reply, echoes it held back
    // in a pause) is the last exchange's; taken here, it costs no more than
    // that exchange. A line that babbles on fails this one on its own.
    if (!outOfStep_) return;
    outOfStep_ = false;
    TakeUntilQuiet(kMaxReplyChars, false);
}

bool clsComPort::SendFrame(const std::string& frame) {
    BeginExchange();
    Trace(clsLogFile::DateTimeStamp());
    for (char c : frame) {
        Trace(std::string_view(&c, 1));
        if (!SendCharWithEcho(c)) {
            SendCharWithEcho('-');  // drops the frame the device began
            Trace("\r\n\r\n");
            TraceLineDown();
            return false;
        }
        Trace("(" + std::string(1, c) + ")");
    }
    return true;
}

clsComPort::ReplyEnd clsComPort::ReadReply(std::string& reply, std::uint32_t waitMs, int silentWaitsAllowed) {
    // The reply is what stands between the device's "!" and its "*", without
    // the monitor messages that land in it. Anything else (a stray character
    // before the "!", noise that ends in "*", a word that is no reply word) is
    // passed over, and leaves the line out of step: reading goes on for the
    // reply within the same bounds as before.
    MonitorMessageFilter monitor;
    bool begun = false;
    int silentWaits = 1;
    std::size_t count = 0;
    std::uint32_t deadline = 0;
    while (true) {
        if (control_.WaitForInput(timeGetTime() + waitMs)) {
            const std::string got = control_.Input();
            Trace("(" + got + ")");
            for (char c : monitor.Take(got.front())) {
                if (c == '*' && begun && IsReplyWord(reply)) return ReplyEnd::EndMark;
                if (begun && c != '!' && c != '*') {
                    reply += c;
                    continue;
                }
                // A stray character before the "!", or the "*" of a word that
                // is no reply word; a "!" begins the reply anew.
                if (begun || c != '!') outOfStep_ = true;
                begun = c == '!';
                reply.clear();
            }
            if (++count == 1) deadline = timeGetTime() + kMaxReplyMs;
            if (count == kMaxReplyChars || ClockReached(timeGetTime(), deadline)) break;
            silentWaits = 1;
        } else if (silentWaits > silentWaitsAllowed || control_.HungUp()) {
            outOfStep_ = true;
            return ReplyEnd::Silence;
        } else {
            ++silentWaits;
        }
    }
    outOfStep_ = true;
    return ReplyEnd::TooLong;
}

std::uint32_t clsComPort::QuietWindowMs() const {
    // Three character times of 10 bits (3.1 ms at 9600 baud), rounded up, and
    // 1 ms more, since the millisecond clock may tick just after the wait
    // begins: the line counts as quiet after at least three silent character
    // times. Characters that keep coming at line speed (noise, a babbling
    // device) are one character time apart, or 1 ms apart through a USB adapter
    // in low-latency mode, so the drain follows them to the end. What no window
    // a write can afford would catch is a reply that comes late, from a slow
    // device or on a loaded machine where the sender of the reply is not run
    // for a while; but a device answers only a read, and that reply is awaited
    // up to its "*" (DrainLine), so the window is never a bet on the scheduler.
    const long baud = baudRate_ > 0 ? baudRate_ : 9600;
    return static_cast<std::uint32_t>((3 * 10 * 1000 + baud - 1) / baud + 1);
}

void clsComPort::DrainLine(bool replyDue) {
    // The reply to a read word sent as a write is awaited like any reply (up to
    // its "*", 500 ms a character) and not guessed from a time window: a device
    // that is slow to answer, or a machine so loaded that the reply comes late,
    // would otherwise have it arrive during the next frame's echo handshake.
    std::string ignored;
    if (replyDue) {
        const ReplyEnd end = ReadReply(ignored, kReplyWaitMs, 0);
        if (end == ReplyEnd::TooLong) Trace(kTooLongNote);
        if (end != ReplyEnd::EndMark) return;
    }
    // A babbling line: the next frame fails on its own, instead of this one waiting for ever.
    if (!TakeUntilQuiet(kMaxReplyChars, true)) Trace(kTooLongNote);
}

bool clsComPort::SendCmdString(const std::string& s, bool fCR) {
    Hourglass hourglass;
    const std::string frame = BuildFrame(s);
    if (!SendFrame(frame)) return false;
    // Nothing awaits a reply to this frame, so whatever it brings is taken here:
    // the next frame starts on a quiet line.
    DrainLine(IsReadFrame(frame));
    if (fCR) Trace("\r\n");
    return true;
}

std::string clsComPort::SendCmdStrResponce(const std::string& s) {
    Hourglass hourglass;
    std::string reply;
    if (!SendFrame(BuildFrame(s))) {
        Trace("Error sending command to device.\r\n\r\n");
    } else if (const ReplyEnd end = ReadReply(reply, kReplyWaitMs, kSilentWaitsAllowed);
               end != ReplyEnd::EndMark) {
        reply.clear();
        if (end == ReplyEnd::TooLong) Trace(kTooLongNote);
        if (control_.HungUp()) {
            Trace("\r\n");
            TraceLineDown();
        }
    }
    Trace("\r\n");
    return reply;
}

bool clsComPort::CanSeeDevice() {
    Hourglass hourglass;
    BeginExchange();
    if (!SendCharWithEcho('!')) {
        TraceLineDown();
        return false;
    }
    // A device echoes the "-" that drops the frame "!" began too, and then
    // falls quiet (but for a monitor message): a line on which random
    // characters come must supply two of them by chance and then pause.
    if (SendCharWithEcho('-') && TakeUntilQuiet(kBurstChars, false)) return true;
    TraceLineDown();
    return false;
}

void clsComPort::StartDebug(std::optional<std::string> fname, bool t) {
    Hourglass hourglass;
    if (debugging_) debugLog_.CloseLog();
    std::string name = fname ? *fname : InProgramFolder("debug.txt");
    debugging_ = debugLog_.OpenLog(!t, name);
    if (debugging_) debugLog_.LogMessage("NOTE: Ascii characters inside () are feedback from device.\r\n");
}

void clsComPort::StopDebug() {
    Hourglass hourglass;
    if (!debugging_) return;
    debugLog_.CloseLog();
    debugging_ = false;
}

bool clsComPort::LogMessage(const std::string& msg) { return debugging_ && debugLog_.LogMessage(msg); }

void clsComPort::SuspendLogging() {
    if (debugging_) debugLog_.SuspendLogging();
}

void clsComPort::ResumeLogging() {
    if (debugging_) debugLog_.ResumeLogging();
}

}  // namespace tavo
