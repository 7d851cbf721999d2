// Wall time of the probe program, run as a user runs it, over map entries that
// point at pseudo-terminals:
//  - four ports with nothing attached: each costs four unanswered 300 ms tries
//    for "!", so 4.8 s is the floor; "overhead_ms" is the time beyond it per run;
//  - eight ports on which random bytes come at 9600 baud and nothing is echoed,
//    and a relay controller: what each such line costs beyond probing the
//    device alone, and in how many runs the device port file listed the
//    device and nothing else;
//  - sixteen ports whose device echoes the wrong character: the cost of each.

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/DeviceEmulator.h"
#include "tests/support/RunProgram.h"

namespace {

using namespace std::chrono_literals;
using tavo::test::DeviceEmulator;
using tavo::test::EmulatorOptions;

constexpr double kFloorMs = 4 * 4 * 300.0;

// Runs the probe over the ports of the current map; its time in milliseconds.
double ProbeMs(const tavo::test::TempFolder& scratch) {
    auto start = std::chrono::steady_clock::now();
    auto result = tavo::test::RunProgram(TAVO_PROBE_PROGRAM, {"-o" + scratch.File("tavo.txt")}, scratch.Path(),
                                         scratch.File("stderr.txt"));
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return result.status == 0 ? ms : -1;
}

// Ports 1 to count, each with a device made with the options that make(n) gives.
template <typename Make>
std::vector<std::unique_ptr<DeviceEmulator>> MapPorts(tavo::test::PortMapFolder& map, int count, Make make) {
    std::vector<std::unique_ptr<DeviceEmulator>> devices;
    for (int n = 1; n <= count; ++n) {
        devices.push_back(std::make_unique<DeviceEmulator>(make(n)));
        map.Map(n, devices.back()->DevicePath());
    }
    return devices;
}

void BM_ProbeFourSilentPorts(benchmark::State& state) {
    tavo::test::PortMapFolder map;
    tavo::test::TempFolder scratch;
    auto devices = MapPorts(map, 4, [](int) { return EmulatorOptions{.silent = true}; });
    double totalMs = 0;
    for (auto _ : state) {
        const double ms = ProbeMs(scratch);
        if (ms < 0) state.SkipWithError("the probe failed");
        totalMs += ms;
    }
    state.counters["overhead_ms"] = totalMs / static_cast<double>(state.iterations()) - kFloorMs;
}
BENCHMARK(BM_ProbeFourSilentPorts)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ProbeEightBabblingLinesAndADevice(benchmark::State& state) {
    tavo::test::TempFolder scratch;
    DeviceEmulator relay;
    double aloneMs = 0;
    {
        tavo::test::PortMapFolder map;
        map.Map(9, relay.DevicePath());
        for (int i = 0; i < 3; ++i) aloneMs += ProbeMs(scratch) / 3;
    }
    tavo::test::PortMapFolder map;
    auto lines = MapPorts(map, 8, [](int n) {
        return EmulatorOptions{
            .silent = true, .pace = 1040us, .streams = tavo::test::RandomBytes(4096, static_cast<unsigned>(n))};
    });
    map.Map(9, relay.DevicePath());
    double totalMs = 0;
    int deviceOnly = 0;
    for (auto _ : state) {
        const double ms = ProbeMs(scratch);
        if (ms < 0) state.SkipWithError("the probe failed");
        totalMs += ms;
        deviceOnly += tavo::test::ReadFile(scratch.File("tavo.txt")) == "QUELB,COM9\r\n";
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["ms_per_babbling_line"] = (totalMs / runs - aloneMs) / 8;
    state.counters["runs_listing_the_device_only"] = deviceOnly;
}
BENCHMARK(BM_ProbeEightBabblingLinesAndADevice)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

void BM_ProbeSixteenWrongEchoPorts(benchmark::State& state) {
    tavo::test::PortMapFolder map;
    tavo::test::TempFolder scratch;
    auto devices = MapPorts(map, 16, [](int) { return EmulatorOptions{.wrongEcho = true}; });
    double totalMs = 0;
    for (auto _ : state) totalMs += ProbeMs(scratch);
    state.counters["ms_per_port"] = totalMs / static_cast<double>(state.iterations()) / 16;
}
BENCHMARK(BM_ProbeSixteenWrongEchoPorts)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
