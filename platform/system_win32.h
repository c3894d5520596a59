#pragma once

// The pieces of the Windows platform layer that platform_win32.cpp puts together. Windows only.

#include <cstddef>
#include <string>
#include <vector>

#include "base/status.h"
#include "platform/platform.h"

namespace aplpatch::win32 {

// `path` (UTF-8) as the wide path to hand to the Windows API. A path whose full form (relative to
// the working folder) is too long for the classic limit of 260 characters is made absolute and
// given the "\\?\" prefix that lifts the limit; any other path is handed over as given.
std::wstring systemPath(const std::string& path);

// `path` made full against the working folder (GetFullPathNameW); `path` itself when the system
// cannot do that.
std::wstring fullPath(const std::wstring& path);

// ReadFile and WriteFile take at most this many bytes per call.
inline constexpr std::size_t kLargestTransfer = std::size_t{1} << 30;

// Writes all `size` bytes to the file, pipe or device `handle` (a HANDLE), however many calls of
// WriteFile that takes. Returns 0, or the Windows error that stopped it: ERROR_WRITE_FAULT when a
// call wrote nothing.
unsigned long writeAll(void* handle, const char* data, std::size_t size);

// A failure with the system's words for the Windows error `code` and the code itself:
// "The system cannot find the file specified (error 2)".
Status errorStatus(unsigned long code);
// As errorStatus(), with `path` in the place of the "%1" that some of the system's texts hold
// ("%1 is not a valid Win32 application").
Status errorStatusFor(unsigned long code, const std::string& path);
// The same for the calling thread's last error.
Status lastErrorStatus();

// Whether the error says that another program holds the file for the moment.
bool isHeldByAnotherProgram(unsigned long code);

// The names of the programs that have the file at `path` open, as far as the system can tell; empty
// when it cannot.
std::vector<std::string> programsHolding(const std::string& path);

// Runs the program file at `path` and waits for it.
ProgramRun runProgram(const std::string& path, const std::vector<std::string>& arguments);

}  // namespace aplpatch::win32
