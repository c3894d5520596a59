#pragma once

// The pieces of the Windows platform layer that platform_win32.cpp puts together. Windows only.

#include <string>
#include <vector>

#include "base/status.h"
#include "platform/platform.h"

namespace aplpatch::win32 {

// `path` (UTF-8) as the wide path to hand to the Windows API. A path too long for the classic
// limit of 260 characters is made absolute and given the "\\?\" prefix that lifts the limit.
std::wstring systemPath(const std::string& path);

// A failure with the system's words for the Windows error `code` and the code itself:
// "The system cannot find the file specified (error 2)".
Status errorStatus(unsigned long code);
// The same for the calling thread's last error.
Status lastErrorStatus();

// Whether the error says that another program holds the file for the moment.
bool isHeldByAnotherProgram(unsigned long code);

// Runs the program file at `path` and waits for it.
ProgramRun runProgram(const std::string& path, const std::vector<std::string>& arguments);

}  // namespace aplpatch::win32
