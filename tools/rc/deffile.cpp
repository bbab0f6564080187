#include "deffile.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "diagnostics.h"

namespace rc {
namespace {

const char *const kIgnoredSections[] = {"DESCRIPTION", "VERSION", "STACKSIZE", "HEAPSIZE", "NAME"};

std::vector<std::string> Words(const std::string &line) {
    std::vector<std::string> words;
    std::string w;
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '=' || c == '@') {
            if (!w.empty()) words.push_back(w), w.clear();
            if (c == '=' || c == '@') words.emplace_back(1, c);
        } else {
            w += c;
        }
    }
    if (!w.empty()) words.push_back(w);
    return words;
}

bool ParseOrdinal(const std::string &s, uint16_t &out) {
    if (s.empty() || s.size() > 5 || !std::all_of(s.begin(), s.end(), ::isdigit)) return false;
    unsigned long v = std::stoul(s);
    if (v == 0 || v > 0xFFFF) return false;
    out = static_cast<uint16_t>(v);
    return true;
}

}  // namespace

std::vector<ExportEntry> ReadDefFile(const std::string &path) {
    std::ifstream in(path);
    if (!in) throw Error("cannot read '" + path + "'");
    std::vector<ExportEntry> exports;
    std::set<uint16_t> used;
    std::set<std::string> names;
    bool inExports = false;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        Location where{path, number};
        if (size_t semicolon = line.find(';'); semicolon != std::string::npos) line.erase(semicolon);
        std::vector<std::string> w = Words(line);
        if (w.empty()) continue;
        std::string head = w[0];
        std::transform(head.begin(), head.end(), head.begin(), ::toupper);
        if (head == "LIBRARY") {
            inExports = false;
            continue;
        }
        if (head == "EXPORTS") {
            inExports = true;
            w.erase(w.begin());
            if (w.empty()) continue;
        } else if (std::find(std::begin(kIgnoredSections), std::end(kIgnoredSections), head) != std::end(kIgnoredSections)) {
            inExports = false;
            continue;
        } else if (!inExports) {
            throw Error(where, "unknown statement '" + w[0] + "'");
        }
        ExportEntry e;
        e.name = e.symbol = w[0];
        size_t i = 1;
        if (i < w.size() && w[i] == "=") {
            if (i + 1 >= w.size() || w[i + 1] == "@") throw Error(where, "a symbol expected after '='");
            e.symbol = w[i + 1];
            i += 2;
        }
        if (i < w.size() && w[i] == "@") {
            if (i + 1 >= w.size() || !ParseOrdinal(w[i + 1], e.ordinal))
                throw Error(where, "an ordinal from 1 to 65535 expected after '@'");
            if (!used.insert(e.ordinal).second) throw Error(where, "ordinal " + std::to_string(e.ordinal) + " is used twice");
            i += 2;
        }
        for (; i < w.size(); ++i) {
            std::string option = w[i];
            std::transform(option.begin(), option.end(), option.begin(), ::toupper);
            if (option == "NONAME" && e.ordinal) e.noName = true;
            else if (option == "NONAME") throw Error(where, "NONAME needs an ordinal");
            else if (option != "PRIVATE" && option != "DATA" && option != "CONSTANT")
                throw Error(where, "unexpected '" + w[i] + "'");
        }
        if (!names.insert(e.name).second) throw Error(where, "'" + e.name + "' is exported twice");
        exports.push_back(e);
    }
    uint16_t next = 1;
    for (auto &e : exports) {
        if (e.ordinal) continue;
        while (used.count(next)) ++next;
        e.ordinal = next;
        used.insert(next);
    }
    return exports;
}

}  // namespace rc
