#include "rules/ground/message_language.h"

#include "engine/line_text.h"

namespace aplpatch {

void detectMessageLanguage(Pass& pass) {
  const std::string& line = pass.line();
  if (!contains(line, "PRINT")) return;
  MessageLanguage& language = pass.state().messageLanguage;
  if (contains(line, kEnglishTransponderText)) language = MessageLanguage::english;
  if (contains(line, kGermanTransponderText)) language = MessageLanguage::german;
}

}  // namespace aplpatch
