// The host's main for a device program written with WinMain: the command
// line is the program's arguments joined with spaces, as the device passes
// it, and the program shows its window normally.
#include <windows.h>

#include <string>

#include "core/unicode.h"

// The program's own entry point.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

int main(int argc, char **argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    std::u16string commandLine = wince::FromUtf8(line);
    return WinMain(GetModuleHandleW(nullptr), nullptr, commandLine.data(), SW_SHOW);
}
