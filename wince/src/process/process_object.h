// Processes in the kernel's handle table. A started program is a real host
// process; a thread of it waits for its end so that no zombie is left and
// its exit code is kept for GetExitCodeProcess.
#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "core/handles.h"

namespace wince {

class ProcessObject : public KernelObject {
   public:
    // pid 0 stands for a program the simulator carries out itself: it has
    // ended, with exit code 0, as soon as it is made.
    explicit ProcessObject(pid_t pid);
    pid_t Pid() const { return pid_; }
    // Waits at most timeoutMs of real time (negative: without limit); true
    // when the process has ended.
    bool Wait(long long timeoutMs);
    // STILL_ACTIVE while it runs.
    DWORD ExitCode();
    void Ended(int status);

   private:
    pid_t pid_;
    std::mutex lock_;
    std::condition_variable changed_;
    bool ended_ = false;
    DWORD exitCode_ = 0;
};

// The primary thread of a process: waiting on it waits for the process.
class ThreadObject : public KernelObject {
   public:
    explicit ThreadObject(std::shared_ptr<ProcessObject> process) : process_(std::move(process)) {}
    const std::shared_ptr<ProcessObject> &Process() const { return process_; }

   private:
    std::shared_ptr<ProcessObject> process_;
};

// Starts a host program with extra or removed environment variables (an
// empty value removes one). nullptr with errno set when it cannot start.
// passFd, when not -1, is the program's descriptor passAs.
std::shared_ptr<ProcessObject> SpawnHostProgram(const std::string &program, const std::vector<std::string> &args,
                                                const std::vector<std::pair<std::string, std::string>> &env,
                                                bool searchPath = false, int passFd = -1, int passAs = -1);

}  // namespace wince
