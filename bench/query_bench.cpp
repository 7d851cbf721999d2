// Wall time of the query utility, run as a user runs it: reading one relay
// controller through its 42-line initialization file at 9600 baud, against the
// wire time of those 42 exchanges (each: a 10-character frame and its 10
// echoes, then an 8-character reply, at 1.04 ms a character); the same read
// while the device sends monitor messages or pauses, counting the lines it
// left unanswered or answered with a word it did not give; a hundred lines on
// which random bytes come, counting those taken for devices; and going
// through long device port files, against their length.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/DeviceEmulator.h"
#include "tests/support/RunProgram.h"

namespace {

using namespace std::chrono_literals;
using tavo::test::DeviceEmulator;
using tavo::test::EmulatorOptions;

constexpr auto kCharTime = 1040us;

// Counts what the runs wrote: feedback files, and in them the lines without a
// reply and those holding a monitor message.
struct RunOutputs {
    int feedbackFiles = 0;
    int unanswered = 0;
    int foreignWords = 0;
};

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++n;
    return n;
}

// Runs the query once an iteration over a device port file of the given text,
// every device reading the sample relay controller's initialization file, and
// ending with status; the mean wall time of a run in seconds. With outputs,
// what each run wrote is added up there.
double MeanRunSeconds(benchmark::State& state, const std::string& devicePorts, int status = 0,
                      RunOutputs* outputs = nullptr) {
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
        if (!outputs) continue;
        for (const auto& entry : std::filesystem::directory_iterator(scratch.Path())) {
            const std::string name = entry.path().filename().string();
            if (!name.starts_with("fb_")) continue;
            const std::string feedback = tavo::test::ReadFile(entry.path().string());
            ++outputs->feedbackFiles;
            outputs->unanswered += static_cast<int>(Count(feedback, "No response from device."));
            outputs->foreignWords += static_cast<int>(Count(feedback, "$"));
            std::filesystem::remove(entry.path());
        }
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

// The relay controller at 9600 baud that sends besides its replies: a monitor
// message once, as the run reaches a given character (the 50th comes about
// 0.15 s into it), one every 32 characters (about every 100 ms), one before
// every reply, or a pause of 1.25 s.
void BM_QueryRelayControllerUnderBursts(benchmark::State& state) {
    std::vector<std::pair<int, std::string>> monitorMode;
    for (int n = 32; n <= 420; n += 32) monitorMode.emplace_back(n, "$0A1F+");
    const EmulatorOptions cases[] = {
        {.pace = kCharTime, .unasked = {{50, "$0A1F+"}}},
        {.pace = kCharTime, .unasked = {{120, "$0CC0zz0004+"}}},
        {.pace = kCharTime, .unasked = {{205, "$0A1F+"}}},
        {.pace = kCharTime, .pauseAfter = 50, .pauseFor = 1250ms},
        {.pace = kCharTime, .unasked = monitorMode},
        {.noiseBeforeReply = "$0A1F+", .pace = kCharTime},
    };
    tavo::test::PortMapFolder map;
    DeviceEmulator device(cases[state.range(0)]);
    map.Map(1, device.DevicePath());
    RunOutputs outputs;
    MeanRunSeconds(state, "QUELB,COM1\r\n", 0, &outputs);
    const auto runs = static_cast<double>(state.iterations());
    state.counters["unanswered_of_42"] = outputs.unanswered / runs;
    state.counters["foreign_words"] = outputs.foreignWords / runs;
}
BENCHMARK(BM_QueryRelayControllerUnderBursts)
    ->DenseRange(0, 5)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

// A hundred listed ports on which random bytes come at 9600 baud and nothing
// is echoed: none of them may pass for a device and get a feedback file.
void BM_QueryBabblingLines(benchmark::State& state) {
    tavo::test::PortMapFolder map;
    std::vector<std::unique_ptr<DeviceEmulator>> lines;
    std::string ports;
    for (unsigned n = 1; n <= 100; ++n) {
        lines.push_back(std::make_unique<DeviceEmulator>(
            EmulatorOptions{.silent = true, .pace = kCharTime, .streams = tavo::test::RandomBytes(65536, n)}));
        map.Map(static_cast<int>(n), lines.back()->DevicePath());
        ports += "QUELB,COM" + std::to_string(n) + "\r\n";
    }
    RunOutputs outputs;
    state.counters["s_per_port"] = MeanRunSeconds(state, ports, 2, &outputs) / 100;
    state.counters["taken_for_devices"] = outputs.feedbackFiles;
}
BENCHMARK(BM_QueryBabblingLines)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

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
