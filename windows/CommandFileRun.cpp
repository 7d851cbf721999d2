// Running a command file from a device window: the shared runner sends each
// line, collects the replies of the read lines by reply code, and records them
// in the feedback file while that is switched on. The window adds its busy
// state and tells the user about files it cannot read or write. A file loaded
// as settings is sent only when every line is a command word, and stops at the
// first write that the device does not take.

#include <algorithm>

#include "config/modTAVOCfg.h"
#include "link/CommandFileRunner.h"
#include "link/InputFile.h"
#include "link/MessageBox.h"
#include "link/OutputFile.h"
#include "link/clsComPort.h"
#include "link/modCommon.h"
#include "windows/frmDeviceWindow.h"

namespace tavo {

namespace {

// Six hexadecimal digits, or the ready frame of such a word with its checksum.
bool IsCommandWord(const std::string& line) {
    const bool frame = line.starts_with('!');
    const std::string word = line.substr(frame ? 1 : 0, 6);
    if (clsComPort::CalcCmdChecksum(word).empty()) return false;
    return frame ? UpperCase(line) == clsComPort::BuildFrame(word) : line.size() == 6;
}

// Why lines are no settings to send (a binary file, text in another encoding,
// a line that is no command word); empty when they are.
std::string NotSettings(const std::vector<std::string>& lines) {
    bool any = false;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        if (line.empty()) continue;
        const std::string at = "Line " + std::to_string(n + 1);
        if (std::ranges::any_of(line, [](unsigned char c) { return (c < 0x20 && c != '\t') || c == 0x7F; }))
            return at +
                   " holds NUL bytes or other control characters: this is no text file of command words.";
        if (!IsCommandWord(line)) return at + " is not a command word of six hexadecimal digits.";
        any = true;
    }
    return any ? std::string() : "It holds no command word.";
}

}  // namespace

bool frmDeviceWindow::ProcessCommandFile(const std::string& file, ReplySet& replies) {
    return RunCommandFile(file, replies, false) == RunEnd::AtEnd;
}

frmDeviceWindow::RunEnd frmDeviceWindow::RunCommandFile(const std::string& fileIn, ReplySet& replies,
                                                        bool settings) {
    using namespace modTAVOCfg;
    const std::string file = TrimBlanks(fileIn);
    if (file.empty()) return RunEnd::NotRun;

    SetBusy(true);
    auto report = [this](const std::string& message) {
        LogIfDebugging(message + "\r\n");
        ShowMessage("File Error", message, MsgIcon::Critical);
    };
    auto fail = [this, &report](const std::string& message) {
        report(message);
        SetBusy(false);
        return RunEnd::NotRun;
    };
    const DeviceInstance& device = SelectedDevice();
    // A settings file loaded from the window may be one the window writes.
    if (const std::string same = DeviceFileCollision(device, file); !same.empty()) return fail(same);
    // Opened once: a pipe is read whole here, and one that stays silent, like a
    // device node, counts as missing.
    InputFile commands(file);
    if (!commands.IsOpen())
        return fail("Command file was not found (" + file + ").\r\n\r\n" + commands.ErrorText());
    // A closed window stops the run at the next command; it shows nothing more.
    CommandFileRunner runner(mComPort.get(),
                             {.replyLines = CommandFileRunner::ReplyLines::ReadsOnly,
                              .portName = device.Port,
                              .debug = gDebugFileEnabled,
                              .stop = [this] { return closeConfirmed_; },
                              .stopAtFailedWrite = settings},
                             CommandFileRunner::IntoReplySet(replies));
    if (!runner.Read(commands))
        return fail("Command file could not be read (" + file + ").\r\n\r\n" + commands.ErrorText());
    if (const std::string why = settings ? NotSettings(runner.Lines()) : ""; !why.empty())
        return fail("Command file was not sent to the device (" + file + ").\r\n\r\n" + why);
    LogIfDebugging("Processing file: " + file);

    // A feedback file that cannot be written is reported; the file is run all the same.
    OutputFile feedback;
    const auto feedbackError = [&] {
        return "Feedback file could not be written (" + device.FeedbackFile + ").\r\n\r\n" +
               feedback.ErrorText();
    };
    if (gFeedbackFileEnabled && !feedback.Open(device.FeedbackFile, OutputFile::Mode::Truncate))
        report(feedbackError());

    const CommandFileRunner::Ended ended = runner.Send(&feedback);
    const bool feedbackFailed = feedback.IsOpen() && !feedback.Close();
    if (ended == CommandFileRunner::Ended::Stopped) {
        SetBusy(false);
        return RunEnd::Stopped;
    }
    if (feedbackFailed) report(feedbackError());
    // Reported as Apply reports a write that fails.
    if (ended == CommandFileRunner::Ended::WriteFailed)
        ShowMessage("Error Writing Settings",
                    "An error occured writing settings to the device!\r\n\r\nThe device did not take line " +
                        std::to_string(runner.FailedLine()) + " of the file (" + file +
                        "); the lines after it were not sent.",
                    MsgIcon::Critical);
    SetBusy(false);
    return ended == CommandFileRunner::Ended::WriteFailed ? RunEnd::WriteFailed : RunEnd::AtEnd;
}

}  // namespace tavo
