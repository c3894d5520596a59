#include "driver/run_rewrite.h"

#include <string>

#include "driver/ctrl_z_stop.h"

namespace aplpatch {

RewriteReport rewriteForRun(ByteSource& script, ByteSink& out, Console& console, const FeatureSwitches& switches,
                            StructureCheck* structure, LabelCheck* labels) {
  StopAtCtrlZ input(script);
  ByteSource& watched = structure != nullptr ? structure->watchInput(input) : input;
  ByteSink& watching = structure != nullptr ? structure->watchOutput(out) : out;
  ByteSource& source = labels != nullptr ? labels->watchInput(watched) : watched;
  ByteSink& sink = labels != nullptr ? labels->watchOutput(watching) : watching;
  RewriteReport report = rewriteScript(source, sink, console, switches);
  // A Ctrl-Z as the very last byte is a common end-of-file mark and loses nothing: no message.
  if (input.found() && input.bytesAfter() > 0) {
    console.print("Ctrl-Z after " + std::to_string(input.bytesBefore()) + " bytes ends the script; the " +
                  std::to_string(input.bytesAfter()) + " bytes after it are left out.\n");
  }
  return report;
}

}  // namespace aplpatch
