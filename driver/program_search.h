#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace aplpatch {

// The paths at which the Windows command interpreter looks for the program `name`, in its order:
// `name` itself (in the working directory), then `name` in each folder of `searchPath`. The
// folders are separated by ';'; double quotes around (parts of) a folder are dropped, and a ';'
// between them belongs to the folder. Empty folders are skipped. A name that already holds a
// folder is looked for only where it says.
std::vector<std::string> programCandidates(std::string_view name, std::string_view searchPath);

}  // namespace aplpatch
