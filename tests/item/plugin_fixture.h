// The real plug-in on a test device, loaded the way the Today screen loads
// it, with a recording host window as its parent.
#pragma once

#include <todaycmn.h>

#include <string>
#include <vector>

#include "device_profile.h"
#include "temp_device.h"

namespace plugin_testing {

struct HostMessage {
    UINT message;
    WPARAM wParam;
};

class PluginTest : public testing_support::DeviceTest {
   protected:
    void SetUp() override;
    void TearDown() override;
    // Writes the profile; call before Load.
    void UseProfile(const std::string &version, int dpi, const std::string &extra = "");
    bool Load();
    HWND CreateItem(TODAYLISTITEM &record, bool hosted = false);
    template <typename F>
    F Export(int ordinal) {
        return reinterpret_cast<F>(reinterpret_cast<void *>(GetProcAddressW(module, MAKEINTRESOURCEW(ordinal))));
    }

    HMODULE module = nullptr;
    HWND host = nullptr;

   public:
    static std::vector<HostMessage> hostMessages;
};

}  // namespace plugin_testing
