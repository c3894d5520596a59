#pragma once

#include <string_view>

namespace aplpatch {

// The file name of the real adventure compiler: a run looks for it and starts it, and an install
// gives the compiler that aplpatch replaces this name.
inline constexpr std::string_view kCompilerName = "aplc2.exe";

}  // namespace aplpatch
