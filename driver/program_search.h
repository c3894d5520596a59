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

// Where the program `name` is looked for, in order: the working folder (the bare name), the folder
// of the running program `programPath` (when known), then each of `searchFolders`.
std::vector<std::string> programCandidates(std::string_view name, std::string_view programPath,
                                           const std::vector<std::string>& searchFolders, const PathStyle& style);

// The first of programCandidates() that is a program file, or nothing.
std::optional<std::string> locateProgram(Platform& platform, std::string_view name);

}  // namespace aplpatch
