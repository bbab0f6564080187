#include "options/HelpTopics.h"

#include "config/WideString.h"

void StartHelp(LPCWSTR commandLine) {
    // The viewer may write to its command line, so it gets a copy.
    WideString line(commandLine);
    CreateProcessW(TEXT("PegHelp.exe"), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, nullptr);
}
