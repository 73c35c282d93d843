// The Windows side of the start-up benchmark, run under Wine: starts each
// program RUNS times, alternating between them, and prints the median time
// from starting the process to its first idle moment (its window shown and
// painted, waiting for the learner), the best such time, the median peak
// working set, and each program's ratios to the first, the floor: taken
// round by round, against the floor's run just before, and given as the
// median, smallest and largest.
//
//   windows_startup_launcher.exe RUNS FLOOR_PROGRAM PROGRAM...
//
// With three programs or more, the second is a second floor (the window with
// plain controls), and each program after it is also given its ratios to
// that one.
//
// With BENCH_SUMMARY set to a file, the last program's two ratios to the
// first floor are added to it, one tab-separated line each, for the table
// that closes `make bench`, named BENCH_NAME ("Win32, Wine" unless told).
#include <windows.h>

#include <psapi.h> // needs windows.h first

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

struct Run {
    double toIdleMs;
    double peakMiB;
};

double nowMs()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

Run runOnce(const char *program)
{
    std::string commandLine = std::string("\"") + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const double start = nowMs();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "cannot start %s\n", program);
        std::exit(1);
    }
    if (WaitForInputIdle(process.hProcess, 30000) != 0) {
        std::fprintf(stderr, "%s did not become idle\n", program);
        std::exit(1);
    }
    const double idle = nowMs();
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(process.hProcess, &memory, sizeof(memory));
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return {idle - start, static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0)};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Spread {
    double median, min, max;
};

Spread spreadOf(const std::vector<double> &values)
{
    const auto [min, max] = std::minmax_element(values.begin(), values.end());
    return {median(values), *min, *max};
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s RUNS FLOOR_PROGRAM PROGRAM...\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    const std::vector<const char *> programs(argv + 2, argv + argc);
    // One unmeasured round brings the programs into the caches.
    for (const char *program : programs)
        runOnce(program);

    std::vector<std::vector<Run>> results(programs.size());
    for (int i = 0; i < runs; ++i)
        for (std::size_t p = 0; p < programs.size(); ++p)
            results[p].push_back(runOnce(programs[p]));

    std::printf("%d runs each, medians; ratios round by round: median (min-max)\n", runs);
    const bool twoFloors = programs.size() >= 3;
    std::printf("%-28s %12s %8s %16s %17s %17s%s\n", "program", "to idle ms", "best", "peak memory MiB",
                "time x", "memory x", twoFloors ? "    time x controls  memory x controls" : "");
    Spread time{}, memory{};
    for (std::size_t p = 0; p < programs.size(); ++p) {
        const auto ratios = [&](std::size_t floorIndex) {
            std::vector<double> timeRatio, memoryRatio;
            for (std::size_t i = 0; i < results[p].size(); ++i) {
                const Run &run = results[p][i], &floor = results[floorIndex][i];
                timeRatio.push_back(run.toIdleMs / floor.toIdleMs);
                memoryRatio.push_back(run.peakMiB / floor.peakMiB);
            }
            return std::pair{spreadOf(timeRatio), spreadOf(memoryRatio)};
        };
        const auto text = [](const Spread &spread) {
            char out[32];
            std::snprintf(out, sizeof out, "%.2f (%.2f-%.2f)", spread.median, spread.min, spread.max);
            return std::string(out);
        };
        std::vector<double> times, peaks;
        for (const Run &run : results[p]) {
            times.push_back(run.toIdleMs);
            peaks.push_back(run.peakMiB);
        }
        std::tie(time, memory) = ratios(0);
        std::string beyondControls;
        if (twoFloors && p >= 2) {
            const auto [controlsTime, controlsMemory] = ratios(1);
            beyondControls = " " + text(controlsTime) + "  " + text(controlsMemory);
        }
        std::string name = programs[p];
        name = name.substr(name.find_last_of("/\\") + 1);
        std::printf("%-28s %12.1f %8.1f %16.1f %17s %17s %s\n", name.c_str(), median(times),
                    *std::min_element(times.begin(), times.end()), median(peaks), text(time).c_str(),
                    text(memory).c_str(), beyondControls.c_str());
    }
    if (const char *file = std::getenv("BENCH_SUMMARY")) {
        const char *given = std::getenv("BENCH_NAME");
        const char *name = given ? given : "Win32, Wine";
        if (FILE *summary = std::fopen(file, "a")) {
            std::fprintf(summary, "%s\tto idle\t%.2f\t%.2f\t%.2f\t1.25\n", name, time.median, time.min,
                         time.max);
            std::fprintf(summary, "%s\tpeak memory\t%.2f\t%.2f\t%.2f\t1.15\n", name, memory.median,
                         memory.min, memory.max);
            std::fclose(summary);
        }
    }
    return 0;
}
