// Running a command file from a device window: the shared runner sends each
// line, collects the replies of the read lines by reply code, and records them
// in the feedback file while that is switched on. The window adds its busy
// state and tells the user about files it cannot read or write.

#include "config/modTAVOCfg.h"
#include "link/CommandFileRunner.h"
#include "link/InputFile.h"
#include "link/MessageBox.h"
#include "link/OutputFile.h"
#include "link/modCommon.h"
#include "windows/frmDeviceWindow.h"

namespace tavo {

bool frmDeviceWindow::ProcessCommandFile(const std::string& file, ReplySet& replies) {
    return RunCommandFile(file, replies) == RunEnd::AtEnd;
}

frmDeviceWindow::RunEnd frmDeviceWindow::RunCommandFile(const std::string& fileIn, ReplySet& replies) {
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
                              .stop = [this] { return closeConfirmed_; }},
                             CommandFileRunner::IntoReplySet(replies));
    if (!runner.Read(commands))
        return fail("Command file could not be read (" + file + ").\r\n\r\n" + commands.ErrorText());
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
    SetBusy(false);
    return RunEnd::AtEnd;
}

}  // namespace tavo
