#include "profile_check.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace wince {
namespace {

struct IntRange {
    const char *key;
    long low, high;
};

// What the screen surface, the fonts, the gesture and the clock can work with.
constexpr IntRange kIntRanges[] = {
    {"screen.width", 1, 8192},        {"screen.height", 1, 8192},    {"screen.dpi_x", 48, 600},
    {"screen.dpi_y", 48, 600},        {"shell.hold_ms", 1, 60000},   {"shell.hold_tolerance", 0, 1000},
    {"shell.ui_metrics", 0, 1},       {"shell.open_on_host", 0, 1},  {"clock.timezone", -840, 840},
    {"metrics.scrollbar", 1, 200},    {"os.build", 0, 2147483647},
};

bool ParseLong(const std::string &text, long *value) {
    if (text.empty()) return false;
    char *end = nullptr;
    errno = 0;
    *value = strtol(text.c_str(), &end, 10);
    return errno == 0 && end && *end == 0;
}

bool IsColor(const std::string &text) {
    if (text.size() != 7 || text[0] != '#') return false;
    return strspn(text.c_str() + 1, "0123456789abcdefABCDEF") == 6;
}

bool IsVersion(const std::string &text) {
    unsigned major = 0, minor = 0;
    int used = 0;
    return sscanf(text.c_str(), "%3u.%3u%n", &major, &minor, &used) == 2 && static_cast<size_t>(used) == text.size();
}

// "YYYY-MM-DD", optionally followed by " HH:MM" and ":SS".
bool IsClockStart(const std::string &text) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, used = 0;
    if (sscanf(text.c_str(), "%5d-%2d-%2d%n", &y, &mo, &d, &used) != 3) return false;
    const char *rest = text.c_str() + used;
    if (*rest) {
        if (sscanf(rest, " %2d:%2d%n", &h, &mi, &used) != 2) return false;
        rest += used;
        if (*rest) {
            if (sscanf(rest, ":%2d%n", &s, &used) != 1) return false;
            rest += used;
        }
    }
    return !*rest && y >= 1601 && y <= 9999 && mo >= 1 && mo <= 12 && d >= 1 && d <= 31 && h >= 0 && h <= 23 &&
           mi >= 0 && mi <= 59 && s >= 0 && s <= 59;
}

// The typed fields keep the defaults they were made with; report those.
std::string DefaultOf(const DeviceProfile &p, const std::string &key) {
    if (key == "screen.width") return std::to_string(p.width);
    if (key == "screen.height") return std::to_string(p.height);
    if (key == "screen.dpi_x") return std::to_string(p.dpiX);
    if (key == "screen.dpi_y") return std::to_string(p.dpiY);
    if (key == "font.mode") return p.fontMode;
    return "";
}

class Checker {
   public:
    Checker(DeviceProfile &p, const std::filesystem::path &file, const std::map<std::string, int> &lines)
        : p_(p), file_(file), lines_(lines) {}

    void Reject(const std::string &key, const std::string &allowed) {
        auto line = lines_.find(key);
        std::string where = file_.string() + (line != lines_.end() ? ":" + std::to_string(line->second) : "");
        std::string fallback = DefaultOf(p_, key);
        fprintf(stderr, "wince: %s: %s = \"%s\" is not %s; %s is used\n", where.c_str(), key.c_str(),
                p_.values[key].c_str(), allowed.c_str(), fallback.empty() ? "the default" : fallback.c_str());
        p_.values.erase(key);
    }

    void Run() {
        for (const IntRange &r : kIntRanges) {
            auto it = p_.values.find(r.key);
            if (it == p_.values.end()) continue;
            long v = 0;
            if (!ParseLong(it->second, &v) || v < r.low || v > r.high)
                Reject(r.key, "a whole number from " + std::to_string(r.low) + " to " + std::to_string(r.high));
        }
        Check("font.mode", [](const std::string &v) { return v == "real" || v == "fixed"; }, "\"real\" or \"fixed\"");
        Check("os.version", IsVersion, "a version such as 5.1");
        Check("clock.start", IsClockStart, "a time such as 2026-12-07 09:30:00");
        std::vector<std::string> colors;
        for (const auto &[key, value] : p_.values)
            if (key.rfind("colors.", 0) == 0 || key.rfind("today.", 0) == 0) colors.push_back(key);
        for (const std::string &key : colors) Check(key, IsColor, "a colour such as #RRGGBB");
    }

   private:
    template <typename Valid>
    void Check(const std::string &key, Valid valid, const std::string &allowed) {
        auto it = p_.values.find(key);
        if (it != p_.values.end() && !valid(it->second)) Reject(key, allowed);
    }

    DeviceProfile &p_;
    const std::filesystem::path &file_;
    const std::map<std::string, int> &lines_;
};

}  // namespace

void CheckProfile(DeviceProfile &profile, const std::filesystem::path &iniFile, const std::map<std::string, int> &lines) {
    Checker(profile, iniFile, lines).Run();
}

}  // namespace wince
