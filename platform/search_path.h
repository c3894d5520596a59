#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace aplpatch {

// The folders of a Windows search path: separated by ';', double quotes around (parts of) a folder
// dropped, and a ';' between them kept in the folder. Empty folders are left out.
std::vector<std::string> windowsSearchFolders(std::string_view searchPath);
// The folders of a POSIX search path: separated by ':', empty folders left out.
std::vector<std::string> posixSearchFolders(std::string_view searchPath);

}  // namespace aplpatch
