// Runs a script of user actions against the running programs: one command
// a line, each carried out when the programs have nothing left to do, so
// that modal loops are driven exactly as a user drives them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class ScriptRunner {
   public:
    // Parses the script; false with a message naming the line on bad syntax.
    bool Load(const std::string &text, const std::string &name, std::string &error);
    // Installs the runner as the idle driver of the message loops.
    void Start();
    bool Failed() const { return failed_; }
    const std::string &Error() const { return error_; }

   private:
    struct Line {
        int number;
        std::string command;
        std::vector<std::string> args;
        std::string rest;  // the text after the command, for type and click
    };
    bool Step();
    bool Execute(const Line &line);
    bool Fail(const Line &line, const std::string &message);

    std::string name_;
    std::vector<Line> lines_;
    size_t next_ = 0;
    bool waiting_ = false;
    uint64_t waitUntil_ = 0;
    // A hold lifts the stylus here once its wait is over.
    bool liftAfterWait_ = false;
    POINT liftAt_{};
    bool finished_ = false;
    bool failed_ = false;
    std::string error_;
};

// Writes the composed screen as a PNG.
bool SaveScreenshot(const std::string &path, std::string &error);
