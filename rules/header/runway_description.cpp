#include "rules/header/runway_description.h"

#include "engine/line_text.h"

namespace aplpatch {

void blankRunwayDescription(Pass& pass) {
  std::string& line = pass.line();
  if (contains(line, "RWY") && contains(line, kDescriptionKeyword)) line.assign("\n");
}

}  // namespace aplpatch
