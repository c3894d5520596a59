#include "rules/radio/sound_root.h"

#include <string>
#include <string_view>

#include "engine/line_text.h"

namespace aplpatch {

void captureSoundRoot(Pass& pass) {
  std::string& root = pass.state().soundRoot;
  const std::string& line = pass.line();
  if (!root.empty() || !contains(line, kPlayStart)) return;
  constexpr std::string_view kSoundFolder = "\\WAV\\";
  const std::size_t folder = line.find(kSoundFolder);
  if (folder == std::string::npos) return;
  root.assign(line, 0, folder + kSoundFolder.size());
}

}  // namespace aplpatch
