// The entry point on Windows. It takes the arguments in UTF-16 (linked with -municode): a narrow
// main() would receive them in the ANSI code page, with every letter outside it replaced.

#include <string>
#include <vector>

#include "platform/program_main.h"
#include "platform/wide_text.h"

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(aplpatch::toUtf8(argv[i]));
  return aplpatch::programMain(arguments);
}
