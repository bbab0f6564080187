#include "process_object.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

extern char **environ;

namespace wince {

ProcessObject::ProcessObject(pid_t pid) : pid_(pid), ended_(pid == 0) {}

bool ProcessObject::Wait(long long timeoutMs) {
    std::unique_lock<std::mutex> guard(lock_);
    if (timeoutMs < 0) {
        changed_.wait(guard, [this] { return ended_; });
        return true;
    }
    return changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs), [this] { return ended_; });
}

DWORD ProcessObject::ExitCode() {
    std::lock_guard<std::mutex> guard(lock_);
    return ended_ ? exitCode_ : STILL_ACTIVE;
}

void ProcessObject::Ended(int status) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        ended_ = true;
        if (WIFEXITED(status)) exitCode_ = static_cast<DWORD>(WEXITSTATUS(status));
        else if (WIFSIGNALED(status)) exitCode_ = static_cast<DWORD>(128 + WTERMSIG(status));
    }
    changed_.notify_all();
}

std::shared_ptr<ProcessObject> SpawnHostProgram(const std::string &program, const std::vector<std::string> &args,
                                                const std::vector<std::pair<std::string, std::string>> &env,
                                                bool searchPath, int passFd, int passAs) {
    std::vector<std::string> environment;
    for (char **e = environ; e && *e; ++e) {
        std::string entry = *e;
        bool replaced = false;
        for (const auto &[name, value] : env)
            if (entry.compare(0, name.size() + 1, name + "=") == 0) replaced = true;
        if (!replaced) environment.push_back(entry);
    }
    for (const auto &[name, value] : env)
        if (!value.empty()) environment.push_back(name + "=" + value);
    std::vector<char *> envp, argv;
    for (std::string &e : environment) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> argCopy = args;
    argCopy.insert(argCopy.begin(), program);
    for (std::string &a : argCopy) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (passFd >= 0 && passAs >= 0) posix_spawn_file_actions_adddup2(&actions, passFd, passAs);
    pid_t pid = 0;
    int error = searchPath ? posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data())
                           : posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        errno = error;
        return nullptr;
    }
    auto process = std::make_shared<ProcessObject>(pid);
    std::thread([process, pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        process->Ended(status);
    }).detach();
    return process;
}

}  // namespace wince

using namespace wince;

DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    std::shared_ptr<ProcessObject> process = LookupHandleAs<ProcessObject>(hHandle);
    if (!process)
        if (auto thread = LookupHandleAs<ThreadObject>(hHandle)) process = thread->Process();
    if (!process) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    long long timeout = dwMilliseconds == INFINITE ? -1 : static_cast<long long>(dwMilliseconds);
    return process->Wait(timeout) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

BOOL WINAPI GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode) {
    std::shared_ptr<ProcessObject> process = LookupHandleAs<ProcessObject>(hProcess);
    if (!process || !lpExitCode) {
        SetLastError(process ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    *lpExitCode = process->ExitCode();
    return TRUE;
}

DWORD WINAPI GetCurrentProcessId(void) { return static_cast<DWORD>(getpid()); }
