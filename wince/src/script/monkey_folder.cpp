#include "monkey_folder.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <vector>

namespace fs = std::filesystem;

namespace wince {
namespace {

const char *const kExtensions[] = {".txt", ".psw", ".doc", ".pxl", ".pwi", ".wav", ".jpg", ""};
// Names a person gives files: spaces, several dots, letters beyond ASCII.
const char *const kStems[] = {"Monkey", "Notes 2", "a.b", "\xc3\x9c" "bersicht", "x"};

std::string Lower(std::string text) {
    for (char &c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return text;
}

// "\My Documents\a\b.txt" as the folder's "a/b.txt"; empty when elsewhere.
std::string RelativeToDocuments(const std::string &devicePath) {
    const std::string prefix = "\\my documents\\";
    if (devicePath.size() <= prefix.size() || Lower(devicePath.substr(0, prefix.size())) != prefix) return {};
    std::string relative = devicePath.substr(prefix.size());
    for (char &c : relative)
        if (c == '\\') c = '/';
    return relative;
}

template <typename T>
const T &Pick(std::mt19937_64 &random, const std::vector<T> &from) {
    return from[random() % from.size()];
}

}  // namespace

MonkeyFolder::MonkeyFolder(fs::path documents, fs::path trace, int firstNumber)
    : documents_(std::move(documents)), trace_(std::move(trace)), made_(firstNumber) {
    Resync();
}

void MonkeyFolder::Resync() {
    files_.clear();
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(documents_, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        if (it->is_regular_file(ec)) files_.insert(fs::relative(it->path(), documents_).generic_string());
}

std::string MonkeyFolder::PickFile(std::mt19937_64 &random) const {
    if (files_.empty()) return {};
    auto it = files_.begin();
    std::advance(it, random() % files_.size());
    return *it;
}

std::string MonkeyFolder::PickFolder(std::mt19937_64 &random) const {
    std::vector<std::string> folders{""};
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(documents_, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        if (it->is_directory(ec)) folders.push_back(fs::relative(it->path(), documents_).generic_string());
    return Pick(random, folders);
}

void MonkeyFolder::Forget(const std::string &relative, bool wholeFolder) {
    const std::string folded = Lower(relative);
    for (auto it = files_.begin(); it != files_.end();) {
        std::string name = Lower(*it);
        bool gone = wholeFolder ? name.rfind(folded + "/", 0) == 0 : name == folded;
        it = gone ? files_.erase(it) : std::next(it);
    }
}

std::string MonkeyFolder::Change(std::mt19937_64 &random) {
    std::error_code ec;
    int kind = static_cast<int>(random() % 10);
    std::string file = PickFile(random);
    if (kind >= 4 && file.empty()) kind = 0;
    if (kind < 4) {  // a new file
        std::string folder = PickFolder(random);
        std::string name = std::string(kStems[random() % std::size(kStems)]) + " " + std::to_string(++made_) +
                           kExtensions[random() % std::size(kExtensions)];
        std::string relative = folder.empty() ? name : folder + "/" + name;
        std::ofstream(documents_ / relative, std::ios::binary) << std::string(random() % 3000, 'm');
        files_.insert(relative);
        return "created " + relative;
    }
    if (kind < 6) {  // renamed in its folder
        fs::path from = documents_ / file;
        std::string to = (fs::path(file).parent_path() / ("Renamed " + std::to_string(++made_))).generic_string() +
                         fs::path(file).extension().string();
        if (fs::exists(documents_ / to, ec)) return "left " + file + " alone";
        fs::rename(from, documents_ / to, ec);
        if (ec) return "could not rename " + file + ": " + ec.message();
        files_.erase(file);
        files_.insert(to);
        return "renamed " + file + " to " + to;
    }
    if (kind < 8) {  // grown, so its size changes within the same folder time
        std::ofstream(documents_ / file, std::ios::binary | std::ios::app) << std::string(1 + random() % 2000, 'g');
        return "grew " + file;
    }
    if (kind < 9) {
        fs::remove(documents_ / file, ec);
        files_.erase(file);
        return "deleted " + file;
    }
    std::string folder = PickFolder(random);
    if (folder.empty()) folder = "Monkey folder";
    fs::remove_all(documents_ / folder, ec);
    Forget(folder, true);
    fs::create_directories(documents_ / folder, ec);
    std::string again = folder + "/Again " + std::to_string(++made_) + ".txt";
    std::ofstream(documents_ / again) << "again";
    files_.insert(again);
    return "removed and made again the folder " + folder;
}

void MonkeyFolder::FollowTrace() {
    std::ifstream in(trace_, std::ios::binary);
    if (!in) return;
    in.seekg(static_cast<std::streamoff>(traceRead_));
    std::string line;
    while (std::getline(in, line)) {
        if (in.eof()) break;  // a line still being written
        traceRead_ += line.size() + 1;
        nlohmann::json event = nlohmann::json::parse(line, nullptr, false);
        if (event.is_discarded() || !event.value("result", false)) continue;
        const std::string kind = event.value("event", "");
        if (kind == "DeleteFile") {
            std::string relative = RelativeToDocuments(event.value("path", ""));
            if (!relative.empty()) Forget(relative, false);
        } else if (kind == "MoveFile") {
            std::string from = RelativeToDocuments(event.value("from", ""));
            std::string to = RelativeToDocuments(event.value("to", ""));
            if (!from.empty()) Forget(from, false);
            if (!to.empty()) files_.insert(to);
        }
    }
}

std::string MonkeyFolder::Missing() const {
    std::error_code ec;
    for (const std::string &relative : files_)
        if (!fs::exists(fs::symlink_status(documents_ / relative, ec))) return relative;
    return {};
}

}  // namespace wince
