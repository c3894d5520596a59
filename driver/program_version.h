#pragma once

#include <string_view>

namespace aplpatch {

// "aplpatch" and the version the build was made from, as the help and the run's log give it.
std::string_view programNameAndVersion();

}  // namespace aplpatch
