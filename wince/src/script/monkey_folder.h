// The documents folder as the monkey knows it: every file that must still
// be there, kept up to date with the monkey's own outside changes and with
// the deletes and moves the programs traced. The Today screen's monkey and
// the one in a program it started each keep one.
#pragma once

#include <cstdint>
#include <filesystem>
#include <random>
#include <set>
#include <string>

namespace wince {

class MonkeyFolder {
   public:
    // Names the monkey makes are numbered from firstNumber + 1, so that two
    // monkeys on one device do not make the same names.
    MonkeyFolder(std::filesystem::path documents, std::filesystem::path trace, int firstNumber = 0);

    // One random outside change: a file created, renamed, grown or deleted,
    // or a folder removed and made again. Returns what it did.
    std::string Change(std::mt19937_64 &random);
    // Takes in the deletes and moves traced since the last call.
    void FollowTrace();
    // Empty when every known file exists, else the first one missing.
    std::string Missing() const;
    // Knows the folder as it is now: after a started program, whose own
    // monkey checked the files while it ran, changed them.
    void Resync();

   private:
    std::string PickFile(std::mt19937_64 &random) const;
    std::string PickFolder(std::mt19937_64 &random) const;
    void Forget(const std::string &relative, bool wholeFolder);

    std::filesystem::path documents_, trace_;
    std::uintmax_t traceRead_ = 0;
    std::set<std::string> files_;  // relative host paths, "/"-separated
    int made_ = 0;
};

}  // namespace wince
