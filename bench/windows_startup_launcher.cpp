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
// With BENCH_SUMMARY set to a file, the last program's two ratios are added
// to it, one tab-separated line each, for the table that closes `make bench`.
#include <windows.h>

#include <psapi.h> // needs windows.h first

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
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
    std::printf("%-28s %12s %8s %16s %17s %17s\n", "program", "to idle ms", "best", "peak memory MiB",
                "time x", "memory x");
    Spread time{}, memory{};
    for (std::size_t p = 0; p < programs.size(); ++p) {
        std::vector<double> times, peaks, timeRatio, memoryRatio;
        for (std::size_t i = 0; i < results[p].size(); ++i) {
            const Run &run = results[p][i], &floor = results.front()[i];
            times.push_back(run.toIdleMs);
            peaks.push_back(run.peakMiB);
            timeRatio.push_back(run.toIdleMs / floor.toIdleMs);
            memoryRatio.push_back(run.peakMiB / floor.peakMiB);
        }
        time = spreadOf(timeRatio);
        memory = spreadOf(memoryRatio);
        char timeText[32], memoryText[32];
        std::snprintf(timeText, sizeof timeText, "%.2f (%.2f-%.2f)", time.median, time.min, time.max);
        std::snprintf(memoryText, sizeof memoryText, "%.2f (%.2f-%.2f)", memory.median, memory.min,
                      memory.max);
        std::string name = programs[p];
        name = name.substr(name.find_last_of("/\\") + 1);
        std::printf("%-28s %12.1f %8.1f %16.1f %17s %17s\n", name.c_str(), median(times),
                    *std::min_element(times.begin(), times.end()), median(peaks), timeText, memoryText);
    }
    if (const char *file = std::getenv("BENCH_SUMMARY")) {
        if (FILE *summary = std::fopen(file, "a")) {
            std::fprintf(summary, "Win32, Wine\tto idle\t%.2f\t%.2f\t%.2f\t1.25\n", time.median, time.min,
                         time.max);
            std::fprintf(summary, "Win32, Wine\tpeak memory\t%.2f\t%.2f\t%.2f\t1.15\n", memory.median,
                         memory.min, memory.max);
            std::fclose(summary);
        }
    }
    return 0;
}
