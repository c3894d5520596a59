#pragma once

#include <string>

#include "platform/platform.h"

namespace aplpatch {

// The name by which this program was started, as a pilot types it: its file's name without ".exe"
// ("aplpatch", or the compiler's name for an installed copy). "aplpatch" when the system does not
// say.
std::string startedName(Platform& platform);

}  // namespace aplpatch
