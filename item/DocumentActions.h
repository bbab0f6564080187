// What the item does with a document and its folder.
#pragma once

#include <windows.h>

#include <string>

#include "config/WideString.h"

class DocumentEntry;

// The shell verb a document opens with: its own program edits the kinds the
// item lists, anything else goes to the file's default handler.
LPCWSTR OpenVerb(const WideString &extension);

// Opens the document through the shell; a failure is not reported.
void OpenDocument(const DocumentEntry &entry);
// Shows the document's folder (index -1: the configured folder) in the file
// explorer.
void BrowseFolder(HWND window, int index);
// Asks, then deletes the document's file.
void DeleteDocument(HWND window, int index);
// Asks for a new name and moves the file; the extension stays.
void RenameDocument(HWND window, int index);
// Starts the options program from the folder named by "InstallDir".
void LaunchOptionsProgram();
