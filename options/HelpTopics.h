// Context help: the device's help viewer opened at a topic of the
// product's help file. A failure to start it is silent.
#pragma once

#include <windows.h>

void StartHelp(LPCWSTR commandLine);

// The topics of the options sheet's pages and of the About box.
inline constexpr WCHAR FolderHelpTopic[] = TEXT("file:Pelloran.htm#folder");
inline constexpr WCHAR DocumentsHelpTopic[] = TEXT("file:Pelloran.htm#documents");
inline constexpr WCHAR AboutHelpTopic[] = TEXT("Pelloran.htm#Main_Contents");
