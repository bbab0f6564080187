#include "TodayItemList.h"

#include <algorithm>
#include <cstdio>

#include "core/unicode.h"

namespace {

DWORD ReadDword(HKEY key, LPCWSTR name, DWORD fallback) {
    DWORD value = 0, size = sizeof value, type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE *>(&value), &size) != ERROR_SUCCESS ||
        size != sizeof value)
        return fallback;
    return value;
}

std::u16string ReadString(HKEY key, LPCWSTR name) {
    WCHAR buffer[MAX_PATH] = {};
    DWORD size = sizeof buffer - sizeof(WCHAR);
    if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE *>(buffer), &size) != ERROR_SUCCESS)
        return std::u16string();
    return buffer;
}

}  // namespace

std::vector<TodayItemSlot> ReadTodayItemList() {
    std::vector<TodayItemSlot> slots;
    HKEY items;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, k_szTodayItemsKey, 0, 0, &items) != ERROR_SUCCESS) return slots;
    for (DWORD i = 0;; ++i) {
        WCHAR name[MAX_ITEMNAME * 4];
        DWORD length = static_cast<DWORD>(std::size(name));
        if (RegEnumKeyExW(items, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        HKEY key;
        if (RegOpenKeyExW(items, name, 0, 0, &key) != ERROR_SUCCESS) continue;
        TodayItemSlot slot;
        slot.name = name;
        DWORD type = ReadDword(key, u"Type", tlitCustom);
        slot.record.fEnabled = ReadDword(key, u"Enabled", 1) != 0;
        slot.record.fOptions = ReadDword(key, u"Options", 0) != 0;
        slot.order = static_cast<int>(ReadDword(key, u"Order", 100));
        std::u16string dll = ReadString(key, u"DLL");
        RegCloseKey(key);
        if (type != tlitCustom || !slot.record.fEnabled || dll.empty()) continue;
        lstrcpynW(slot.record.szName, name, MAX_ITEMNAME);
        slot.record.tlit = tlitCustom;
        slot.record.dwOrder = slot.order;
        lstrcpynW(slot.record.szDLLPath, dll.c_str(), MAX_PATH);
        slot.module = LoadLibraryW(dll.c_str());
        if (!slot.module) {
            fprintf(stderr, "pelloran-sim: Today item %s: cannot load %s (error %u)\n",
                    wince::ToUtf8(slot.name).c_str(), wince::ToUtf8(dll).c_str(), GetLastError());
            continue;
        }
        slot.record.hinstDLL = slot.module;
        slots.push_back(std::move(slot));
    }
    RegCloseKey(items);
    std::stable_sort(slots.begin(), slots.end(),
                     [](const TodayItemSlot &a, const TodayItemSlot &b) { return a.order < b.order; });
    return slots;
}
