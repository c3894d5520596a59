#include "driver/program_search.h"

namespace aplpatch {

namespace {

void addCandidate(std::vector<std::string>& candidates, const std::string& folder, std::string_view name) {
  if (folder.empty()) return;
  std::string path = folder;
  if (path.back() != '\\' && path.back() != '/') path += '\\';
  path += name;
  candidates.push_back(std::move(path));
}

}  // namespace

std::vector<std::string> programCandidates(std::string_view name, std::string_view searchPath) {
  std::vector<std::string> candidates = {std::string(name)};
  if (name.find_first_of("\\/:") != std::string_view::npos) return candidates;

  std::string folder;
  bool quoted = false;
  for (char c : searchPath) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ';' && !quoted) {
      addCandidate(candidates, folder, name);
      folder.clear();
    } else {
      folder += c;
    }
  }
  addCandidate(candidates, folder, name);
  return candidates;
}

}  // namespace aplpatch
