// Starts each probe program RUNS times, alternating between them, and prints
// the median time from exec to the first painted frame (and the best one, as
// a small shared machine adds noise only upwards), the median time to exit,
// the median peak resident memory, and each probe's ratios of medians to the
// first probe, the floor.
//
//   startup_launcher RUNS FLOOR_PROBE PROBE...
//
// Time starts just before fork; the probe prints the monotonic clock once its
// first frame is done. Peak memory is ru_maxrss of the child, from wait4.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

struct Run {
    double toFirstFrameMs;
    double toExitMs;
    double peakRssMiB;
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
    char buffer[64];
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
    const long long firstFrame = std::atoll(printed.c_str());
    return {(firstFrame - start) / 1e6, (end - start) / 1e6, usage.ru_maxrss / 1024.0};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Summary {
    std::string name;
    double toFirstFrameMs, bestFirstFrameMs, toExitMs, peakRssMiB;
};

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s RUNS FLOOR_PROBE PROBE...\n", argv[0]);
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

    std::vector<Summary> summaries;
    for (std::size_t p = 0; p < probes.size(); ++p) {
        std::vector<double> frame, exit, rss;
        for (const Run &run : results[p]) {
            frame.push_back(run.toFirstFrameMs);
            exit.push_back(run.toExitMs);
            rss.push_back(run.peakRssMiB);
        }
        std::string name = probes[p];
        name = name.substr(name.find_last_of('/') + 1);
        summaries.push_back(
            {name, median(frame), *std::min_element(frame.begin(), frame.end()), median(exit), median(rss)});
    }

    std::printf("%d runs each, medians\n", runs);
    std::printf("%-24s %15s %8s %8s %13s %7s %9s\n", "probe", "first frame ms", "best", "exit ms",
                "peak RSS MiB", "time x", "memory x");
    const Summary &floor = summaries.front();
    for (const Summary &s : summaries)
        std::printf("%-24s %15.1f %8.1f %8.1f %13.1f %7.2f %9.2f\n", s.name.c_str(), s.toFirstFrameMs,
                    s.bestFirstFrameMs, s.toExitMs, s.peakRssMiB, s.toFirstFrameMs / floor.toFirstFrameMs,
                    s.peakRssMiB / floor.peakRssMiB);
    return 0;
}
