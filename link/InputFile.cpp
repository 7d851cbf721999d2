#include "InputFile.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "link/UiHooks.h"

namespace tavo {

namespace {

InputLimits gLimits;

enum class InputKind { Regular, Pipe };

// The kind of input st describes, or false with error set for one that is no input.
bool KindOf(const struct stat& st, InputKind& kind, int& error) {
    if (S_ISREG(st.st_mode)) {
        kind = InputKind::Regular;
        return true;
    }
    if (S_ISFIFO(st.st_mode)) {
        kind = InputKind::Pipe;
        return true;
    }
    error = S_ISDIR(st.st_mode) ? EISDIR : kNotRegularFile;
    return false;
}

// Opens path for reading without blocking, and only a regular file or a pipe:
// a device node is never opened at all (opening a serial port already changes
// its lines). The kind is checked again on the opened descriptor, so nothing
// can swap the file in between. The descriptor, or -1 with error set.
int OpenInput(const std::string& path, InputKind& kind, off_t& size, int& error) {
    // A name with a NUL in it would open some other file.
    if (path.empty() || path.find('\0') != std::string::npos) {
        error = ENOENT;
        return -1;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        error = errno;
        return -1;
    }
    if (!KindOf(st, kind, error)) return -1;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    if (::fstat(fd, &st) != 0) {
        error = errno;
    } else if (KindOf(st, kind, error)) {
        size = st.st_size;
        return fd;
    }
    ::close(fd);
    return -1;
}

// Reads a pipe to its end into out: the writer must close it within the wait,
// and write no more than the size limit. The wait blocks in poll() on the pipe,
// in slices between which the windows, when there are any, go on answering.
// A named pipe that no writer ever opened stays silent until the deadline (the
// system reports its end only once a writer has come and gone).
bool ReadPipe(int fd, const InputLimits& limits, std::string& out, int& error) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + limits.pipeWait;
    char block[InputFile::kBlockSize];
    for (;;) {
        YieldToUi();
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            error = kPipeNotClosed;
            return false;
        }
        pollfd ready{fd, POLLIN, 0};
        const int n = ::poll(&ready, 1, static_cast<int>(YieldSlice(static_cast<std::uint32_t>(left))));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = errno;
            return false;
        }
        if (n == 0) continue;  // the deadline, seen at the top
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got == 0) return true;  // the writer closed it
        if (got < 0) {
            if (errno == EAGAIN || errno == EINTR) continue;
            error = errno;
            return false;
        }
        if (out.size() + static_cast<std::size_t>(got) > limits.maxBytes) {
            error = EFBIG;
            return false;
        }
        out.append(block, static_cast<std::size_t>(got));
    }
}

}  // namespace

InputLimits CurrentInputLimits() { return gLimits; }
void SetInputLimits(const InputLimits& limits) { gLimits = limits; }

