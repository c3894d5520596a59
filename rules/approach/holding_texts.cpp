#include "rules/approach/holding_texts.h"

#include <string>
#include <string_view>

#include "engine/line_text.h"

namespace aplpatch {

namespace {

// Removes the text from the first `start` up to, not including, the first `end` found from the
// byte after the start text's first letter.
void cutSpan(std::string& line, std::string_view start, std::string_view end) {
  const std::size_t from = line.find(start);
  if (from == std::string::npos) return;
  const std::size_t to = line.find(end, from + 1);
  if (to == std::string::npos) return;
  line.erase(from, to - from);
}

}  // namespace

void shortenEnglishHoldingText(Pass& pass) {
  if (contains(pass.line(), kEnglishHoldingText)) cutSpan(pass.line(), "MAINTAIN ", "FIX");
}

void shortenGermanHoldingText(Pass& pass) {
  if (contains(pass.line(), kGermanHoldingText)) cutSpan(pass.line(), "GEHEN SIE AUF ", "KURS ");
}

}  // namespace aplpatch
