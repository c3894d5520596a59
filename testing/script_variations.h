#pragma once

// Variations of a script for the tests of the switches: the kinds of damage a generated script
// may carry (triggers repeated or out of place, closing lines missing), made the same way on every
// run and every platform for a given seed.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace aplpatch::testing {

struct ScriptVariation {
  std::string script;  // LF line ends
  std::string made;    // what was done, e.g. "copied line 12 before line 40; dropped line 7"
};

// Every distinct text that the standard line rules' triggers name, in table order.
std::vector<std::string_view> ruleTriggerTexts();

// `count` variations of `script` (LF or CR LF line ends), each with one to three changes: a line
// copied next to itself or elsewhere (lines that hold a trigger text are picked more often), a line
// dropped (a closing line, ENDIF, ENDWHILE or RETURN, more often), or one of `triggerTexts` put in
// as a line of its own. The same seed gives the same variations.
std::vector<ScriptVariation> scriptVariations(std::string_view script,
                                              std::span<const std::string_view> triggerTexts,
                                              std::uint32_t seed, int count);

}  // namespace aplpatch::testing