std::string FileErrorText(int error) {
    if (error == kNotRegularFile) return "Not a regular file";
    if (error == kPipeNotClosed) return "The pipe was not written and closed in time";
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

bool CanOpenForReading(const std::string& path) {
    // A named pipe is not opened: a writer waiting in its open would be let in
    // by the test and then find no reader when it writes.
    struct stat st {};
    if (!path.empty() && path.find('\0') == std::string::npos && ::stat(path.c_str(), &st) == 0 &&
        S_ISFIFO(st.st_mode))
        return ::faccessat(AT_FDCWD, path.c_str(), R_OK, AT_EACCESS) == 0;
    InputKind kind{};
    off_t size = 0;
    int error = 0;
    const int fd = OpenInput(path, kind, size, error);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

std::string_view SkipByteOrderMark(std::string_view text) {
    if (text.starts_with(kUtf8ByteOrderMark)) text.remove_prefix(kUtf8ByteOrderMark.size());
    return text;
}

bool SplitLine(std::string_view text, bool final, std::size_t& length, std::size_t& taken) {
    const std::size_t end = text.find_first_of("\r\n");
    if (end == std::string_view::npos) {
        if (!final || text.empty()) return false;
        length = taken = text.size();
        return true;
    }
    if (text[end] == '\n') {
        taken = end + 1;
    } else if (end + 1 < text.size()) {
        taken = end + (text[end + 1] == '\n' ? 2 : 1);
    } else if (final) {
        taken = end + 1;
    } else {
        return false;  // an LF may follow in the next block
    }
    length = end;
    return true;
}

bool NextLine(std::string_view& text, std::string_view& line) {
    std::size_t length = 0;
    std::size_t taken = 0;
    if (!SplitLine(text, true, length, taken)) return false;
    line = text.substr(0, length);
    text.remove_prefix(taken);
    return true;
}

InputFile::~InputFile() { Close(); }

bool InputFile::Open(const std::string& path, const InputLimits& limits) {
    Close();
    error_ = 0;
    errorText_.clear();
    maxBytes_ = limits.maxBytes;
    InputKind kind{};
    off_t size = 0;
    int error = 0;
    const int fd = OpenInput(path, kind, size, error);
    if (fd < 0) {
        SetError(error);
        return false;
    }
    if (kind == InputKind::Pipe) {
        // Read whole now: a pipe can be read only once, and a silent one must
        // count as missing before the caller begins.
        const bool read = ReadPipe(fd, limits, buffer_, error);
        ::close(fd);
        if (!read) {
            buffer_.clear();
            SetError(error);
            return false;
        }
        atEnd_ = true;
        open_ = true;
        return true;
    }
    if (static_cast<std::size_t>(size) > limits.maxBytes) {
        error = EFBIG;
    } else {
        const int status = ::fcntl(fd, F_GETFL);
        if (status >= 0 && ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) == 0) {
            fd_ = fd;
            open_ = true;
            return true;
        }
        error = errno;
    }
    ::close(fd);
    SetError(error);
    return false;
}

void InputFile::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    open_ = false;
    atEnd_ = false;
    markChecked_ = false;
    bytesRead_ = 0;
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
    char block[kBlockSize];
    for (;;) {
        const ssize_t n = ::read(fd_, block, sizeof block);
        if (n > 0) {
            bytesRead_ += static_cast<std::size_t>(n);
            // A file that grows while it is read is bounded too.
            if (bytesRead_ > maxBytes_) break;
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
    SetError(EFBIG);
    atEnd_ = true;
    return false;
}

void InputFile::SkipByteOrderMarkAtStart() {
    if (markChecked_) return;
    while (buffer_.size() - pos_ < kUtf8ByteOrderMark.size() && Fill()) {
    }
    markChecked_ = true;
    if (std::string_view(buffer_).substr(pos_).starts_with(kUtf8ByteOrderMark))
        pos_ += kUtf8ByteOrderMark.size();
}

bool InputFile::ReadLine(std::string& line) {
    if (!open_) return false;
    SkipByteOrderMarkAtStart();
    // Bytes after pos_ already known to hold no line end, so that a long line
    // over many blocks is searched once.
    std::size_t scanned = 0;
    std::size_t length = 0;
    std::size_t taken = 0;
    for (;;) {
        const std::string_view rest = std::string_view(buffer_).substr(pos_ + scanned);
        if (SplitLine(rest, atEnd_, length, taken)) break;
        if (atEnd_) {
            if (scanned == 0) return false;
            length = taken = 0;  // what was scanned is the last line
            break;
        }
        // A CR at the end of the block stays unscanned: an LF may follow it.
        scanned += rest.size() - (rest.ends_with('\r') ? 1 : 0);
        if (!Fill() && Failed()) return false;
    }
    line.assign(buffer_, pos_, scanned + length);
    pos_ += scanned + taken;
    return true;
}

bool InputFile::ReadAll(std::string& out) {
    out.clear();
    if (!open_) return false;
    SkipByteOrderMarkAtStart();
    out.assign(buffer_, pos_);
    pos_ = buffer_.size();
    while (Fill()) {
        out.append(buffer_, pos_);
        pos_ = buffer_.size();
    }
    if (Failed()) out.clear();
    return !Failed();
}

bool InputFile::ReadWholeFile(const std::string& path, std::string& out, std::string* why) {
    out.clear();
    InputFile in;
    if (in.Open(path) && in.ReadAll(out)) return true;
    if (why) *why = in.ErrorText();
    return false;
}

}  // namespace tavo
