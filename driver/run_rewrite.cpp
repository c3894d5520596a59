#include "driver/run_rewrite.h"

#include <string>

#include "driver/ctrl_z_stop.h"
#include "rules/rewrite_script.h"

namespace aplpatch {

bool rewriteForRun(ByteSource& script, ByteSink& out, Console& console) {
  StopAtCtrlZ input(script);
  bool written = rewriteScript(input, out, console);
  // A Ctrl-Z as the very last byte is a common end-of-file mark and loses nothing: no message.
  if (input.found() && input.bytesAfter() > 0) {
    console.print("Ctrl-Z after " + std::to_string(input.bytesBefore()) + " bytes ends the script; the " +
                  std::to_string(input.bytesAfter()) + " bytes after it are left out.\n");
  }
  return written;
}

}  // namespace aplpatch
