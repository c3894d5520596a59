#include "platform/folder_path.h"

#include <vector>

#include "platform/path_style.h"
#include "platform/temporary_file.h"

namespace aplpatch {

namespace {

// The folder that holds `path`: `path` up to its last separator; empty at the top.
std::string parentOf(const std::string& path, const PathStyle& style) {
  std::size_t end = path.find_last_not_of(style.nameSeparators);
  if (end == std::string::npos) return {};
  std::size_t separator = path.find_last_of(style.nameSeparators, end);
  if (separator == std::string::npos) return {};
  std::size_t kept = path.find_last_not_of(style.nameSeparators, separator);
  return kept == std::string::npos ? std::string() : path.substr(0, kept + 1);
}

}  // namespace

std::string pathInFolder(const Platform& platform, const std::string& folder, const std::string& name) {
  const PathStyle style = platform.pathStyle();
  if (folder.empty()) return name;
  if (style.nameSeparators.find(folder.back()) != std::string_view::npos) return folder + name;
  return folder + style.separator + name;
}

Status makeFolderPath(Platform& platform, const std::string& folder) {
  // "C:\\Users\\p\\" and "C:\\Users\\p" are the same folder; the root stays as it is.
  std::string start = folder;
  const std::string_view separators = platform.pathStyle().nameSeparators;
  while (start.size() > 1 && separators.find(start.back()) != std::string_view::npos) start.pop_back();
  std::vector<std::string> missing;
  for (std::string path = start; !path.empty() && !platform.exists(path);
       path = parentOf(path, platform.pathStyle()))
    missing.push_back(path);
  for (auto path = missing.rbegin(); path != missing.rend(); ++path) {
    Status made = platform.makeFolder(*path);
    if (!made.ok()) return Status::failure("cannot create folder " + *path + ": " + made.reason());
  }
  return Status::success();
}

Status writeFileMakingFolders(Platform& platform, const std::string& path, std::string_view text,
                              ExistingFile existing) {
  const std::string_view name = fileNameOf(path, platform.pathStyle());
  Status status = makeFolderPath(platform, path.substr(0, path.size() - name.size()));
  if (!status.ok()) return status;
  TemporaryFile file(platform, path);
  status = file.create();
  if (status.ok()) {
    file.sink().write(text.data(), text.size());
    status = file.finish();
  }
  if (status.ok()) status = existing == ExistingFile::keep ? file.commitAsNew(path) : file.commitAs(path);
  return status.ok() ? status : Status::failure(status.code(), "cannot write " + path + ": " + status.reason());
}

}  // namespace aplpatch
