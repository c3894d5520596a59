#include "rules/header/welcome_notice.h"

#include <string>
#include <string_view>

#include "engine/line_text.h"

namespace aplpatch {

namespace {

// Rebuilds a German key hint around the line's first bracketed text. Returns false, leaving the
// line as it is, when no "(" is followed later by a ")".
bool rewordGermanHint(std::string& line, std::string& scratch) {
  const std::size_t open = line.find('(');
  if (open == std::string::npos) return false;
  const std::size_t close = line.find(')', open);
  if (close == std::string::npos) return false;
  scratch.assign("PRINT\"Der Tastencode ");
  scratch.append(line, open, close - open + 1);
  scratch.append(" bewirkt jetzt eine Anfrage zum Sinkflug.\"\n");
  line.swap(scratch);
  return true;
}

}  // namespace

void openWelcomeNotice(Pass& pass) {
  if (!contains(pass.line(), kWelcomeLabel)) return;
  pass.print("SUBPROC for welcome message found\n");
  pass.state().openBlock = OpenBlock::welcome;
}

void insertPatchNotice(Pass& pass) {
  RewriteState& state = pass.state();
  if (state.openBlock != OpenBlock::welcome) return;
  std::string& line = pass.line();

  if (contains(line, kGermanKeyHint)) {
    pass.print("insert patch message\n");
    pass.write("PRINT\"(Dieses Adventure ist gepatched von J. Morvensk)\"\n");
    pass.write("WAIT MESSAGE\n");
    if (state.hintAtDescentRequest) rewordGermanHint(line, pass.scratch());
    state.openBlock = OpenBlock::none;
  }

  // Tested on the line as the German test left it, even when that test closed the block.
  const std::size_t hint = line.find(kEnglishKeyHint);
  if (hint != std::string::npos) {
    pass.print("insert patch message\n");
    pass.write("PRINT\"(This Adventure is patched by J. Morvensk)\"\n");
    pass.write("WAIT MESSAGE\n");
    if (state.hintAtDescentRequest) {
      line.resize(hint);
      line.append("FOR REQUESTING DESCENT!\"\n");
    }
    state.openBlock = OpenBlock::none;
  }
}

}  // namespace aplpatch
