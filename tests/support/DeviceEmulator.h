#pragma once
// A relay controller or matrix switch on the far side of a pseudo-terminal.
//
// On the wire it behaves as a device does: it echoes every character it
// receives, collects a frame from "!" to "*" ("-" drops a frame it began),
// keeps the registers that write words set, and answers a read word with "!",
// the reply word and "*". Faults can be chosen per test. A thread serves the
// line until the emulator is destroyed.

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The file helpers came from here; tests that include only this header keep them.
#include "tests/support/FileText.h"
#include "tests/support/PortMapFolder.h"
#include "tests/support/TempFolder.h"

namespace tavo::test {

enum class DeviceModel { QUELB, ZIM8x8 };

// What some devices send after a reply: a line end, or several of every kind.
inline const std::string kLineEnd = "\r\n";
inline const std::string kLineEnds = "\r\n\n\r\r\n";

// What a line with no device of ours on it may send (a device at another baud
// rate, an instrument that streams): count bytes of every value, the same for one seed.
std::string RandomBytes(std::size_t count, unsigned seed);

struct EmulatorOptions {
    DeviceModel model = DeviceModel::QUELB;
    bool silent = false;               // no echo, no reply: a port with nothing attached
    bool wrongEcho = false;            // echoes a different character than it received (no line end)
    bool echoTwice = false;            // echoes every character twice (a loop-back beside the device)
    int stopEchoAfter = -1;            // echoes only the first N characters (-1: all)
    bool neverReply = false;           // echoes but never answers a read (a loop-back line)
    bool replyWithoutEnd = false;      // the reply lacks its closing "*"
    std::string noiseBeforeReply;      // sent ahead of the reply's "!" (alone, with neverReply)
    std::string afterReply;            // sent after the reply's "*" (a line end, noise)
    int hangUpAfter = -1;              // hangs up (as if unplugged) on receiving character N+1 (-1: never)
    std::chrono::nanoseconds pace{0};  // time one character spends on the wire
    // A slow device: this much more time before each character of a reply.
    std::chrono::nanoseconds replyGap{0};
    // A babbling device: a read's reply goes on without "*" for this long, one
    // character per character time (1 ms unpaced), while the device keeps echoing.
    // Zero: a normal reply. Tests keep it finite so that a reader that never
    // stops still ends, and fails on its time instead of stalling.
    std::chrono::milliseconds babbleFor{0};
    // A line that streams: these characters over and over from the start, one
    // per character time (1 ms unpaced), for as long as the emulator lives.
    // With silent: a port where something other than a device of ours talks.
    std::string streams;
    // Monitor messages, sent unasked before the echo of received character N (from 1).
    std::vector<std::pair<int, std::string>> unasked;
    // A busy device: on receiving character N it sends nothing for pauseFor,
    // then sends what it held back.
    int pauseAfter = -1;
    std::chrono::milliseconds pauseFor{0};
};

class DeviceEmulator {
  public:
    explicit DeviceEmulator(EmulatorOptions options = {});
    ~DeviceEmulator();
    DeviceEmulator(const DeviceEmulator&) = delete;
    DeviceEmulator& operator=(const DeviceEmulator&) = delete;

    // The device node a port-map entry should point at.
    const std::string& DevicePath() const { return slavePath_; }

    // Register r (0x00..0x7F) holds four data characters; a read of 0x80|r returns them.
    void SetRegister(int r, const std::string& data);
    std::string Register(int r) const;

    // Everything received so far, and the words of the frames completed so far.
    std::string Received() const;
    std::vector<std::string> Frames() const;

    // Sends text to the port unasked, e.g. a stale character; returns once the
    // port can read it (whatever was waiting there before stays).
    void Inject(const std::string& text);
    // The device goes away now (as if unplugged): the line hangs up. Returns
    // once it has.
    void Unplug();

  private:
    void Serve();
    void OnCharacter(char c, std::chrono::steady_clock::time_point arrivedAt);
    // Records a framed word; the code of a read to answer, else -1.
    int TakeFrame(const std::string& body);
    void Reply(int code, std::chrono::steady_clock::time_point sendAt);
    void SendAt(char c, std::chrono::steady_clock::time_point at);
    void HangUp();
    void MeasureLineDelay();
    // Sends the babble's next character when it is due, and ends the babble when its time is up.
    void StartBabble(std::string text, std::chrono::steady_clock::time_point from,
                     std::chrono::steady_clock::time_point until);
    void Babble();

    EmulatorOptions options_;
    int master_ = -1;
    int slave_ = -1;  // held open so the line stays up between the client's opens
    int wake_[2] = {-1, -1};
    std::string slavePath_;

    mutable std::mutex mutex_;
    std::condition_variable unplugged_;
    std::array<std::string, 128> registers_;
    std::string received_;
    std::vector<std::string> frames_;
    std::string frame_;
    bool inFrame_ = false;
    int receivedCount_ = 0;
    std::chrono::nanoseconds lead_{0};                  // how early to wake for a paced character
    std::chrono::steady_clock::duration lineDelay_{0};  // write-to-read delay of the pty
    bool babbling_ = false;                             // the babble's state: the serving thread's own
    std::string babbleText_;
    std::chrono::steady_clock::time_point babbleUntil_;
    std::chrono::steady_clock::time_point nextBabble_;
    std::size_t babbled_ = 0;
    std::chrono::steady_clock::time_point heldUntil_;  // the end of a pause

    std::thread thread_;
};

}  // namespace tavo::test
