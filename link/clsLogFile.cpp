#include "clsLogFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
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
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (fAppend ? O_APPEND : O_TRUNC);
    fd_ = ::open(filename_.c_str(), flags, 0644);
    isOpen_ = fd_ >= 0;
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

bool clsLogFile::WriteRaw(std::string_view text) {
    if (!isOpen_) return false;
    while (!text.empty()) {
        ssize_t n = ::write(fd_, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::string clsLogFile::DateTimeStamp() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char buf[40];
    std::strftime(buf, sizeof buf, "[%m/%d/%Y %H:%M:%S]: ", &local);
    return buf;
}

void clsLogFile::CloseFile() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    isOpen_ = false;
    logging_ = false;
}

}  // namespace tavo
