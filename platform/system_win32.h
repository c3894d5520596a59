#pragma once

// The pieces of the Windows platform layer that platform_win32.cpp puts together. Windows only.

#include <string>
#include <string_view>
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

// Writes `text` (UTF-8, "\n" for a line end) to standard output: as wide text to a console, which
// then shows every letter; otherwise with CR LF line ends in the console's code page, or in UTF-8
// when the process has no console. A failed write is lost (the console may have gone away).
void writeToStandardOutput(std::string_view text);
// The same for standard error.
void writeToStandardError(std::string_view text);

}  // namespace aplpatch::win32
