// Programs on the device: an ".exe" whose file is the one-line stub
// "#!wince-link /host/path" runs as that host program with the same device;
// the file explorer and the help viewer are played by the simulator.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "process_object.h"

namespace wince {

struct DeviceProgram {
    std::u16string devicePath;  // as resolved: "\Windows\fexplore.exe"
    std::string hostProgram;    // the stub's target; empty for the simulator's own programs
    bool simulated = false;
};

// Resolves a program name: a name without a folder is looked for in
// "\Windows", a name without an extension gets ".exe". Returns a Win32
// error: ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_BAD_EXE_FORMAT.
DWORD ResolveDeviceProgram(const std::u16string &name, DeviceProgram &out);

// The simulator's own programs by their file name ("fexplore.exe").
bool IsSimulatedProgram(const std::u16string &devicePath);

// Starts the program with the command line (its parameters); records the
// start in the trace. nullptr with the last error set when it fails.
std::shared_ptr<ProcessObject> StartDeviceProgram(const DeviceProgram &program, const std::u16string &commandLine);

}  // namespace wince
