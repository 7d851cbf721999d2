// Wall time of the query utility, run as a user runs it: reading one relay
// controller through its 42-line initialization file at 9600 baud, against the
// wire time of those 42 exchanges (each: a 10-character frame and its 10
// echoes, then an 8-character reply, at 1.04 ms a character); and going
// through long device port files, against their length.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/DeviceEmulator.h"
#include "tests/support/RunProgram.h"

namespace {

using namespace std::chrono_literals;
using tavo::test::DeviceEmulator;

constexpr auto kCharTime = 1040us;

// Runs the query once an iteration over a device port file of the given text,
// every device reading the sample relay controller's initialization file, and
// ending with status; the mean wall time of a run in seconds.
double MeanRunSeconds(benchmark::State& state, const std::string& devicePorts, int status = 0) {
    tavo::test::TempFolder scratch;
    tavo::test::WriteFile(scratch.File("ports.txt"), devicePorts);
    tavo::test::WriteFile(scratch.File("run.cfg"),
                          "[QUELB]\r\nInitCmds=" + std::string(TAVO_SAMPLES) + "/QUELB_InitCmds.txt\r\n");
    const std::vector<std::string> args = {
        "-c", scratch.File("run.cfg"),       "-p", scratch.File("ports.txt"),
        "-f", scratch.File("fb_[port].txt"), "-i", scratch.File("ci_[port].txt")};
    double seconds = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        auto result =
            tavo::test::RunProgram(TAVO_QUERY_PROGRAM, args, scratch.Path(), scratch.File("err.txt"));
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (result.status != status) state.SkipWithError("the query failed");
    }
    return seconds / static_cast<double>(state.iterations());
}

void BM_QueryRelayControllerAt9600Baud(benchmark::State& state) {
    tavo::test::PortMapFolder map;
    DeviceEmulator device({.pace = kCharTime});
    map.Map(1, device.DevicePath());
    const double seconds = MeanRunSeconds(state, "QUELB,COM1\r\n");
    const double wire = 42 * 28 * std::chrono::duration<double>(kCharTime).count();
    state.counters["wire_ratio"] = seconds / wire;
}
BENCHMARK(BM_QueryRelayControllerAt9600Baud)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// A device port file of many lines naming ports that the map does not hold:
// each line costs only its file checks, a failed open and its line on standard
// error, so the time per line must stay the same however many lines there are.
// No device is read: the run ends with status 2.
void BM_QueryUnmappedDeviceLines(benchmark::State& state) {
    tavo::test::PortMapFolder map;  // holds no port
    const std::int64_t lines = state.range(0);
    std::string ports;
    for (std::int64_t i = 1; i <= lines; ++i) ports += "QUELB,COM" + std::to_string(i) + "\r\n";
    state.counters["us_per_line"] = MeanRunSeconds(state, ports, 2) * 1e6 / static_cast<double>(lines);
}
BENCHMARK(BM_QueryUnmappedDeviceLines)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(4000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
