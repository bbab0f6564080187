// The documents folder as the monkey knows it: every file that must still
// be there, kept up to date with the monkey's own outside changes and with
// the deletes and moves the programs traced.
#pragma once

#include <cstdint>
#include <filesystem>
#include <random>
#include <set>
#include <string>

class MonkeyFolder {
   public:
    MonkeyFolder(std::filesystem::path documents, std::filesystem::path trace);

    // One random outside change: a file created, renamed, grown or deleted,
    // or a folder removed and made again. Returns what it did.
    std::string Change(std::mt19937_64 &random);
    // Takes in the deletes and moves traced since the last call.
    void FollowTrace();
    // Empty when every known file exists, else the first one missing.
    std::string Missing() const;

   private:
    std::string PickFile(std::mt19937_64 &random) const;
    std::string PickFolder(std::mt19937_64 &random) const;
    void Forget(const std::string &relative, bool wholeFolder);

    std::filesystem::path documents_, trace_;
    std::uintmax_t traceRead_ = 0;
    std::set<std::string> files_;  // relative host paths, "/"-separated
    int made_ = 0;
};
