#include "engine/pass.h"

#include "engine/line_text.h"

namespace aplpatch {

bool LinePass::readNextLine() {
  if (inputExhausted_ || !reader_.readLine(line_)) {
    line_.clear();
    inputExhausted_ = true;
    return false;
  }
  return true;
}

bool LinePass::skipUntil(std::string_view text) {
  const int from = reader_.lineNumber();
  bool found = false;
  while (readNextLine()) {
    if (contains(line_, text)) {
      found = true;
      break;
    }
  }
  if (readOns_ != nullptr) {
    readOns_->add({readOns_->ruleNamed(origin_), from, reader_.lineNumber(), text, found});
  }
  return found;
}

bool LinePass::lookAhead(std::string& buffer) {
  if (inputExhausted_ || !reader_.readLine(buffer)) {
    inputExhausted_ = true;
    return false;
  }
  return true;
}

}  // namespace aplpatch
