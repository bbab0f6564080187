// What the item does with a document and its folder.
#pragma once

#include <windows.h>

// Starts the options program from the folder named by "InstallDir".
void LaunchOptionsProgram();
