#include "platform/search_path.h"

namespace aplpatch {

std::vector<std::string> windowsSearchFolders(std::string_view searchPath) {
  std::vector<std::string> folders;
  std::string folder;
  bool quoted = false;
  for (char c : searchPath) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ';' && !quoted) {
      if (!folder.empty()) folders.push_back(folder);
      folder.clear();
    } else {
      folder += c;
    }
  }
  if (!folder.empty()) folders.push_back(folder);
  return folders;
}

std::vector<std::string> posixSearchFolders(std::string_view searchPath) {
  std::vector<std::string> folders;
  while (!searchPath.empty()) {
    std::size_t colon = searchPath.find(':');
    // An empty entry means the working folder, which is looked at first anyway.
    if (colon != 0) folders.emplace_back(searchPath.substr(0, colon));
    searchPath = colon == std::string_view::npos ? std::string_view() : searchPath.substr(colon + 1);
  }
  return folders;
}

}  // namespace aplpatch
