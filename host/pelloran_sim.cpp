// pelloran-sim: runs the product on a simulated device.
//
// Until the Today screen is on this layer, it prepares the device and shows
// the settings record as the plug-in loads it.
#include <windows.h>

#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>

#include "config/FolderSettings.h"
#include "core/unicode.h"
#include "device/device.h"

namespace {

void PrintSettings() {
    FolderSettings s;  // loads, creating missing values with their defaults
    const wince::Device &device = wince::Device::Current();
    printf("Device:        %s\n", device.Root().c_str());
    printf("Documents:     %s\n", (device.FileSystemRoot() / "My Documents").c_str());
    printf("Settings (HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnhold\\Pelloran):\n");
    printf("  Folder          %s\n", wince::ToUtf8(s.GetFolder()).c_str());
    printf("  Subfolders      %d\n", s.GetSubfolders());
    printf("  NoTemplates     %d\n", s.GetNoTemplates());
    printf("  Rows            %d\n", s.GetRows());
    printf("  Cols            %d\n", s.GetCols());
    printf("  ShowSize        %d\n", s.GetShowSize());
    printf("  ShowDate        %d\n", s.GetShowDate());
    printf("  ShowText        %d\n", s.GetShowText());
    printf("  ShowPocketWord  %d\n", s.GetShowPocketWord());
    printf("  ShowPocketExcel %d\n", s.GetShowPocketExcel());
    printf("  ShowNotes       %d\n", s.GetShowNotes());
    printf("  ShowAll         %d\n", s.GetShowAll());
}

}  // namespace

int main(int argc, char **argv) {
    CLI::App app{"pelloran-sim: the Pelloran Today item on a simulated Pocket PC"};
    std::string deviceDir;
    app.add_option("--device", deviceDir, "device folder (default: WINCE_DEVICE, else the user's default device)");
    auto *settings = app.add_subcommand("settings", "print the settings record as the plug-in loads it");
    CLI11_PARSE(app, argc, argv);
    if (!deviceDir.empty()) wince::Device::Select(deviceDir);
    (void)settings;
    PrintSettings();
    return 0;
}
