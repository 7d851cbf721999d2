// Running a command file: each line is sent to the device, the replies of its
// read lines are collected by reply code, and each is recorded in the
// feedback file while that is switched on.

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "config/modTAVOCfg.h"
#include "link/MessageBox.h"
#include "link/UiHooks.h"
#include "link/clsComPort.h"
#include "link/modCommon.h"
#include "windows/frmDeviceWindow.h"

namespace tavo {

namespace {

constexpr const char* kNoResponseMark = "****";

}  // namespace

bool frmDeviceWindow::ProcessCommandFile(const std::string& fileIn, ReplySet& replies) {
    using namespace modTAVOCfg;
    const std::string file = TrimBlanks(fileIn);
    if (file.empty()) return false;

    SetBusy(true);
    auto report = [this](const std::string& message) {
        LogIfDebugging(message + "\r\n");
        ShowMessage("File Error", message, MsgIcon::Critical);
    };
    auto fail = [this, &report](const std::string& message) {
        report(message);
        SetBusy(false);
        return false;
    };
    if (!FileExists(file)) return fail("Command file was not found (" + file + ").");
    LogIfDebugging("Processing file: " + file);

    // Only a regular file: a named pipe would block the open until some writer came,
    // and a device would never end.
    std::error_code ec;
    std::ifstream in;
    if (std::filesystem::is_regular_file(file, ec)) in.open(file, std::ios::binary);
    if (!in.is_open()) return fail("Command file could not be read (" + file + ").");

    const DeviceInstance& device = SelectedDevice();
    // A feedback file that cannot be written is reported; the file is run all the same.
    const std::string feedbackError = "Feedback file could not be written (" + device.FeedbackFile + ").";
    std::FILE* feedback = nullptr;
    if (gFeedbackFileEnabled) {
        feedback = device.FeedbackFile.empty() ? nullptr : std::fopen(device.FeedbackFile.c_str(), "wb");
        if (!feedback) report(feedbackError);
    }
    auto writeFeedback = [&feedback](const std::string& line) {
        if (feedback) std::fputs((line + "\r\n").c_str(), feedback);
    };

    std::string raw;
    while (std::getline(in, raw)) {
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const std::string line = TrimBlanks(raw);
        if (!line.empty()) {
            const std::size_t start = line[0] == '!' ? 1 : 0;
            const std::string code = line.substr(start, 2);
            if (code < "8") {
                if (mComPort) mComPort->SendCmdString(line, true);
            } else {
                const std::string reply = mComPort ? mComPort->SendCmdStrResponce(line) : std::string();
                if (!reply.empty()) {
                    const std::string word = reply.substr(0, 6);
                    writeFeedback(word);
                    const std::string key = word.substr(0, 2);
                    // A register read twice keeps its latest reply.
                    if (auto* stored = replies.Find(key))
                        *stored = word;
                    else
                        replies.Add(word, key);
                } else {
                    writeFeedback(line + "  No response from device.");
                    LogIfDebugging("No response from device on serial port " + device.Port + ":\r\n");
                    replies.Add(kNoResponseMark);
                }
            }
        }
        YieldToUi();
    }
    const bool readFailed = in.bad();
    bool feedbackFailed = false;
    if (feedback) feedbackFailed = std::ferror(feedback) != 0 || std::fclose(feedback) != 0;
    if (readFailed) return fail("Command file could not be read (" + file + ").");
    if (feedbackFailed) report(feedbackError);
    SetBusy(false);
    return true;
}

}  // namespace tavo
