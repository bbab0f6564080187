// Small timing helpers shared by the benchmarks: every figure is reported
// next to a reference measured in the same run, as a ratio.
#pragma once

#include <sched.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace bench {

// Keeps this process, and the programs it spawns, on the CPU it runs on
// now: the CPUs of a virtual machine change pace independently, and a ratio
// of times taken on two of them measures that.
inline void StayOnThisCpu() {
    const int cpu = sched_getcpu();
    if (cpu < 0) return;
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(cpu, &set);
    sched_setaffinity(0, sizeof set, &set);
}

inline double Seconds(const std::function<void()> &work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The median wall time of `runs` calls, in seconds; one untimed call first
// warms caches.
inline double MedianSeconds(int runs, const std::function<void()> &work) {
    work();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) times.push_back(Seconds(work));
    return Median(times);
}

struct Turns {
    double a, b;   // the median times
    double ratio;  // the median of b / a over the turns
};

// `a` and `b` timed in turns (`prepare` runs untimed before each `b`),
// after one untimed round: the machine's pace, which drifts from one
// second to the next, meets both alike, and each turn's ratio is taken
// within a fraction of a second.
inline Turns TimeInTurns(int runs, const std::function<void()> &a, const std::function<void()> &prepare,
                         const std::function<void()> &b) {
    std::vector<double> timesA, timesB, ratios;
    for (int i = 0; i <= runs; ++i) {
        double ta = Seconds(a);
        prepare();
        double tb = Seconds(b);
        if (i == 0) continue;
        timesA.push_back(ta);
        timesB.push_back(tb);
        ratios.push_back(tb / ta);
    }
    return {Median(timesA), Median(timesB), Median(ratios)};
}

// Runs a host program with its output thrown away; false when it fails.
inline bool RunQuietly(const std::vector<std::string> &argv) {
    // Spawned without copying this process's page tables: a fork of a
    // benchmark holding a large heap would time the fork, and leave the
    // heap's pages to fault on their next write.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    std::vector<char *> args;
    for (const std::string &a : argv) args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid;
    int error = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return false;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

inline std::string Millis(double seconds) {
    char text[32];
    snprintf(text, sizeof text, "%.2f ms", seconds * 1000);
    return text;
}

}  // namespace bench
