#include "driver/program_search.h"

namespace aplpatch {

std::string pathInFolder(std::string_view folder, std::string_view name, const PathStyle& style) {
  std::string path(folder);
  if (!path.empty() && style.nameSeparators.find(path.back()) == std::string_view::npos) path += style.separator;
  path += name;
  return path;
}

std::vector<std::string> programCandidates(std::string_view name, std::string_view programPath,
                                           const std::vector<std::string>& searchFolders, const PathStyle& style) {
  std::vector<std::string> candidates;
  std::string_view programName = fileNameOf(programPath, style);
  if (programName.size() < programPath.size())
    candidates.push_back(std::string(programPath.substr(0, programPath.size() - programName.size())) +
                         std::string(name));
  candidates.push_back(std::string(name));
  for (const std::string& folder : searchFolders) candidates.push_back(pathInFolder(folder, name, style));
  return candidates;
}

ProgramSearch findProgram(Platform& platform, std::string_view name) {
  ProgramSearch search;
  for (const std::string& candidate : programCandidates(name, platform.runningProgramPath(),
                                                        platform.searchPathFolders(), platform.pathStyle())) {
    ProgramFileCheck check = platform.checkProgramFile(candidate);
    if (check.startable) {
      search.found = candidate;
      search.foundFullPath = platform.fullPath(candidate);
      break;
    }
    if (check.found) search.passedOver.push_back(platform.fullPath(candidate) + ": " + check.reason);
  }
  return search;
}

std::optional<std::string> locateProgram(Platform& platform, std::string_view name) {
  return findProgram(platform, name).found;
}

}  // namespace aplpatch
