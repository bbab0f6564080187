// The host's own opener: documents, folders and help pages that the device's
// shell opens are shown on the host too when the device profile asks for it
// ([shell] open_on_host = 1; [shell] opener names the program, xdg-open by
// default).
#pragma once

#include <windows.h>

#include <string>

namespace wince {

// Hands a device path (with an optional "#anchor" for a page) to the host's
// opener. False when the profile does not ask for it, the path leads
// nowhere or the opener cannot start; the opener reports its own errors.
bool OpenOnHost(const std::u16string &devicePath, const std::string &anchor = "");

// What the simulator's file explorer and help viewer do with their command
// lines: the folder shown, or the help file and its topic.
std::u16string ExplorerFolder(const std::u16string &commandLine);
std::u16string HelpFile(const std::u16string &commandLine, std::string &anchor);

// Carries out one of the simulator's own programs (IsSimulatedProgram).
void RunSimulatedProgram(const std::u16string &devicePath, const std::u16string &commandLine);

}  // namespace wince
