// Runs a script of user actions against the running programs: one command
// a line, each carried out when the programs have nothing left to do, so
// that modal loops are driven exactly as a user drives them.
//
// A program that this one starts on the device while the script runs takes
// the script over from its first window until it ends (script/handover.h);
// meanwhile the runner here only waits, and then goes on where that program
// stopped.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace wince {

class ChildLink;

class ScriptRunner {
   public:
    ScriptRunner();
    ~ScriptRunner();
    ScriptRunner(const ScriptRunner &) = delete;
    ScriptRunner &operator=(const ScriptRunner &) = delete;

    // Parses the script; false with a message naming the line on bad syntax.
    bool Load(const std::string &text, const std::string &name, std::string &error);
    // Where the text came from, so that a started program can read the
    // same lines: the file (empty when there is none) and the text added
    // after it (a final screenshot).
    void SetSource(const std::string &file, const std::string &appended);
    // Installs the runner as the idle driver of the message loops, starting
    // at the given line (an index into the parsed lines).
    void Start(size_t next = 0);
    // The run ends when the program handed the script ends (pelloran-sim
    // run): this process has nothing of its own to drive.
    void EndWithStartedProgram() { endWithChild_ = true; }
    // A started program takes lines from here on: before it reports back,
    // this runner carries out nothing.
    void Waiting(std::unique_ptr<ChildLink> child);
    bool HasStartedProgram() const { return child_ != nullptr; }
    // This process was started with the script by another: it takes the
    // lines over once it shows a window, and tells that process through
    // the descriptor (its claim, and at exit where it stopped).
    void ServeParent(int reportFd) { reportFd_ = reportFd; }
    // The first line waits for the program's first window.
    void WaitForWindow() { waitForWindow_ = true; }
    // Written at the program's exit: where the script stopped.
    void ReportToParent();
    // This program brought the Today screen to the front: a program started
    // with the script hands it back and carries out no more lines.
    void WentBehind();

    bool Failed() const { return failed_; }
    bool Finished() const { return finished_; }
    const std::string &Error() const { return error_; }
    size_t Next() const { return next_; }
    size_t LineCount() const { return lines_.size(); }
    const std::string &File() const { return file_; }
    const std::string &Appended() const { return appended_; }
    // Ends the run with a message that already names its line.
    void FailWith(const std::string &message);

    // The runner of this process while a script runs; nullptr otherwise.
    static ScriptRunner *Active();

   private:
    struct Line {
        int number;
        std::string command;
        std::vector<std::string> args;
        std::string rest;  // the text after the command, for type and click
    };
    bool Step();
    bool StepWithChild();
    // The started program went behind the Today screen: the lines go on here,
    // or further back when this program is behind it too.
    bool TakeBack(std::unique_ptr<ChildLink> child);
    // Goes on from a line and clock that a started program reported.
    void ResumeAt(size_t next, uint64_t clock);
    // Ends the programs that went behind the Today screen.
    void EndProgramsBehind();
    bool Execute(const Line &line);
    bool Fail(const Line &line, const std::string &message);
    bool ParsePoint(const Line &line, POINT &at);
    void Finish(int status);

    std::string name_, file_, appended_;
    std::vector<Line> lines_;
    size_t next_ = 0;
    bool waiting_ = false;
    uint64_t waitUntil_ = 0;
    // A hold lifts the stylus here once its wait is over.
    bool liftAfterWait_ = false;
    POINT liftAt_{};
    bool finished_ = false;
    bool failed_ = false;
    bool endWithChild_ = false;
    int reportFd_ = -1;
    bool waitForWindow_ = false;
    bool claimed_ = false;
    std::unique_ptr<ChildLink> child_;
    // Programs that went on running behind the Today screen.
    std::vector<std::unique_ptr<ChildLink>> behind_;
    bool handedBack_ = false;
    std::string error_;
};

// Writes the composed screen as a PNG.
bool SaveScreenshot(const std::string &path, std::string &error);

}  // namespace wince
