#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver/patch_paths.h"
#include "driver/platform.h"

namespace aplpatch {

// The folders of a Windows search path: separated by ';', double quotes around (parts of) a folder
// dropped, and a ';' between them kept in the folder. Empty folders are left out.
std::vector<std::string> windowsSearchFolders(std::string_view searchPath);
// The folders of a POSIX search path: separated by ':', empty folders left out.
std::vector<std::string> posixSearchFolders(std::string_view searchPath);

// The path of `name` inside `folder`, with one separator between them.
std::string pathInFolder(std::string_view folder, std::string_view name, const PathStyle& style);

// Where the program `name` is looked for, in order: the working folder (the bare name), the folder
// of the running program `programPath` (when known), then each of `searchFolders`.
std::vector<std::string> programCandidates(std::string_view name, std::string_view programPath,
                                           const std::vector<std::string>& searchFolders, const PathStyle& style);

// The first of programCandidates() that is a program file, or nothing.
std::optional<std::string> locateProgram(Platform& platform, std::string_view name);

}  // namespace aplpatch
