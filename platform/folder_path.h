#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/status.h"
#include "platform/platform.h"

namespace aplpatch {

// `folder` followed by `name` inside it, with the platform's separator.
std::string pathInFolder(const Platform& platform, const std::string& folder, const std::string& name);

// Creates `folder` and every folder above it that is missing, from the top down; folders that are
// there already are fine. On failure, says which folder could not be created; the folders made
// before it stay (they are empty, and another try needs them too).
Status makeFolderPath(Platform& platform, const std::string& folder);

// What writeFileMakingFolders() does with a file that is there already.
enum class ExistingFile : std::uint8_t { replace, keep };

// Writes `text` as the file `path`, making the folders above it first: through a temporary file of
// its own, synced and renamed into place. With ExistingFile::keep a file that is there already (or
// that appears meanwhile) stays, and the failure's code is StatusCode::alreadyExists. On failure
// nothing is left in the folder, and the reason says which folder could not be made or "cannot
// write PATH: " and why, the system's code kept.
Status writeFileMakingFolders(Platform& platform, const std::string& path, std::string_view text,
                              ExistingFile existing);

}  // namespace aplpatch
