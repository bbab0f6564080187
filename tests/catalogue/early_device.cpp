// The process-wide item object loads its settings when the program starts,
// before any test selects a device: give it a scratch device of its own.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

struct EarlyDevice {
    std::string root;
    EarlyDevice() {
        char pattern[] = "/tmp/pelloran-early-XXXXXX";
        if (mkdtemp(pattern)) {
            root = pattern;
            setenv("WINCE_DEVICE", pattern, 1);
        }
    }
    ~EarlyDevice() {
        std::error_code ec;
        if (!root.empty()) std::filesystem::remove_all(root, ec);
    }
};

__attribute__((init_priority(101))) EarlyDevice early;

}  // namespace
