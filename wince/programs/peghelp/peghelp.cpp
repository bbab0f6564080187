// PegHelp.exe, the device's help viewer: started with a command line
// "file:NAME.htm#anchor", it shows that section of the help file, found in
// "\Windows" or in the folder of the program that asked for it. A device
// whose profile hands pages to the host's opener opens it there instead.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "core/unicode.h"
#include "device/device.h"
#include "help_text.h"
#include "help_window.h"
#include "process/host_opener.h"

namespace {

std::u16string CommandLine(int argc, char **argv) {
    std::u16string line;
    for (int i = 1; i < argc; ++i) line += (i > 1 ? u" " : u"") + wince::FromUtf8(argv[i]);
    return line;
}

// The help file: as named when it has a folder, else in "\Windows", else
// beside the program that asked for help.
std::u16string FindHelpFile(const std::u16string &name) {
    if (name.find(u'\\') != std::u16string::npos) return name;
    std::u16string candidates[2] = {u"\\Windows\\" + name, u""};
    const char *caller = getenv("WINCE_CALLER_FOLDER");
    if (caller && *caller) candidates[1] = wince::FromUtf8(caller) + u"\\" + name;
    for (const std::u16string &c : candidates)
        if (!c.empty() && GetFileAttributesW(c.c_str()) != INVALID_FILE_ATTRIBUTES) return c;
    return u"";
}

bool ReadDeviceFile(const std::u16string &path, std::string &bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return true;
}

}  // namespace

int main(int argc, char **argv) {
    std::u16string name;
    std::string anchor;
    peghelp::SplitTopic(CommandLine(argc, argv), name, anchor);
    std::u16string path = name.empty() ? u"" : FindHelpFile(name);
    if (!path.empty() && wince::OpenOnHost(path, anchor)) return 0;
    std::vector<peghelp::HelpParagraph> paragraphs;
    std::string page;
    if (!path.empty() && ReadDeviceFile(path, page)) paragraphs = peghelp::HelpSection(page, anchor);
    else paragraphs.push_back({u"The help file " + name + u" cannot be found.", false});
    if (!peghelp::CreateHelpWindow(nullptr, std::move(paragraphs))) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
