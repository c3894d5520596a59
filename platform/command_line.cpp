#include "platform/command_line.h"

namespace aplpatch {

std::string quoteArgument(std::string_view argument) {
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string_view::npos)
    return std::string(argument);

  // Inside quotes, backslashes are literal unless a quote follows them: then each pair stands for
  // one backslash and a single one escapes the quote. So double every run of backslashes that
  // ends at a quote, including the closing one.
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      quoted.append(2 * backslashes + 1, '\\');
    } else {
      quoted.append(backslashes, '\\');
    }
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, '\\');
  quoted += '"';
  return quoted;
}

std::string buildCommandLine(std::string_view program, const std::vector<std::string>& arguments) {
  std::string line;
  if (program.find_first_of(" \t") != std::string_view::npos) {
    line += '"';
    line += program;
    line += '"';
  } else {
    line += program;
  }
  for (const std::string& argument : arguments) {
    line += ' ';
    line += quoteArgument(argument);
  }
  return line;
}

}  // namespace aplpatch
