#pragma once

#include <string>

#include "base/status.h"
#include "platform/platform.h"

namespace aplpatch {

// `folder` followed by `name` inside it, with the platform's separator.
std::string pathInFolder(const Platform& platform, const std::string& folder, const std::string& name);

// Creates `folder` and every folder above it that is missing, from the top down; folders that are
// there already are fine. On failure, says which folder could not be created; the folders made
// before it stay (they are empty, and another try needs them too).
Status makeFolderPath(Platform& platform, const std::string& folder);

}  // namespace aplpatch
