// The Windows side of the start-up benchmark, run under Wine: starts each
// program RUNS times, alternating between them, and prints the median time
// from starting the process to its first idle moment (its window shown and
// painted, waiting for the learner), the best such time, the median peak
// working set, and each program's ratios to the first, the floor.
//
//   windows_startup_launcher.exe RUNS FLOOR_PROGRAM PROGRAM...
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

    std::printf("%d runs each, medians\n", runs);
    std::printf("%-28s %12s %8s %16s %7s %9s\n", "program", "to idle ms", "best", "peak memory MiB", "time x",
                "memory x");
    double floorMs = 0, floorMiB = 0;
    for (std::size_t p = 0; p < programs.size(); ++p) {
        std::vector<double> times, memory;
        for (const Run &run : results[p]) {
            times.push_back(run.toIdleMs);
            memory.push_back(run.peakMiB);
        }
        const double ms = median(times), mib = median(memory);
        if (p == 0) {
            floorMs = ms;
            floorMiB = mib;
        }
        std::string name = programs[p];
        name = name.substr(name.find_last_of("/\\") + 1);
        std::printf("%-28s %12.1f %8.1f %16.1f %7.2f %9.2f\n", name.c_str(), ms,
                    *std::min_element(times.begin(), times.end()), mib, ms / floorMs, mib / floorMiB);
    }
    return 0;
}
