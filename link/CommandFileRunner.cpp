#include "CommandFileRunner.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "InputFile.h"
#include "OutputFile.h"
#include "UiHooks.h"
#include "clsComPort.h"
#include "modCommon.h"

namespace tavo {

CommandFileRunner::ReplySink CommandFileRunner::IntoReplySet(KeyedCollection<std::string>& replies) {
    return ReplySink{[&replies](const std::string& word) {
                         const std::string key = word.substr(0, 2);
                         if (auto* stored = replies.Find(key))
                             *stored = word;
                         else
                             replies.Add(word, key);
                     },
                     [&replies] { replies.Add(std::string(kNoResponseMark)); }};
}

CommandFileRunner::CommandFileRunner(clsComPort* port, Policy policy, ReplySink sink)
    : port_(port), policy_(std::move(policy)), sink_(std::move(sink)) {}

bool CommandFileRunner::IsReadLine(std::string_view line) {
    const std::size_t start = !line.empty() && line[0] == '!' ? 1 : 0;
    // Text order: "7F" < "8", while "8", "80" and "a4" are not below it.
    return !(line.substr(start, 2) < std::string_view("8"));
}

bool CommandFileRunner::Run(InputFile& commands, OutputFile* feedback) {
    const bool read = Read(commands);
    Send(feedback);
    return read;
}

bool CommandFileRunner::Read(InputFile& commands) {
    lines_.clear();
    for (std::string raw; commands.ReadLine(raw);) lines_.push_back(TrimBlanks(raw));
    return !commands.Failed();
}

CommandFileRunner::Ended CommandFileRunner::Send(OutputFile* feedback) {
    const auto total = static_cast<std::size_t>(
        std::count_if(lines_.begin(), lines_.end(), [](const std::string& line) { return !line.empty(); }));
    std::size_t sent = 0;
    for (std::size_t n = 0; n < lines_.size(); ++n) {
        if (!lines_[n].empty()) {
            if (policy_.stop && policy_.stop()) return Ended::Stopped;
            if (policy_.progress) policy_.progress(++sent, total);
            if (!RunLine(lines_[n], feedback) && policy_.stopAtFailedWrite) {
                failedLine_ = n + 1;
                return Ended::WriteFailed;
            }
        }
        YieldToUi();
    }
    return Ended::AtEnd;
}

bool CommandFileRunner::RunLine(const std::string& line, OutputFile* feedback) {
    const bool read = IsReadLine(line);
    if (policy_.replyLines == ReplyLines::ReadsOnly && !read)
        return port_ && port_->SendCmdString(line, true);
    const std::string reply = port_ ? port_->SendCmdStrResponce(line) : std::string();
    if (read) {
        ++readsSent_;
        readsAnswered_ += !reply.empty();
    }
    const bool writeFeedback = feedback && feedback->IsOpen();
    if (!reply.empty()) {
        const std::string word = reply.substr(0, 6);
        if (writeFeedback) feedback->WriteLine(word);
        sink_.reply(word);
    } else {
        if (writeFeedback) feedback->WriteLine(line + "  No response from device.");
        if (policy_.debug && port_)
            port_->LogMessage("No response from device on serial port " + policy_.portName + ":\r\n");
        sink_.noReply();
    }
    return true;
}

}  // namespace tavo
