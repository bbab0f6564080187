// Feeds arbitrary bytes to the translation-file reader through a real file
// on a scratch device: it must never crash, read past its window or hang.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "config/LocalizationTable.h"
#include "device/device.h"

namespace {

std::filesystem::path ScratchDevice() {
    static std::filesystem::path root = [] {
        char pattern[] = "/tmp/wince-fuzz-XXXXXX";
        std::filesystem::path p = mkdtemp(pattern);
        wince::Device::Select(p);
        setenv("WINCE_PROGRAM", "\\Fuzz\\fuzz.exe", 1);
        std::filesystem::create_directories(p / "fs" / "Fuzz");
        return p;
    }();
    return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::filesystem::path file = ScratchDevice() / "fs" / "Fuzz" / "localization.txt";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    }
    LocalizationTable::Release();
    if (!LoadTranslations(TEXT("\\localization.txt"))) abort();  // the file is there: it must open
    // Every entry is reachable by its own key; the first one with a key wins.
    if (LocalizationTable::Instance().Count() < 1) abort();
    FindTranslation(TEXT("Open"));
    TranslateText(TEXT(""));
    return 0;
}
