#pragma once

#include <string>
#include <vector>

namespace aplpatch {

// The body of a program. Each program defines it once; the platform's entry point calls it with
// the command-line arguments after the program name, in UTF-8, and ends the process with the
// status it returns.
int programMain(const std::vector<std::string>& arguments);

}  // namespace aplpatch
