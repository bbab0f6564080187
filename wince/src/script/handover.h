// Handing a script to a program started during it. The starting process
// passes the script's source, the next line, its clock and one end of a
// socket pair in the environment; the started program says "claim" when it
// shows its first window and, when it ends, where it stopped:
//   claim
//   stop NEXT CLOCK ok|end|fail [MESSAGE]
// Until then the starting process carries out no line; it goes on from NEXT
// at CLOCK, so the run stays the same from one run to the next.
// A program that brings the Today screen to the front goes on running
// behind it, and the lines that follow are the Today screen's:
//   back NEXT CLOCK [PID...]
// The PIDs are the programs that went behind with it (those it started),
// which end with it when the script ends; a program between it and the
// Today host passes the line on, adding its own.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace wince {

class ProcessObject;

// The descriptor a started program reports on.
constexpr int kScriptReportFd = 9;

// The starting side's end of the link.
class ChildLink {
   public:
    // How long, in real time, a started program may run without a window
    // before the run gives up on it (a program that never shows one and
    // never ends would otherwise hold the script for ever): 30 seconds, or
    // WINCE_SCRIPT_CLAIM_SECONDS for a slow machine.
    static int ClaimSeconds();

    ChildLink(int fd, int pid);
    ~ChildLink();
    ChildLink(const ChildLink &) = delete;
    ChildLink &operator=(const ChildLink &) = delete;

    bool Claimed() const { return claimed_; }
    bool TimedOut() const { return timedOut_; }
    // Ends the program, and those that went behind with it: the script it
    // was to take has ended.
    void Terminate();
    // The program has ended (its end of the link is closed).
    bool Ended() const { return ended_; }
    // It went behind the Today screen and handed the script back from
    // Next() at Clock().
    bool Behind() const { return behind_; }
    // This program and those that went behind with it.
    std::vector<int> Programs() const;
    // Its report, valid once it ended with one.
    bool Reported() const { return reported_; }
    size_t Next() const { return next_; }
    uint64_t Clock() const { return clock_; }
    const std::string &Status() const { return status_; }
    const std::string &Message() const { return message_; }

   private:
    void OnReadable();
    void Parse(const std::string &line);
    void StopTimer();
    int fd_;
    int pid_;
    int timerFd_ = -1;
    bool timedOut_ = false;
    std::string buffer_;
    bool claimed_ = false, ended_ = false, reported_ = false, behind_ = false;
    std::vector<int> alsoBehind_;
    size_t next_ = 0;
    uint64_t clock_ = 0;
    std::string status_, message_;
};

// Another driver of the programs (the monkey of pelloran-sim) hands itself
// to a program started meanwhile the same way: the program reports on the
// same descriptor ("claim", then "stop STEP CLOCK ok|fail [MESSAGE]").
class HandoverDriver {
   public:
    virtual ~HandoverDriver() = default;
    // The environment a program started now gets; false: it is not driven.
    virtual bool Offer(std::vector<std::pair<std::string, std::string>> &env) = 0;
    // The program started: its link, until it reports back, and the program
    // itself, for how it ended.
    virtual void Waiting(std::unique_ptr<ChildLink> child, std::shared_ptr<ProcessObject> process) = 0;
};
// Null removes it. A running script comes first.
void SetHandoverDriver(HandoverDriver *driver);

// What a program started now gets: the environment (empty values remove a
// variable, so a program started without the script never sees one) and,
// when it takes the script, the descriptor to pass it.
struct ScriptOffer {
    std::vector<std::pair<std::string, std::string>> env;
    int childFd = -1;
    int parentFd = -1;
};
ScriptOffer OfferScript();
// After the start: the runner waits for the program when it started.
// After the start (pid 0 when it failed): the runner waits for the program.
void ConcludeOffer(ScriptOffer &offer, int pid, std::shared_ptr<ProcessObject> process = nullptr);

// The started program's side: one line on the descriptor.
void ReportLine(int fd, const std::string &line);
// The started program's side: whether it shows a window yet; a program's
// script (or monkey) is its own from its first window on.
bool ProgramShowsAWindow();

}  // namespace wince
