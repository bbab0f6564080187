#include "handover.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <csignal>
#include <sstream>

#include "script_runner.h"
#include "window/clock.h"
#include "window/message_queue.h"
#include "window/window.h"

namespace wince {

int ChildLink::ClaimSeconds() {
    const char *text = getenv("WINCE_SCRIPT_CLAIM_SECONDS");
    char *end = nullptr;
    long seconds = text ? strtol(text, &end, 10) : 0;
    return text && *text && !*end && seconds > 0 && seconds <= 3600 ? static_cast<int>(seconds) : 30;
}

ChildLink::ChildLink(int fd, int pid) : fd_(fd), pid_(pid) {
    AddWaitSource(fd_, [this] { OnReadable(); });
    timerFd_ = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (timerFd_ < 0) return;
    itimerspec limit{};
    limit.it_value.tv_sec = ClaimSeconds();
    timerfd_settime(timerFd_, 0, &limit, nullptr);
    AddWaitSource(timerFd_, [this] {
        uint64_t expirations;
        [[maybe_unused]] ssize_t n = read(timerFd_, &expirations, sizeof expirations);
        timedOut_ = true;
        StopTimer();
    });
}

ChildLink::~ChildLink() {
    StopTimer();
    if (fd_ < 0) return;
    RemoveWaitSource(fd_);
    close(fd_);
}

void ChildLink::StopTimer() {
    if (timerFd_ < 0) return;
    RemoveWaitSource(timerFd_);
    close(timerFd_);
    timerFd_ = -1;
}

void ChildLink::Terminate() {
    if (!ended_ && pid_ > 0) kill(pid_, SIGTERM);
    for (int pid : alsoBehind_) kill(pid, SIGTERM);
}

std::vector<int> ChildLink::Programs() const {
    std::vector<int> pids{pid_};
    pids.insert(pids.end(), alsoBehind_.begin(), alsoBehind_.end());
    return pids;
}

void ChildLink::OnReadable() {
    char data[512];
    for (;;) {
        ssize_t n = recv(fd_, data, sizeof data, MSG_DONTWAIT);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return;  // nothing more now
        if (n == 0) break;  // the program has ended
        buffer_.append(data, static_cast<size_t>(n));
        for (size_t end; (end = buffer_.find('\n')) != std::string::npos;) {
            Parse(buffer_.substr(0, end));
            buffer_.erase(0, end + 1);
        }
    }
    RemoveWaitSource(fd_);
    close(fd_);
    fd_ = -1;
    ended_ = true;
}

void ChildLink::Parse(const std::string &line) {
    if (line == "claim") {
        claimed_ = true;
        StopTimer();
        return;
    }
    std::istringstream words(line);
    std::string verb;
    unsigned long long next = 0, clock = 0;
    words >> verb >> next >> clock;
    if (verb == "back" && words) {
        for (int pid; words >> pid;)
            if (pid > 0) alsoBehind_.push_back(pid);
        next_ = static_cast<size_t>(next);
        clock_ = clock;
        behind_ = true;
        StopTimer();
        return;
    }
    words >> status_;
    if (verb != "stop" || !words) return;
    std::getline(words >> std::ws, message_);
    next_ = static_cast<size_t>(next);
    clock_ = clock;
    reported_ = true;
}

namespace {

HandoverDriver *driver = nullptr;
bool offeredToDriver = false;

// The socket pair the started program reports on; false, with no
// descriptor left open, when it cannot be made.
bool OpenReportLink(ScriptOffer &offer) {
    int fds[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) return false;
    // Above the descriptor the program gets it as, so that passing it never clobbers it.
    offer.childFd = fcntl(fds[1], F_DUPFD_CLOEXEC, kScriptReportFd + 1);
    close(fds[1]);
    offer.parentFd = fds[0];
    if (offer.childFd >= 0) return true;
    close(offer.parentFd);
    offer.parentFd = -1;
    return false;
}

}  // namespace

void SetHandoverDriver(HandoverDriver *d) { driver = d; }

ScriptOffer OfferScript() {
    ScriptOffer offer;
    offer.env = {{"WINCE_SCRIPT", ""},      {"WINCE_SCRIPT_APPENDED", ""}, {"WINCE_SCRIPT_NEXT", ""},
                 {"WINCE_SCRIPT_CLOCK", ""}, {"WINCE_SCRIPT_REPORT", ""},   {"WINCE_MONKEY", ""}};
    offeredToDriver = false;
    ScriptRunner *runner = ScriptRunner::Active();
    // One program at a time holds the script.
    std::vector<std::pair<std::string, std::string>> driverEnv;
    if (!runner && driver && driver->Offer(driverEnv)) {
        if (!OpenReportLink(offer)) return offer;
        offer.env.insert(offer.env.end(), driverEnv.begin(), driverEnv.end());
        offer.env.push_back({"WINCE_SCRIPT_REPORT", std::to_string(kScriptReportFd)});
        offeredToDriver = true;
        return offer;
    }
    if (!runner || runner->Finished() || runner->HasStartedProgram() || !OpenReportLink(offer)) return offer;
    offer.env = {{"WINCE_SCRIPT", runner->File()},
                 {"WINCE_SCRIPT_APPENDED", runner->Appended()},
                 {"WINCE_SCRIPT_NEXT", std::to_string(runner->Next())},
                 {"WINCE_SCRIPT_CLOCK", std::to_string(Clock::Now())},
                 {"WINCE_SCRIPT_REPORT", std::to_string(kScriptReportFd)}};
    return offer;
}

void ConcludeOffer(ScriptOffer &offer, int pid, std::shared_ptr<ProcessObject> process) {
    bool started = pid > 0;
    if (offer.childFd >= 0) close(offer.childFd);
    offer.childFd = -1;
    if (offer.parentFd < 0) return;
    ScriptRunner *runner = ScriptRunner::Active();
    if (started && offeredToDriver && driver)
        driver->Waiting(std::make_unique<ChildLink>(offer.parentFd, pid), std::move(process));
    else if (started && runner && !offeredToDriver) runner->Waiting(std::make_unique<ChildLink>(offer.parentFd, pid));
    else close(offer.parentFd);
    offeredToDriver = false;
    offer.parentFd = -1;
}

bool ProgramShowsAWindow() {
    for (Window *w : TopLevelWindows())
        if (w->Visible()) return true;
    return false;
}

void ReportLine(int fd, const std::string &line) {
    std::string text = line;
    for (char &c : text)
        if (c == '\n' || c == '\r') c = ' ';
    text += '\n';
    size_t done = 0;
    while (done < text.size()) {
        // The starting process may be gone: no SIGPIPE for that.
        ssize_t n = send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<size_t>(n);
    }
}

}  // namespace wince
