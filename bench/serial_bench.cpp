// Serial link figures against the pty device emulator:
//  - framed writes and reads per second with an instant device, and the cost
//    of one character's round trip;
//  - a read at 9600 baud against its wire time (the ratio should stay <= 1.05),
//    and a write, which also waits for the line to stay quiet after its frame;
//  - the CPU share of a 3-second silent reply time-out (the waits must block).

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>

#include "link/clsComPort.h"
#include "tests/support/DeviceEmulator.h"

namespace {

using namespace std::chrono_literals;
using tavo::clsComPort;
using tavo::EchoRule;
using tavo::test::DeviceEmulator;
using tavo::test::EmulatorOptions;
using tavo::test::PortMapFolder;

struct Bench {
    explicit Bench(EmulatorOptions options) : device(options), port(EchoRule::KeepStale) {
        map.Map(1, device.DevicePath());
        port.OpenPort();
    }
    PortMapFolder map;
    DeviceEmulator device;
    clsComPort port;
};

double CpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    auto secs = [](timeval t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return secs(u.ru_utime) + secs(u.ru_stime);
}

void FramedWrite(benchmark::State& state) {
    Bench b({});
    for (auto _ : state) benchmark::DoNotOptimize(b.port.SendCmdString("050001"));
    state.SetItemsProcessed(state.iterations());
    // Ten characters, each sent and echoed alone.
    state.counters["us_per_char"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 10.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(FramedWrite)->Unit(benchmark::kMicrosecond)->UseRealTime();

void Read(benchmark::State& state) {
    Bench b({});
    for (auto _ : state) benchmark::DoNotOptimize(b.port.SendCmdStrResponce("810000"));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(Read)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Runs op against a device paced at 9600 baud, and sets its time against the
// wire time of the given number of characters.
template <typename Op>
void AgainstWireTime(benchmark::State& state, int characters, Op op) {
    constexpr auto kCharTime = 1040us;
    Bench b({.pace = kCharTime});
    for (auto _ : state) benchmark::DoNotOptimize(op(b.port));
    const double wire = characters * std::chrono::duration<double>(kCharTime).count();
    state.counters["wire_ratio"] =
        benchmark::Counter(wire * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void ReadAt9600Baud(benchmark::State& state) {
    // The frame's 10 characters and their 10 echoes, then the reply's 8 characters.
    AgainstWireTime(state, 28, [](clsComPort& port) { return port.SendCmdStrResponce("810000"); });
}
BENCHMARK(ReadAt9600Baud)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void WriteAt9600Baud(benchmark::State& state) {
    // The frame's 10 characters and their 10 echoes; then the line must stay quiet a while.
    AgainstWireTime(state, 20, [](clsComPort& port) { return port.SendCmdString("050001"); });
}
BENCHMARK(WriteAt9600Baud)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void SilentReplyTimeout(benchmark::State& state) {
    Bench b({.neverReply = true});
    double cpu = 0;
    double wall = 0;
    for (auto _ : state) {
        double cpu0 = CpuSeconds();
        auto wall0 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(b.port.SendCmdStrResponce("810000"));
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
        cpu += CpuSeconds() - cpu0;
    }
    state.counters["cpu_share_pct"] = 100.0 * cpu / wall;
}
BENCHMARK(SilentReplyTimeout)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
