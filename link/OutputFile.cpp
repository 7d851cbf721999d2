#include "OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "InputFile.h"

namespace tavo {

namespace {

constexpr int kTemporaryNameTries = 100;

// The folder and the file name of a path ("." for a name without a folder).
void SplitPath(const std::string& path, std::string& folder, std::string& name) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        folder = ".";
        name = path;
    } else {
        folder = slash == 0 ? "/" : path.substr(0, slash);
        name = path.substr(slash + 1);
    }
}

}  // namespace

OutputFile::~OutputFile() { Discard(); }

void OutputFile::SetError(int error) {
    if (error_ != 0) return;
    error_ = error;
    errorText_ = FileErrorText(error);
}

bool OutputFile::Open(const std::string& path, Mode mode) {
    Discard();
    path_ = path;
    mode_ = mode;
    error_ = 0;
    errorText_.clear();
    int error = 0;
    if (mode == Mode::Append) {
        fd_ = OpenRegularFile(path, O_WRONLY | O_CREAT | O_APPEND, error);
    } else if (mode == Mode::Truncate) {
        // Emptied only once the descriptor is known to be a regular file.
        fd_ = OpenRegularFile(path, O_WRONLY | O_CREAT, error);
        if (fd_ >= 0 && ::ftruncate(fd_, 0) != 0) {
            error = errno;
            ::close(fd_);
            fd_ = -1;
        }
    } else {
        // The earlier file must be one this class would write; through a link the
        // linked file is replaced, not the link.
        struct stat st {};
        target_ = path;
        bool exists = false;
        if (path.find('\0') != std::string::npos) {
            error = ENOENT;
        } else if (::stat(path.c_str(), &st) == 0) {
            exists = true;
            if (S_ISDIR(st.st_mode))
                error = EISDIR;
            else if (!S_ISREG(st.st_mode))
                error = kNotRegularFile;
            else if (char* real = ::realpath(path.c_str(), nullptr)) {
                target_ = real;
                std::free(real);
            }
        } else if (errno != ENOENT) {
            error = errno;
        }
        std::string folder, name;
        SplitPath(target_, folder, name);
        if (error == 0 && name.empty()) error = EISDIR;
        if (error == 0 && OpenTemporary(folder, name, error) && exists)
            ::fchmod(fd_, st.st_mode & 07777);  // the new file keeps the earlier one's rights
    }
    if (fd_ < 0) SetError(error);
    return fd_ >= 0;
}

bool OutputFile::OpenTemporary(const std::string& folder, const std::string& name, int& error) {
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x", static_cast<unsigned>(random()));
        // Hidden beside the target, so the rename stays on one file system.
        std::string candidate = folder + "/." + name + suffix + ".tmp";
        fd_ = OpenRegularFile(candidate, O_WRONLY | O_CREAT | O_EXCL, error);
        if (fd_ >= 0) {
            temporary_ = std::move(candidate);
            return true;
        }
        if (error != EEXIST) return false;
    }
    return false;
}

bool OutputFile::Write(std::string_view text) {
    if (fd_ < 0 || Failed()) return false;
    while (!text.empty()) {
        const ssize_t n = ::write(fd_, text.data(), text.size());
        if (n > 0) {
            text.remove_prefix(static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            SetError(n < 0 ? errno : EIO);
            return false;
        }
    }
    return true;
}

bool OutputFile::WriteLine(std::string_view text) {
    std::string line(text);
    line += "\r\n";
    return Write(line);
}

bool OutputFile::Close() {
    if (fd_ < 0) return !Failed();
    // Replace: the data must be on the disk before the name points at it.
    if (mode_ == Mode::Replace && !Failed() && ::fsync(fd_) != 0) SetError(errno);
    if (::close(fd_) != 0) SetError(errno);
    fd_ = -1;
    if (mode_ == Mode::Replace) {
        if (!Failed() && ::rename(temporary_.c_str(), target_.c_str()) != 0) SetError(errno);
        if (Failed()) RemoveTemporary();
        temporary_.clear();
    }
    return !Failed();
}

void OutputFile::Discard() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
    if (mode_ == Mode::Replace) {
        RemoveTemporary();
        temporary_.clear();
    }
}

void OutputFile::RemoveTemporary() {
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

}  // namespace tavo
