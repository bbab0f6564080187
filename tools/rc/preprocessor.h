// The preprocessor of resource scripts: #include, #define/#undef and the
// conditionals, as rc applies them. A header included with <...> (the
// platform's own) contributes only its "#define NAME value" lines; a
// quoted .h or .c file contributes only its directives, the rest of a
// quoted file is script text.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "token.h"

namespace rc {

class Preprocessor {
   public:
    explicit Preprocessor(std::vector<std::filesystem::path> includeDirs) : includeDirs_(std::move(includeDirs)) {}

    // The script's tokens with every macro expanded.
    std::vector<Token> Run(const std::filesystem::path &script);

    // Files a resource statement names: next to the script, then in the -I folders.
    std::filesystem::path FindResourceFile(const std::string &name, const Location &where);

    // Every file read, for the build's dependency list.
    const std::vector<std::string> &Dependencies() const { return dependencies_; }

   private:
    enum class Mode { Script, DirectivesOnly, DefinesOnly };
    struct Macro {
        std::string body;
        bool hasParameters = false;
        Location where;
    };
    struct Conditional {
        bool active;        // lines are taken now
        bool taken;         // a branch was already taken
        bool parentActive;  // the enclosing region is taken
        bool sawElse;
        Location where;
    };
    struct Line {
        std::string text;
        int number;
    };

    void ProcessFile(const std::filesystem::path &file, const std::string &shownName, Mode mode, int depth,
                     std::vector<Token> &out);
    void Directive(const std::string &text, const Location &where, Mode mode, int depth,
                   std::vector<Conditional> &stack, const std::filesystem::path &folder, std::vector<Token> &out);
    void Define(const std::string &rest, const Location &where, bool onlyPlain);
    void Include(const std::string &rest, const Location &where, int depth, const std::filesystem::path &folder,
                 std::vector<Token> &out, bool fromPlatformHeader = false);
    bool EvaluateCondition(const std::string &rest, const Location &where);
    void Expand(const std::vector<Token> &in, std::vector<Token> &out, std::set<std::string> &active);
    void AddDependency(const std::filesystem::path &file);
    static std::vector<Line> LogicalLines(const std::string &content);

    std::vector<std::filesystem::path> includeDirs_;
    std::filesystem::path scriptFolder_;
    std::map<std::string, Macro> macros_;
    std::set<std::string> once_;
    std::vector<std::string> dependencies_;
};

}  // namespace rc
