// A fresh device with the process's item object scanning into a plain
// window that counts its paints.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "catalogue/Rescan.h"
#include "core/unicode.h"
#include "item/ItemWindow.h"
#include "temp_device.h"

namespace catalogue_testing {

class ScanTest : public testing_support::DeviceTest {
   protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = CountingProc;
        wc.lpszClassName = u"ScanWindow";
        RegisterClassW(&wc);
        window = CreateWindowExW(0, u"ScanWindow", u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 100, nullptr, nullptr,
                                 nullptr, nullptr);
        itemWindow.settings.Load();  // the defaults of this fresh device
        itemWindow.ClearCatalogue();
        paints = 0;
    }
    void TearDown() override {
        KillTimer(window, FolderPollTimer);
        DestroyWindow(window);
        UnregisterClassW(u"ScanWindow", nullptr);
        itemWindow.ClearCatalogue();
    }
    // The full paths of the catalogue's entries, in its order.
    static std::vector<std::string> Listed() {
        std::vector<std::string> out;
        for (int i = 0; i < itemWindow.catalogue.Count(); ++i)
            out.push_back(wince::ToUtf8(itemWindow.catalogue.Entry(i)->FullPath()));
        return out;
    }

    HWND window = nullptr;
    static inline int paints = 0;

   private:
    static LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_PAINT) ++paints;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
};

}  // namespace catalogue_testing
