// The command line that starts the compiler, split again by the system's own rules.

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/command_line.h"
#include "platform/wide_text.h"

namespace aplpatch {
namespace {

std::vector<std::string> splitBySystem(const std::string& commandLine) {
  int count = 0;
  wchar_t** split = CommandLineToArgvW(toWide(commandLine).c_str(), &count);
  std::vector<std::string> arguments;
  for (int i = 0; split != nullptr && i < count; ++i) arguments.push_back(toUtf8(split[i]));
  LocalFree(split);
  return arguments;
}

TEST(WindowsCommandLine, SplitsBackIntoTheSameArguments) {
  const std::vector<std::vector<std::string>> cases = {
      {"aplc2.exe", "-e", "F.APL"},
      {"aplc2.exe", "-e", "C:\\my flights\\F 1.APL"},
      {"aplc2.exe", "-e", "C:\\my flights\\"},
      {"aplc2.exe", "-e", "\\\\server\\share\\x y\\\\"},
      {"aplc2.exe", "a \"quoted\" name", "\"", "\\\"", "\\\\\"", "x\\\\\"y z"},
      {"aplc2.exe", "", "tab\tinside", "two  blanks", "\xC5\x81\xC3\xB3" "d\xC5\xBA \xC3\xBC"},
      {"C:\\Program Files\\TR\\aplc2.exe", "-e", "trailing blank\\ "},
  };
  for (const std::vector<std::string>& arguments : cases) {
    std::string line = buildCommandLine(arguments[0], {arguments.begin() + 1, arguments.end()});
    SCOPED_TRACE(line);
    EXPECT_EQ(splitBySystem(line), arguments);
  }
}

}  // namespace
}  // namespace aplpatch
