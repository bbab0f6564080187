// Small timing helpers shared by the benchmarks: every figure is reported
// next to a reference measured in the same run, as a ratio.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <string>
#include <vector>

namespace bench {

// The median wall time of `runs` calls, in seconds; one untimed call first
// warms caches.
inline double MedianSeconds(int runs, const std::function<void()> &work) {
    work();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The same, with `prepare` run untimed before each timed call.
inline double MedianSecondsAfter(int runs, const std::function<void()> &prepare, const std::function<void()> &work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Runs a host program with its output thrown away; false when it fails.
inline bool RunQuietly(const std::vector<std::string> &argv) {
    pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        int null = open("/dev/null", O_WRONLY);
        if (null >= 0) dup2(null, STDOUT_FILENO), dup2(null, STDERR_FILENO);
        std::vector<char *> args;
        for (const std::string &a : argv) args.push_back(const_cast<char *>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
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
