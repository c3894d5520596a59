#include "commands/guided_start.h"

#include <string_view>

#include "base/ascii_case.h"
#include "commands/install.h"
#include "commands/program_name.h"
#include "driver/compiler_name.h"
#include "driver/run_patch.h"

namespace aplpatch {

namespace {

constexpr int kWrongCommandLine = -1;

std::string guide(const std::string& name) {
  return "\n" + name +
         " rewrites the adventure script of every flight that the flight-planning host\n"
         "generates (a key to request the descent, a key for a missed approach, transponder\n"
         "changes, supervision on the ground and more), then hands it to the adventure compiler.\n"
         "The host starts it: once it is installed, there is nothing to start by hand.\n"
         "\n"
         "To install it, run the installer, or give it the compiler that the host calls, in a\n"
         "console:\n"
         "  " + name + " --install \"PATH TO THE COMPILER\"\n"
         "(in PowerShell, in the folder of " + name + ": .\\" + name + " --install \"PATH TO THE COMPILER\")\n"
         "\n"
         "Every command: " + name + " --help\n";
}

bool endsWithExe(std::string_view path) {
  constexpr std::string_view kSuffix = ".exe";
  return path.size() > kSuffix.size() && equalIgnoringAsciiCase(path.substr(path.size() - kSuffix.size()), kSuffix);
}

// Whether `path` is a program file a pilot may have dropped on this one to install it: an existing
// file, neither this program's file nor a copy of it.
bool isDroppedCompiler(Platform& platform, const std::string& path) {
  if (!endsWithExe(path) || !platform.fileStamp(path).isFile) return false;
  if (platform.fullPath(path) == platform.runningProgramPath()) return false;
  MarkerSearch search = searchForMarker(platform, path);
  return search.status.ok() && !search.found;
}

bool isYes(std::string answer) {
  while (!answer.empty() && (answer.back() == ' ' || answer.back() == '\t')) answer.pop_back();
  while (!answer.empty() && (answer.front() == ' ' || answer.front() == '\t')) answer.erase(0, 1);
  return equalIgnoringAsciiCase(answer, "y") || equalIgnoringAsciiCase(answer, "yes");
}

// Says what installing in front of `compiler` does, asks, and installs on yes only.
void offerInstall(Platform& platform, ProgramConsole& console, const std::string& compiler) {
  const std::string name = startedName(platform);
  const std::string_view file = fileNameOf(compiler, platform.pathStyle());
  const std::string original = compiler.substr(0, compiler.size() - file.size()) + std::string(kCompilerName);
  console.print("\n" + compiler + " was dropped on " + name + ". Installing " + name +
                " in front of it\n"
                "renames it to " + original + " and puts a copy of " + name +
                " in its place, so that every\n"
                "flight of the host passes through " + name + " on its way to the compiler.\n" +
                name + " --uninstall \"" + compiler + "\" puts it back.\n"
                "Install " + name + " in front of " + compiler + "? Type y and press Enter: ");
  std::optional<std::string> answer = console.readLine();
  if (answer && isYes(*answer)) {
    installProgram(platform, console, compiler);
  } else {
    if (!answer) console.print("\n");
    console.print("Nothing was installed.\n");
  }
}

}  // namespace

void holdOwnWindow(ProgramConsole& console) {
  if (!console.ownsConsoleWindow()) return;
  console.print("Press Enter to close.\n");
  console.readLine();
}

int refuseWithGuidance(Platform& platform, ProgramConsole& console, const std::vector<std::string>& arguments,
                       const std::string& hint) {
  refuseCommandLine(console);
  if (arguments.empty()) {
    console.print(guide(startedName(platform)));
  } else if (arguments.size() == 1 && console.isInteractive() && isDroppedCompiler(platform, arguments[0])) {
    offerInstall(platform, console, arguments[0]);
  } else {
    console.print(hint + "\n");
  }
  holdOwnWindow(console);
  return kWrongCommandLine;
}

}  // namespace aplpatch
