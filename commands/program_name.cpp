#include "commands/program_name.h"

#include <string_view>

#include "base/ascii_case.h"

namespace aplpatch {

std::string startedName(Platform& platform) {
  const std::string path = platform.runningProgramPath();
  std::string_view name = fileNameOf(path, platform.pathStyle());
  constexpr std::string_view kProgramSuffix = ".exe";
  if (name.size() > kProgramSuffix.size() &&
      equalIgnoringAsciiCase(name.substr(name.size() - kProgramSuffix.size()), kProgramSuffix))
    name.remove_suffix(kProgramSuffix.size());
  return name.empty() ? std::string("aplpatch") : std::string(name);
}

}  // namespace aplpatch
