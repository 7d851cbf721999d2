// Wall time of the query utility reading one relay controller through its
// 42-line initialization file at 9600 baud, run as a user runs it, against the
// wire time of those 42 exchanges (each: a 10-character frame and its 10
// echoes, then an 8-character reply, at 1.04 ms a character).

#include <benchmark/benchmark.h>

#include <chrono>

#include "tests/support/DeviceEmulator.h"
#include "tests/support/RunProgram.h"

namespace {

using namespace std::chrono_literals;
using tavo::test::DeviceEmulator;

constexpr auto kCharTime = 1040us;

void BM_QueryRelayControllerAt9600Baud(benchmark::State& state) {
    tavo::test::PortMapFolder map;
    tavo::test::TempFolder scratch;
    DeviceEmulator device({.pace = kCharTime});
    map.Map(1, device.DevicePath());
    tavo::test::WriteFile(scratch.File("ports.txt"), "QUELB,COM1\r\n");
    tavo::test::WriteFile(scratch.File("run.cfg"),
                          "[QUELB]\r\nInitCmds=" + std::string(TAVO_SAMPLES) + "/QUELB_InitCmds.txt\r\n");
    const std::vector<std::string> args = {"-c", scratch.File("run.cfg"), "-p", scratch.File("ports.txt"),
                                           "-f", scratch.File("fb.txt"),  "-i", scratch.File("ci.txt")};
    double seconds = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        auto result =
            tavo::test::RunProgram(TAVO_QUERY_PROGRAM, args, scratch.Path(), scratch.File("err.txt"));
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (result.status != 0) state.SkipWithError("the query failed");
    }
    const double wire = 42 * 28 * std::chrono::duration<double>(kCharTime).count();
    state.counters["wire_ratio"] = seconds / static_cast<double>(state.iterations()) / wire;
}
BENCHMARK(BM_QueryRelayControllerAt9600Baud)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
