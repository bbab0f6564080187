#include "trace_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>

#include "trace.h"

namespace wince {
namespace {

struct TraceState {
    std::mutex lock;
    std::string path;
    int fd = -1;
    std::string lastAction;
};

TraceState &State() {
    static auto *state = new TraceState;
    return *state;
}

// Opens the file WINCE_TRACE names now; -1 when there is none.
int TraceFd(TraceState &s) {
    const char *env = getenv("WINCE_TRACE");
    std::string wanted = env ? env : "";
    if (wanted != s.path) {
        if (s.fd >= 0) close(s.fd);
        s.fd = -1;
        s.path = wanted;
        if (!wanted.empty()) s.fd = open(wanted.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    }
    return s.fd;
}

}  // namespace

void WriteTraceLine(const std::string &json) {
    TraceState &s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    int fd = TraceFd(s);
    if (fd < 0) return;
    std::string line = json + "\n";
    size_t done = 0;
    while (done < line.size()) {
        ssize_t n = write(fd, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<size_t>(n);
    }
}

void SetLastTracedAction(std::string sentence) {
    TraceState &s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    s.lastAction = std::move(sentence);
}

std::string LastTracedAction() {
    TraceState &s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    return s.lastAction;
}

}  // namespace wince
