#include "temp_device.h"

#include <cstdlib>
#include <fstream>

#include "device/device.h"

namespace fs = std::filesystem;

namespace testing_support {

TempDevice::TempDevice() : TempDevice(fs::temp_directory_path()) {}

TempDevice::TempDevice(const fs::path &parent) {
    std::string pattern = (parent / "wince-test-XXXXXX").string();
    char *made = mkdtemp(pattern.data());
    if (!made) throw std::runtime_error("cannot make a temporary device folder");
    root_ = made;
    wince::Device::Select(root_);
}

TempDevice::~TempDevice() {
    std::error_code ec;
    // Folders a test made unreadable must not stop the clean-up.
    for (auto it = fs::recursive_directory_iterator(root_, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec)) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root_, ec);
}

fs::path TempDevice::Host(const std::string &devicePathUtf8) const {
    std::string rel = devicePathUtf8;
    for (char &c : rel)
        if (c == '\\') c = '/';
    while (!rel.empty() && rel[0] == '/') rel.erase(0, 1);
    return root_ / "fs" / rel;
}

void TempDevice::WriteHostFile(const std::string &devicePathUtf8, const std::string &bytes) const {
    fs::path p = Host(devicePathUtf8);
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

}  // namespace testing_support
