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
  do {
    if (!readNextLine()) return false;
  } while (!contains(line_, text));
  return true;
}

bool LinePass::lookAhead(std::string& buffer) {
  if (inputExhausted_ || !reader_.readLine(buffer)) {
    inputExhausted_ = true;
    return false;
  }
  return true;
}

}  // namespace aplpatch
