#include "driver/run_rewrite.h"

#include <string>

#include "driver/ctrl_z_stop.h"

namespace aplpatch {

RewriteReport rewriteForRun(ByteSource& script, ByteSink& out, Console& console, const FeatureSwitches& switches,
                            StructureCheck* structure) {
  StopAtCtrlZ input(script);
  ByteSource& source = structure != nullptr ? structure->watchInput(input) : input;
  ByteSink& sink = structure != nullptr ? structure->watchOutput(out) : out;
  RewriteReport report = rewriteScript(source, sink, console, switches);
  // A Ctrl-Z as the very last byte is a common end-of-file mark and loses nothing: no message.
  if (input.found() && input.bytesAfter() > 0) {
    console.print("Ctrl-Z after " + std::to_string(input.bytesBefore()) + " bytes ends the script; the " +
                  std::to_string(input.bytesAfter()) + " bytes after it are left out.\n");
  }
  return report;
}

}  // namespace aplpatch
