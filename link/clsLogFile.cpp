#include "clsLogFile.h"

#include <ctime>

#include "ProgramInfo.h"

namespace tavo {

clsLogFile::clsLogFile() : filename_(InProgramFolder("logfile.txt")) {}

clsLogFile::~clsLogFile() { CloseFile(); }

void clsLogFile::SetFilename(const std::string& name) {
    CloseFile();
    filename_ = name;
}

bool clsLogFile::OpenLog(bool fAppend, std::optional<std::string> fname) {
    CloseFile();
    if (fname) filename_ = *fname;
    append_ = fAppend;
    // A pipe or a device in place of the log counts as a file that cannot be opened.
    isOpen_ = file_.Open(filename_, fAppend ? OutputFile::Mode::Append : OutputFile::Mode::Truncate);
    if (!isOpen_) return false;
    logging_ = true;
    if (fAppend) WriteRaw("\r\n\r\n\r\n");
    LogMessage("Log opened.");
    return true;
}

bool clsLogFile::CloseLog() {
    if (isOpen_) {
        if (logging_) LogMessage("Log closed.");
        CloseFile();
    }
    return true;
}

bool clsLogFile::LogMessage(std::string_view msg) {
    if (!isOpen_ || !logging_) return false;
    std::string line = useStamp_ ? DateTimeStamp() : std::string();
    line.append(msg);
    line.append("\r\n");
    return WriteRaw(line);
}

void clsLogFile::SuspendLogging() {
    if (isOpen_) logging_ = false;
}

void clsLogFile::ResumeLogging() {
    if (isOpen_) logging_ = true;
}

bool clsLogFile::WriteRaw(std::string_view text) { return isOpen_ && file_.Write(text); }

std::string clsLogFile::DateTimeStamp() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char buf[40];
    std::strftime(buf, sizeof buf, "[%m/%d/%Y %H:%M:%S]: ", &local);
    return buf;
}

void clsLogFile::CloseFile() {
    if (isOpen_) file_.Close();
    isOpen_ = false;
    logging_ = false;
}

}  // namespace tavo
