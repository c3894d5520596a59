#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"
#include "platform/program_console.h"

namespace aplpatch {

// A byte string that only this program's file holds, so that an installed copy can be told from the
// compiler it replaced.
std::string_view installMarker();

// Whether the file at `path` holds the install marker; a failure when it cannot be read.
struct MarkerSearch {
  Status status = Status::success();
  bool found = false;
};
MarkerSearch searchForMarker(Platform& platform, const std::string& path);

// Puts this program in the place of the adventure compiler at `compiler`: renames the compiler to
// aplc2.exe in its folder and copies this program's file to `compiler`. Refuses, changing nothing,
// when `compiler` cannot be read or is this program already, or when aplc2.exe exists there; a step
// that fails is undone. Says what it did; returns 0, or 1 when nothing was installed.
int installProgram(Platform& platform, ProgramConsole& console, const std::string& compiler);

// Undoes installProgram(): when `compiler` is this program and aplc2.exe exists in its folder,
// aplc2.exe takes the place of `compiler` in one step. Returns 0, or 1 when nothing was changed.
int uninstallProgram(Platform& platform, ProgramConsole& console, const std::string& compiler);

}  // namespace aplpatch
