// The command-file run against an emulated device through the port map, with
// the two policies of the device windows and the query utility.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "link/CommandFileRunner.h"
#include "link/InputFile.h"
#include "link/OutputFile.h"
#include "link/UiHooks.h"
#include "link/clsComPort.h"
#include "tests/support/DeviceEmulator.h"
#include "tests/support/FileSizeLimit.h"

namespace tavo {
namespace {

using test::DeviceEmulator;
using test::ReadFile;
using test::WithoutStamps;
using test::WriteFile;

using Entries = std::vector<std::pair<std::string, std::string>>;  // key, item

Entries Contents(const KeyedCollection<std::string>& replies) {
    Entries out;
    for (const auto& e : replies) out.emplace_back(e.key, e.item);
    return out;
}

class CommandFileRun : public ::testing::Test {
  protected:
    // Runs the command file text with the policy and a reply set; the feedback
    // file's text comes back in feedbackText.
    bool Run(clsComPort* port, CommandFileRunner::Policy policy, const std::string& commandText) {
        WriteFile(dir_.File("commands.txt"), commandText);
        InputFile commands(dir_.File("commands.txt"));
        OutputFile feedback;
        EXPECT_TRUE(feedback.Open(dir_.File("feedback.txt"), OutputFile::Mode::Truncate));
        CommandFileRunner runner(port, std::move(policy), CommandFileRunner::IntoReplySet(replies_));
        const bool read = runner.Run(commands, &feedback);
        feedbackClosed_ = feedback.Close();
        feedbackText_ = ReadFile(dir_.File("feedback.txt"));
        return read;
    }

    test::PortMapFolder map_;
    test::TempFolder dir_;
    KeyedCollection<std::string> replies_;
    std::string feedbackText_;
    bool feedbackClosed_ = false;
};

TEST_F(CommandFileRun, WindowPolicyAwaitsRepliesOnlyForReadLines) {
    DeviceEmulator relay;
    relay.SetRegister(0x04, "00FF");
    map_.Map(1, relay.DevicePath());
    clsComPort port(EchoRule::EmptyBufferFirst);
    port.SetComPort(1);
    ASSERT_TRUE(port.OpenPort());
    port.StartDebug(dir_.File("trace.txt"), true);

    // A read, a write that changes the register, a read behind a tab (so a
    // write), a ready frame, the register read again.
    EXPECT_TRUE(Run(&port, {CommandFileRunner::ReplyLines::ReadsOnly, "COM1", false},
                    "800000\r\n  00000A  \r\n\t840000\r\n\r\n!8400007C*\n800000"));
    EXPECT_EQ(relay.Frames(), (std::vector<std::string>{"800000", "00000A", "840000", "840000", "800000"}));
    // Each write ends its own trace line.
    EXPECT_NE(WithoutStamps(ReadFile(dir_.File("trace.txt"))).find("6(6)*(*)\r\n[STAMP]: !(!)8(8)4(4)"),
              std::string::npos);
    EXPECT_EQ(feedbackText_, "800000\r\n8400FF\r\n80000A\r\n");
    EXPECT_TRUE(feedbackClosed_);
    // The register read twice keeps its latest reply, in its first place.
    EXPECT_EQ(Contents(replies_), (Entries{{"80", "80000A"}, {"84", "8400FF"}}));
}

TEST_F(CommandFileRun, QueryPolicyAwaitsAReplyOnEveryLineAndTracesSilence) {
    DeviceEmulator mute({.neverReply = true});
    map_.Map(2, mute.DevicePath());
    clsComPort port(EchoRule::KeepStale);
    port.SetComPort(2);
    ASSERT_TRUE(port.OpenPort());
    port.StartDebug(dir_.File("trace.txt"), true);

    std::vector<std::string> outcomes;
    WriteFile(dir_.File("commands.txt"), "  050001\r\n");
    InputFile commands(dir_.File("commands.txt"));
    CommandFileRunner runner(&port, {CommandFileRunner::ReplyLines::Every, "COM2", true},
                             {[&](const std::string& word) { outcomes.push_back(word); },
                              [&] { outcomes.push_back("no reply"); }});
    EXPECT_TRUE(runner.Run(commands, nullptr));
    port.StopDebug();

    // A write word too waits out the reply time-outs, and counts as unanswered.
    EXPECT_EQ(mute.Frames(), (std::vector<std::string>{"050001"}));
    EXPECT_EQ(outcomes, (std::vector<std::string>{"no reply"}));
    const std::string trace = WithoutStamps(ReadFile(dir_.File("trace.txt")));
    EXPECT_NE(trace.find("[STAMP]: !(!)0(0)5(5)0(0)0(0)0(0)1(1)F(F)A(A)*(*)\r\n"
                         "[STAMP]: No response from device on serial port COM2:\r\n\r\n"),
              std::string::npos)
        << trace;
}

TEST_F(CommandFileRun, WithoutAPortEveryReadGoesUnansweredAndTheUiGetsATurnPerLine) {
    int turns = 0;
    SetYieldHook([&] { ++turns; });
    {
        // The second feedback line does not fit: the run goes on, and the close says so.
        test::FileSizeLimit full(40);
        EXPECT_TRUE(Run(nullptr, {CommandFileRunner::ReplyLines::ReadsOnly, "COM1", true},
                        "800000\r\n   \r\n050001\r\n\r\n810000\r\n"));
    }
    SetYieldHook(nullptr);
    EXPECT_EQ(turns, 5);
    EXPECT_EQ(Contents(replies_), (Entries{{"", "****"}, {"", "****"}}));
    EXPECT_FALSE(feedbackClosed_);
    EXPECT_EQ(feedbackText_, "800000  No response from device.\r\n810000");
}

TEST(CommandFileRunner, ReadLinesAreThoseWhoseCodeIsNotBelowEight) {
    struct Case {
        const char* line;
        bool read;
    };
    for (const Case& c : {Case{"7FFFFF", false}, Case{"800000", true}, Case{"8", true}, Case{"7", false},
                          Case{"a40000", true}, Case{"!8400007C*", true}, Case{"!0500", false},
                          Case{"\t800000", false}, Case{"!", false}, Case{"", false}}) {
        EXPECT_EQ(CommandFileRunner::IsReadLine(c.line), c.read) << c.line;
    }
}

}  // namespace
}  // namespace tavo
