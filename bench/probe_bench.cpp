// Wall time of the probe program over four ports with nothing attached (four
// map entries pointing at pseudo-terminals that never answer), run as a user
// runs it. Each port costs four unanswered 300 ms tries for "!", so 4.8 s is
// the floor; "overhead_ms" is the time beyond it per run.

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

#include "tests/support/DeviceEmulator.h"
#include "tests/support/RunProgram.h"

namespace {

using tavo::test::DeviceEmulator;

constexpr double kFloorMs = 4 * 4 * 300.0;

void BM_ProbeFourSilentPorts(benchmark::State& state) {
    tavo::test::PortMapFolder map;
    tavo::test::TempFolder scratch;
    std::vector<std::unique_ptr<DeviceEmulator>> devices;
    for (int n = 1; n <= 4; ++n) {
        devices.push_back(std::make_unique<DeviceEmulator>(tavo::test::EmulatorOptions{.silent = true}));
        map.Map(n, devices.back()->DevicePath());
    }
    double totalMs = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        auto result = tavo::test::RunProgram(TAVO_PROBE_PROGRAM, {"-o" + scratch.File("tavo.txt")},
                                             scratch.Path(), scratch.File("stderr.txt"));
        totalMs +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (result.status != 0) state.SkipWithError("the probe failed");
    }
    state.counters["overhead_ms"] = totalMs / static_cast<double>(state.iterations()) - kFloorMs;
}
BENCHMARK(BM_ProbeFourSilentPorts)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
