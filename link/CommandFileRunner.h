#pragma once
// Runs a command file against a device: one command word (or ready frame) a
// line, blanks around it dropped, empty lines passed over. A line that awaits
// a reply is sent with SendCmdStrResponce, and its outcome goes to the caller's
// sink and, when a feedback file is open, into it as one line: the reply's
// first six characters, or the line followed by "  No response from device.".
// Any other line is sent with SendCmdString. The user interface gets a turn
// after every line. The file is read whole before the first command goes, so
// that a progress report can say how many there are.
//
// The device windows and the query utility differ only in the policy: which
// lines await a reply, where the replies go, and whether the no-response trace
// line is written. Opening the files, and what a file that cannot be opened
// means, stay with the caller:
//
//     InputFile commands(file);                         // not open: the caller's message
//     OutputFile feedback;                              // not opened: no feedback lines
//     CommandFileRunner run(&port, {CommandFileRunner::ReplyLines::ReadsOnly, device.Port, debug},
//                           CommandFileRunner::IntoReplySet(replies));
//     bool read = run.Run(commands, &feedback);         // false: a read error ended the file early
//     if (feedback.IsOpen() && !feedback.Close()) ...  // feedback.ErrorText()

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "KeyedCollection.h"

namespace tavo {

class clsComPort;
class InputFile;
class OutputFile;

// Stands in a reply set for a read that got no reply.
inline constexpr std::string_view kNoResponseMark = "****";

class CommandFileRunner {
  public:
    // Which lines await a reply: every line (the query utility), or only the
    // read lines, whose command code is not below "8" (the device windows).
    enum class ReplyLines { Every, ReadsOnly };

    struct Policy {
        ReplyLines replyLines = ReplyLines::Every;
        // Named in the trace line "No response from device on serial port " + port + ":".
        std::string portName;
        // Whether that trace line is written.
        bool debug = false;
        // Told before each command is sent: its number, from 1, and how many the file holds.
        std::function<void(std::size_t command, std::size_t commands)> progress;
        // Asked before each command: true ends the run there (its window was closed).
        std::function<bool()> stop;
        // A write that the device does not take ends the run (a settings file
        // goes whole, or the user is told where it broke off).
        bool stopAtFailedWrite = false;
    };
    // How sending the lines ended.
    enum class Ended { AtEnd, Stopped, WriteFailed };

    // Where each awaited reply goes: its first six characters, or no reply.
    struct ReplySink {
        std::function<void(const std::string& word)> reply;
        std::function<void()> noReply;
    };
    // A reply set keyed by reply code, in which a register read twice keeps its
    // latest reply and each read without a reply adds "****" without a key.
    static ReplySink IntoReplySet(KeyedCollection<std::string>& replies);

    // port may be null: nothing is sent and no read gets a reply.
    CommandFileRunner(clsComPort* port, Policy policy, ReplySink sink);

    // Runs every line of commands; feedback lines go to feedback when it is
    // given and open. False when a read error ended the command file early.
    bool Run(InputFile& commands, OutputFile* feedback);
    // Run in two steps, so that a caller can look at the lines before any is sent:
    // Read takes every line (blanks around it dropped; an empty line stays, so
    // that line n of the file is Lines()[n - 1]), false on a read error.
    bool Read(InputFile& commands);
    const std::vector<std::string>& Lines() const { return lines_; }
    Ended Send(OutputFile* feedback);
    // After WriteFailed: the number, from 1, of the line the device did not take.
    std::size_t FailedLine() const { return failedLine_; }

    // The read lines sent so far, and how many of them got a reply.
    std::size_t ReadsSent() const { return readsSent_; }
    std::size_t ReadsAnswered() const { return readsAnswered_; }

    // A read line: its command code (two characters from the first, or from the
    // second when the line begins with "!") is not below "8" as text.
    static bool IsReadLine(std::string_view line);

  private:
    // False when the line was a write that the device did not take.
    bool RunLine(const std::string& line, OutputFile* feedback);

    clsComPort* port_;
    Policy policy_;
    ReplySink sink_;
    std::vector<std::string> lines_;
    std::size_t failedLine_ = 0;
    std::size_t readsSent_ = 0;
    std::size_t readsAnswered_ = 0;
};

}  // namespace tavo
