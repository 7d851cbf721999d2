#include "EndSignals.h"

#include <csignal>

#include "SerialControl.h"
#include "StatusLine.h"

namespace tavo {

namespace {

constexpr int kEndSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Only async-signal-safe calls. The ports come first: a terminal that takes no
// more output must not keep them.
extern "C" void LetGoAndEnd(int signal) {
    ReleaseHeldPorts();
    StatusLine::EraseShown();
    // The handler was reset on entry: the signal, delivered on return, ends the
    // program as it would have.
    ::raise(signal);
}

}  // namespace

void LetGoOnEndSignals() {
    struct sigaction end {};
    end.sa_handler = LetGoAndEnd;
    end.sa_flags = static_cast<int>(SA_RESETHAND);
    sigemptyset(&end.sa_mask);
    // A second end signal waits for the first to be done with.
    for (int s : kEndSignals) sigaddset(&end.sa_mask, s);
    for (int s : kEndSignals) {
        struct sigaction before {};
        if (::sigaction(s, nullptr, &before) == 0 && before.sa_handler != SIG_IGN)
            ::sigaction(s, &end, nullptr);
    }
}

}  // namespace tavo
