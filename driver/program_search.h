#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/path_style.h"
#include "platform/platform.h"

namespace aplpatch {

// The path of `name` inside `folder`, with one separator between them.
std::string pathInFolder(std::string_view folder, std::string_view name, const PathStyle& style);

// Where the program `name` is looked for, in order: the folder of the running program `programPath`
// (when known), where an install puts it; the working folder (the bare name); then each of
// `searchFolders`.
std::vector<std::string> programCandidates(std::string_view name, std::string_view programPath,
                                           const std::vector<std::string>& searchFolders, const PathStyle& style);

// What a search for a program found.
struct ProgramSearch {
  std::optional<std::string> found;  // the first program file as tried (to start it by), or nothing
  std::string foundFullPath;         // `found` made full, for what the user reads
  // The candidates that are there but are no program, each as "FULL PATH: why", in the order tried.
  std::vector<std::string> passedOver;
};

// Tries programCandidates() in order and passes over a folder or a file that the system cannot
// start as a program.
ProgramSearch findProgram(Platform& platform, std::string_view name);

// The path found by findProgram(), or nothing.
std::optional<std::string> locateProgram(Platform& platform, std::string_view name);

}  // namespace aplpatch
