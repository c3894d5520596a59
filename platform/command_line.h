#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace aplpatch {

// The command line that starts `program` with `arguments` on Windows, where a program receives one
// line of text and its C runtime splits it back into arguments. Each argument is written so that
// the runtime's rules give it back unchanged, blanks, quotes and backslashes included; the program
// name is quoted only when it holds a blank, as the runtime reads it up to the next quote.
std::string buildCommandLine(std::string_view program, const std::vector<std::string>& arguments);

// One argument as buildCommandLine() writes it.
std::string quoteArgument(std::string_view argument);

}  // namespace aplpatch
