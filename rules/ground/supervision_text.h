#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// Helpers for the text of the generated supervisions.

// Writes one sound line: `before`, the sound root and `after`. While no sound root has been seen,
// only the text around it is written.
inline void writeSoundLine(Pass& pass, std::string_view before, std::string_view after) {
  pass.write(before);
  pass.write(pass.state().soundRoot);
  pass.write(after);
}

// The script's message language picks the German text; English serves both English scripts and
// scripts whose language is not known yet.
inline std::string_view inMessageLanguage(Pass& pass, std::string_view english,
                                          std::string_view german) {
  return pass.state().messageLanguage == MessageLanguage::german ? german : english;
}

}  // namespace aplpatch
