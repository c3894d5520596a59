#include "driver/program_search.h"

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

std::string pathInFolder(std::string_view folder, std::string_view name, const PathStyle& style) {
  std::string path(folder);
  if (!path.empty() && style.nameSeparators.find(path.back()) == std::string_view::npos) path += style.separator;
  path += name;
  return path;
}

std::vector<std::string> programCandidates(std::string_view name, std::string_view programPath,
                                           const std::vector<std::string>& searchFolders, const PathStyle& style) {
  std::vector<std::string> candidates = {std::string(name)};
  std::string_view programName = fileNameOf(programPath, style);
  if (programName.size() < programPath.size())
    candidates.push_back(std::string(programPath.substr(0, programPath.size() - programName.size())) +
                         std::string(name));
  for (const std::string& folder : searchFolders) candidates.push_back(pathInFolder(folder, name, style));
  return candidates;
}

std::optional<std::string> locateProgram(Platform& platform, std::string_view name) {
  for (const std::string& candidate : programCandidates(name, platform.runningProgramPath(),
                                                        platform.searchPathFolders(), platform.pathStyle())) {
    if (platform.isProgramFile(candidate)) return candidate;
  }
  return std::nullopt;
}

}  // namespace aplpatch
