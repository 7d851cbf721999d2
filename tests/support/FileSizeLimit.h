#pragma once
// A full disk on demand: while a FileSizeLimit lives, no file of this process
// (or of a program it starts) can grow past the limit, and a write beyond it
// fails with EFBIG instead of ending the process with SIGXFSZ.

#include <signal.h>
#include <sys/resource.h>

namespace tavo::test {

class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{bytes, previous_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        ::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit previous_{};
    sighandler_t previousHandler_ = SIG_DFL;
};

}  // namespace tavo::test
