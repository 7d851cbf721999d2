#pragma once
// A text log: one file, truncated or appended to, that takes whole log lines
// (optionally stamped with the date and time) and can be suspended. Its owner
// may also write text straight into the open file.

#include <optional>
#include <string>
#include <string_view>

#include "OutputFile.h"

namespace tavo {

class clsLogFile {
  public:
    clsLogFile();
    ~clsLogFile();
    clsLogFile(const clsLogFile&) = delete;
    clsLogFile& operator=(const clsLogFile&) = delete;

    const std::string& Filename() const { return filename_; }
    // Setting the name of an open log closes it first, without a closing line.
    void SetFilename(const std::string& name);

    bool IsOpen() const { return isOpen_; }
    // Descriptor of the open file; -1 before the first open and after CloseLog.
    int FileHandle() const { return file_.Descriptor(); }

    bool UseDatetimeStamp() const { return useStamp_; }
    void SetUseDatetimeStamp(bool on) { useStamp_ = on; }

    // Opens the log (truncated, or appended to after three line ends) and writes
    // "Log opened.". A name, when given, becomes Filename. Returns IsOpen.
    bool OpenLog(bool fAppend = false, std::optional<std::string> fname = std::nullopt);
    // Writes "Log closed." (unless suspended) and closes. Always true.
    bool CloseLog();
    // Writes one log line; false when closed or suspended.
    bool LogMessage(std::string_view msg);

    void SuspendLogging();
    void ResumeLogging();

    // Writes text as it is into the open file, suspended or not; false when closed
    // or the write failed.
    bool WriteRaw(std::string_view text);

    // Description of the first failed write or close since the last OpenLog
    // (kept after closing), or of a failed OpenLog; "" when there was none.
    const std::string& FileError() const { return file_.ErrorText(); }

    // "[mm/dd/yyyy hh:mm:ss]: " of the current local time.
    static std::string DateTimeStamp();

  private:
    void CloseFile();

    std::string filename_;
    bool isOpen_ = false;
    bool logging_ = false;
    bool useStamp_ = false;
    OutputFile file_;
    bool append_ = false;
};

}  // namespace tavo
