#include "rules/ground/message_language.h"

#include "engine/line_text.h"

namespace aplpatch {

void detectMessageLanguage(Pass& pass) {
  const std::string& line = pass.line();
  if (!contains(line, "PRINT")) return;
  if (contains(line, kEnglishTransponderText)) pass.state().messageLanguage = MessageLanguage::english;
  if (contains(line, kGermanTransponderText)) pass.state().messageLanguage = MessageLanguage::german;
}

}  // namespace aplpatch
