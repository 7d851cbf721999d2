// tavoemu: emulated devices on pseudo-terminals, for trying the suite without
// hardware. A development aid, not one of the suite's programs: it plays the
// device emulator of the tests behind a port map folder of its own.
//
//     tavoemu FOLDER QUELB:1 ZIM-8x8:4
//
// creates FOLDER (it must not exist) with the entries COM1 and COM4 linked to
// a relay controller and a matrix switch, prints "ready" once they serve, and
// serves them until a signal (SIGINT, SIGTERM, SIGHUP) ends it, or its
// standard input closes when that is a pipe; then it removes FOLDER again.
// Each device holds the settings of its model's demo reply set, so a query
// shows a realistic report. Run the programs with TAVO_PORTS=FOLDER to reach
// the devices.

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "codes/QUELBModel.h"
#include "codes/ZIM8x8Model.h"
#include "link/HexText.h"
#include "tests/support/DeviceEmulator.h"

namespace {

using tavo::test::DeviceEmulator;
using tavo::test::DeviceModel;

int Usage() {
    std::fprintf(stderr,
                 "usage: tavoemu FOLDER MODEL:PORT...   (MODEL is QUELB or ZIM-8x8, PORT a number)\n");
    return 2;
}

// Every register the model's demo reply set reads back, as the device would hold it.
void LoadDemoSettings(DeviceEmulator& device, const tavo::DeviceModel& model) {
    for (const char* word : model.demoReplies) {
        const auto code = tavo::HexValue(std::string_view(word, 2));
        if (code && *code >= 0x80) device.SetRegister(*code - 0x80, word + 2);
    }
}

// The signals that end the emulator; blocked in every thread, so that they
// arrive only through the descriptor that ServeUntilTold waits on.
sigset_t StopSignals() {
    sigset_t stop;
    sigemptyset(&stop);
    for (int s : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&stop, s);
    sigprocmask(SIG_BLOCK, &stop, nullptr);
    return stop;
}

// Blocks until one of the stop signals arrives, or standard input closes when
// it is a pipe: a script that keeps the emulator on one (a coprocess) stops it
// so, or by ending. Other input is not watched: /dev/null, which a script's
// "tavoemu ... &" gets, would otherwise stop it at once.
void ServeUntilTold(const sigset_t& stop) {
    struct stat in {};
    const bool piped = ::fstat(STDIN_FILENO, &in) == 0 && S_ISFIFO(in.st_mode);
    const int signals = ::signalfd(-1, &stop, SFD_CLOEXEC);
    pollfd fds[2] = {{signals, POLLIN, 0}, {piped ? STDIN_FILENO : -1, POLLIN, 0}};
    char buf[256];
    while (::poll(fds, 2, -1) >= 0 || errno == EINTR) {
        if (fds[0].revents != 0) break;
        if (fds[1].revents != 0 && ::read(STDIN_FILENO, buf, sizeof buf) <= 0) break;
    }
    ::close(signals);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    const sigset_t stop = StopSignals();
    const std::filesystem::path folder = argv[1];
    std::error_code ec;
    if (!std::filesystem::create_directory(folder, ec)) {
        std::fprintf(stderr, "tavoemu: cannot create %s (it must not exist yet)\n", argv[1]);
        return 1;
    }
    int status = 0;
    try {
        std::vector<std::unique_ptr<DeviceEmulator>> devices;
        for (int i = 2; i < argc; ++i) {
            const std::string arg = argv[i];
            const std::size_t colon = arg.find(':');
            const std::string name = arg.substr(0, colon);
            const int port = colon == std::string::npos ? 0 : std::atoi(arg.c_str() + colon + 1);
            if ((name != "QUELB" && name != "ZIM-8x8") || port <= 0) throw std::invalid_argument(arg);
            const bool relay = name == "QUELB";
            devices.push_back(std::make_unique<DeviceEmulator>(
                tavo::test::EmulatorOptions{.model = relay ? DeviceModel::QUELB : DeviceModel::ZIM8x8}));
            LoadDemoSettings(*devices.back(), relay ? tavo::kQUELBModel : tavo::kZIM8x8Model);
            std::filesystem::create_symlink(devices.back()->DevicePath(),
                                            folder / ("COM" + std::to_string(port)));
        }
        std::printf("ready\n");
        std::fflush(stdout);
        ServeUntilTold(stop);
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "tavoemu: not a device: %s\n", e.what());
        status = Usage();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tavoemu: %s\n", e.what());
        status = 1;
    }
    std::filesystem::remove_all(folder, ec);
    return status;
}
