#include "tests/support/PipeWriter.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <utility>

namespace tavo::test {

namespace {

void WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;  // the reader went away (EPIPE)
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

PipeWriter::PipeWriter(std::string text) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return;
    readEnd_ = ends[0];
    path_ = "/dev/fd/" + std::to_string(readEnd_);
    made_ = true;
    Start(ends[1], std::move(text));
}

PipeWriter::PipeWriter(const std::string& path, std::string text) : path_(path), named_(true) {
    if (::mkfifo(path.c_str(), 0600) != 0) return;
    made_ = true;
    Start(-1, std::move(text));
}

void PipeWriter::Start(int writeEnd, std::string text) {
    // A reader that stops early (a size limit) must not end the test program.
    std::signal(SIGPIPE, SIG_IGN);
    int done[2];
    if (::pipe2(done, O_CLOEXEC) != 0) return;
    doneRead_ = done[0];
    writer_ = std::thread([this, writeEnd, doneWrite = done[1], text = std::move(text)] {
        // A named pipe's open for writing waits for a reader.
        const int fd = named_ ? ::open(path_.c_str(), O_WRONLY | O_CLOEXEC) : writeEnd;
        if (fd >= 0) {
            WriteAll(fd, text);
            ::close(fd);
        }
        ::close(doneWrite);
    });
}

PipeWriter::~PipeWriter() {
    if (writer_.joinable()) {
        // A reader of our own lets a waiting writer in and takes what is left,
        // until the writer says it is done.
        const int reader = named_ ? ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC) : readEnd_;
        pollfd fds[2] = {{reader, POLLIN, 0}, {doneRead_, POLLIN, 0}};
        char block[4096];
        for (;;) {
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR) continue;
                break;
            }
            if (fds[1].revents != 0) break;
            if (fds[0].revents != 0 && ::read(reader, block, sizeof block) <= 0) fds[0].fd = -1;
        }
        writer_.join();
        if (named_ && reader >= 0) ::close(reader);
    }
    if (doneRead_ >= 0) ::close(doneRead_);
    if (readEnd_ >= 0) ::close(readEnd_);
}

}  // namespace tavo::test
