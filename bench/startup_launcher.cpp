// Starts each probe program RUNS times, alternating between them, and prints
// for each the median time from exec to the first painted frame (with the
// best and the worst), the median time to exit, the median peak resident
// memory, and its ratios to the first probe, the reference: each ratio is
// taken round by round, against the reference's run just before it, and
// given as the median, smallest and largest. Then the median time of each
// phase of start-up the probes mark.
//
//   startup_launcher RUNS REFERENCE_PROBE PROBE...
//
// Time starts just before fork; the probe prints the monotonic clock once its
// first frame is done, then the clock at each phase's end, one "name<TAB>ns"
// a line. Peak memory is ru_maxrss of the child, from wait4.
//
// With BENCH_SUMMARY set to a file, the last probe's two ratios are added to
// it, one tab-separated line each, labelled BENCH_LABEL, for the table that
// closes `make bench`.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Run {
    double toFirstFrameMs;
    double toExitMs;
    double peakRssMiB;
    std::vector<std::pair<std::string, double>> phaseMs; // each phase's own time, in order
};

long long monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

[[noreturn]] void die(const std::string &what)
{
    std::perror(what.c_str());
    std::exit(1);
}

// The phases from the probe's marks, each from the mark before (the first
// from the fork), and the last from the final mark to the finished frame.
std::vector<std::pair<std::string, double>> phasesFrom(std::istringstream &printed, long long start,
                                                       long long frameDone)
{
    std::vector<std::pair<std::string, double>> phases;
    long long previous = start;
    for (std::string line; std::getline(printed, line);) {
        const std::size_t tab = line.rfind('\t');
        if (tab == std::string::npos)
            continue;
        const long long at = std::atoll(line.c_str() + tab + 1);
        phases.emplace_back(line.substr(0, tab), (at - previous) / 1e6);
        previous = at;
    }
    if (!phases.empty())
        phases.emplace_back("first frame painted and sent", (frameDone - previous) / 1e6);
    return phases;
}

Run runOnce(const char *program)
{
    int out[2];
    if (pipe(out) != 0)
        die("pipe");
    const long long start = monotonicNs();
    const pid_t child = fork();
    if (child < 0)
        die("fork");
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        const int devNull = open("/dev/null", O_WRONLY); // Qt's notes on a bare test machine
        dup2(devNull, STDERR_FILENO);
        execl(program, program, static_cast<char *>(nullptr));
        _exit(127);
    }
    close(out[1]);
    std::string printed;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        printed.append(buffer, static_cast<std::size_t>(n));
    close(out[0]);

    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child)
        die("wait4");
    const long long end = monotonicNs();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || printed.empty()) {
        std::fprintf(stderr, "%s did not paint its first frame and exit cleanly\n", program);
        std::exit(1);
    }
    std::istringstream lines(printed);
    std::string first;
    std::getline(lines, first);
    const long long firstFrame = std::atoll(first.c_str());
    return {(firstFrame - start) / 1e6, (end - start) / 1e6, usage.ru_maxrss / 1024.0,
            phasesFrom(lines, start, firstFrame)};
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

std::string nameOf(const char *probe)
{
    const std::string path = probe;
    return path.substr(path.find_last_of('/') + 1);
}

// Each phase's median time, a row per phase and a column per probe that
// marks its phases.
void printPhases(const std::vector<const char *> &probes, const std::vector<std::vector<Run>> &results)
{
    // In the order the last probe, the program, passes them; it has them all.
    std::vector<std::string> phases;
    for (auto runs = results.rbegin(); runs != results.rend(); ++runs)
        for (const auto &[phase, ms] : runs->front().phaseMs)
            if (std::find(phases.begin(), phases.end(), phase) == phases.end())
                phases.push_back(phase);
    if (phases.empty())
        return;
    std::printf("\nEach phase of start-up, ms, medians\n%-32s", "phase");
    for (const char *probe : probes)
        std::printf(" %24s", nameOf(probe).c_str());
    std::printf("\n");
    for (const std::string &phase : phases) {
        std::printf("%-32s", phase.c_str());
        for (const auto &runs : results) {
            std::vector<double> times;
            for (const Run &run : runs)
                for (const auto &[name, ms] : run.phaseMs)
                    if (name == phase)
                        times.push_back(ms);
            if (times.empty())
                std::printf(" %24s", "-");
            else
                std::printf(" %24.1f", median(times));
        }
        std::printf("\n");
    }
}

void addToSummary(const Spread &time, const Spread &memory)
{
    const char *file = std::getenv("BENCH_SUMMARY");
    if (!file)
        return;
    FILE *summary = std::fopen(file, "a");
    if (!summary)
        die(file);
    const char *label = std::getenv("BENCH_LABEL");
    label = label ? label : "start-up";
    std::fprintf(summary, "%s\tfirst frame\t%.2f\t%.2f\t%.2f\t1.25\n", label, time.median, time.min,
                 time.max);
    std::fprintf(summary, "%s\tpeak memory\t%.2f\t%.2f\t%.2f\t1.15\n", label, memory.median, memory.min,
                 memory.max);
    std::fclose(summary);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s RUNS REFERENCE_PROBE PROBE...\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    const std::vector<const char *> probes(argv + 2, argv + argc);

    // Two unmeasured rounds bring the programs and their libraries into the
    // page cache, as they are when a learner starts the program a second time.
    for (int warm = 0; warm < 2; ++warm)
        for (const char *probe : probes)
            runOnce(probe);

    std::vector<std::vector<Run>> results(probes.size());
    for (int i = 0; i < runs; ++i)
        for (std::size_t p = 0; p < probes.size(); ++p)
            results[p].push_back(runOnce(probes[p]));

    std::printf("%d runs each, medians; ratios to %s, round by round: median (min-max)\n", runs,
                nameOf(probes.front()).c_str());
    std::printf("%-24s %15s %15s %8s %13s %17s %17s\n", "probe", "first frame ms", "best-worst", "exit ms",
                "peak RSS MiB", "time x", "memory x");
    Spread time{}, memory{};
    for (std::size_t p = 0; p < probes.size(); ++p) {
        std::vector<double> frame, exit, rss, timeRatio, memoryRatio;
        for (std::size_t i = 0; i < results[p].size(); ++i) {
            const Run &run = results[p][i], &reference = results.front()[i];
            frame.push_back(run.toFirstFrameMs);
            exit.push_back(run.toExitMs);
            rss.push_back(run.peakRssMiB);
            timeRatio.push_back(run.toFirstFrameMs / reference.toFirstFrameMs);
            memoryRatio.push_back(run.peakRssMiB / reference.peakRssMiB);
        }
        const Spread f = spreadOf(frame);
        time = spreadOf(timeRatio);
        memory = spreadOf(memoryRatio);
        char range[32], timeText[32], memoryText[32];
        std::snprintf(range, sizeof range, "%.1f-%.1f", f.min, f.max);
        std::snprintf(timeText, sizeof timeText, "%.2f (%.2f-%.2f)", time.median, time.min, time.max);
        std::snprintf(memoryText, sizeof memoryText, "%.2f (%.2f-%.2f)", memory.median, memory.min,
                      memory.max);
        std::printf("%-24s %15.1f %15s %8.1f %13.1f %17s %17s\n", nameOf(probes[p]).c_str(), f.median, range,
                    median(exit), median(rss), timeText, memoryText);
    }
    printPhases(probes, results);
    addToSummary(time, memory);
    return 0;
}
