#pragma once
// Runs a built program as a user would: its own working folder, no input, its
// standard error kept in a file (or on a descriptor the caller reads); waits for it to end, but not for ever:
// a program that hangs is killed at the deadline, so its test fails instead of stalling the suite.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace tavo::test {

struct ProgramResult {
    int status = -1;        // exit status; 128 + signal when killed; -1 when it did not start
    std::string errors;     // what it wrote to standard error
    bool timedOut = false;  // killed at the deadline
};

// Starts exe with its standard error on errors (a descriptor the caller reads
// itself, such as a terminal or a pipe) and waits for it to end.
inline ProgramResult RunProgramWithErrorsOn(const std::string& exe, const std::vector<std::string>& args,
                                            const std::string& folder, int errors,
                                            std::chrono::milliseconds deadline = std::chrono::seconds(30),
                                            const std::function<void(pid_t running)>& whileRunning = {}) {
    std::vector<std::string> words{exe};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, errors, 2);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid = -1;
    int rc = ::posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ProgramResult result;
    if (rc != 0) return result;
    if (whileRunning) whileRunning(pid);

    // The process's descriptor becomes readable when it ends.
    const int process = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    pollfd ended{process, POLLIN, 0};
    int ready;
    while ((ready = ::poll(&ended, 1, static_cast<int>(deadline.count()))) < 0 && errno == EINTR) {
    }
    if (ready == 0) {
        ::kill(pid, SIGKILL);
        result.timedOut = true;
    }
    ::close(process);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

inline ProgramResult RunProgram(const std::string& exe, const std::vector<std::string>& args,
                                const std::string& folder, const std::string& errorsFile,
                                std::chrono::milliseconds deadline = std::chrono::seconds(30)) {
    const int errors = ::open(errorsFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (errors < 0) return {};
    ProgramResult result = RunProgramWithErrorsOn(exe, args, folder, errors, deadline);
    ::close(errors);
    std::ifstream in(errorsFile, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    result.errors = text.str();
    return result;
}

// Runs exe with TERM=term, its standard error on a raw terminal (the bytes as written) or a pipe; once the
// text interruptAt (if any) has come there, calls beforeSignal and sends signal. errors holds all it wrote.
inline ProgramResult RunSeenOn(
    bool terminal, const char* term, const std::string& exe, const std::vector<std::string>& args,
    const std::string& folder, const std::string& interruptAt = "", int signal = SIGINT,
    const std::function<void()>& beforeSignal = [] {}) {
    int ends[2];  // read, write
    termios raw{};
    ::cfmakeraw(&raw);
    if ((terminal ? ::openpty(&ends[0], &ends[1], nullptr, &raw, nullptr) : ::pipe(ends)) != 0) return {};
    ::fcntl(ends[0], F_SETFL, O_NONBLOCK);
    ::setenv("TERM", term, 1);
    std::string seen;
    char buffer[512];
    const auto take = [&] {
        for (ssize_t n; (n = ::read(ends[0], buffer, sizeof buffer)) > 0;)
            seen.append(buffer, std::size_t(n));
    };
    const auto interrupt = [&](pid_t pid) {
        if (interruptAt.empty()) return;
        for (pollfd p{ends[0], POLLIN, 0};
             seen.find(interruptAt) == std::string::npos && ::poll(&p, 1, 30000) > 0;)
            take();
        beforeSignal();
        ::kill(pid, signal);
    };
    ProgramResult r = RunProgramWithErrorsOn(exe, args, folder, ends[1], std::chrono::seconds(30), interrupt);
    take();  // the program has ended: what it wrote is there, and no more comes
    for (int fd : ends) ::close(fd);
    r.errors = seen;
    return r;
}

// What f returns, run in a child process as a user who is not root (as nobody when the test
// runs as root); 255 when the child cannot become that user.
inline int AsUser(const std::function<int()>& f) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0) ? 255 : f());
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 255;
}

}  // namespace tavo::test
