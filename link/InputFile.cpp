#include "InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tavo {

namespace {

constexpr std::size_t kBlock = 16384;

}  // namespace

std::string FileErrorText(int error) {
    if (error == kNotRegularFile) return "Not a regular file";
    return std::strerror(error);
}

int OpenRegularFile(const std::string& path, int flags, int& error) {
    // A name with a NUL in it would open some other file.
    if (path.empty() || path.find('\0') != std::string::npos) {
        error = ENOENT;
        return -1;
    }
    int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        error = errno;
    } else if (S_ISDIR(st.st_mode)) {
        error = EISDIR;
    } else if (!S_ISREG(st.st_mode)) {
        error = kNotRegularFile;
    } else {
        const int status = ::fcntl(fd, F_GETFL);
        if (status >= 0 && ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) == 0) return fd;
        error = errno;
    }
    ::close(fd);
    return -1;
}

InputFile::~InputFile() { Close(); }

bool InputFile::Open(const std::string& path) {
    Close();
    error_ = 0;
    errorText_.clear();
    int error = 0;
    fd_ = OpenRegularFile(path, O_RDONLY, error);
    if (fd_ < 0) SetError(error);
    return fd_ >= 0;
}

void InputFile::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    atEnd_ = false;
    buffer_.clear();
    pos_ = 0;
}

void InputFile::SetError(int error) {
    if (error_ != 0) return;
    error_ = error;
    errorText_ = FileErrorText(error);
}

bool InputFile::Fill() {
    if (fd_ < 0 || atEnd_) return false;
    char block[kBlock];
    for (;;) {
        const ssize_t n = ::read(fd_, block, sizeof block);
        if (n > 0) {
            buffer_.erase(0, pos_);
            pos_ = 0;
            buffer_.append(block, static_cast<std::size_t>(n));
            return true;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) SetError(errno);
        atEnd_ = true;
        return false;
    }
}

bool InputFile::ReadLine(std::string& line) {
    std::size_t searchFrom = pos_;
    for (;;) {
        const std::size_t end = buffer_.find('\n', searchFrom);
        if (end != std::string::npos) {
            line.assign(buffer_, pos_, end - pos_);
            pos_ = end + 1;
            break;
        }
        const std::size_t scanned = buffer_.size() - pos_;
        if (!Fill()) {
            if (pos_ == buffer_.size() || Failed()) return false;
            line.assign(buffer_, pos_);
            pos_ = buffer_.size();
            break;
        }
        searchFrom = pos_ + scanned;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

bool InputFile::ReadAll(std::string& out) {
    out.assign(buffer_, pos_);
    pos_ = buffer_.size();
    while (Fill()) {
        out.append(buffer_, pos_);
        pos_ = buffer_.size();
    }
    if (Failed()) out.clear();
    return !Failed();
}

bool InputFile::ReadWholeFile(const std::string& path, std::string& out) {
    out.clear();
    InputFile in;
    return in.Open(path) && in.ReadAll(out);
}

}  // namespace tavo
