#include "commands/commands.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "base/nearest_name.h"
#include "commands/guided_start.h"
#include "commands/install.h"
#include "commands/preview.h"
#include "commands/program_name.h"
#include "commands/settings_commands.h"
#include "commands/status_command.h"
#include "driver/program_version.h"
#include "driver/run_patch.h"

namespace aplpatch {

namespace {

struct Command {
  std::string_view option;
  std::string_view argument;  // the name of its one argument, or empty when it takes none
  std::string_view description;
  // Null for the run itself.
  int (*run)(Platform& platform, ProgramConsole& console, const std::string& argument);
};

int showHelp(Platform& platform, ProgramConsole& console, const std::string&);
int showVersion(Platform& platform, ProgramConsole& console, const std::string&);

// Every command, in the order the help lists them.
constexpr std::array kCommands = {
    Command{"-e", "SCRIPT", "back SCRIPT up, rewrite it in place, then run aplc2.exe -e SCRIPT", nullptr},
    Command{"--preview", "SCRIPT",
            "print SCRIPT as a run would rewrite it; messages and briefing to stderr",
            previewScript},
    Command{"--settings", "", "show where aplpatch.ini is looked for and which features it switches off",
            showSettings},
    Command{"--write-settings", "", "write your own aplpatch.ini with every feature explained",
            writeSettings},
    Command{"--status", "", "show the version, the install, the settings and your last flight's keys and log",
            showStatus},
    Command{"--install", "COMPILER",
            "put aplpatch in the place of the compiler COMPILER, renamed to aplc2.exe",
            installProgram},
    Command{"--uninstall", "COMPILER", "put the adventure compiler back in the place of COMPILER",
            uninstallProgram},
    Command{"--help", "", "show this text (also -h, and /? on Windows)", showHelp},
    Command{"--version", "", "show the name and version", showVersion},
};

// "aplpatch --install COMPILER", as the program was started.
std::string usage(const Command& command, const std::string& name) {
  std::string text = name + " " + std::string(command.option);
  if (!command.argument.empty()) text += " " + std::string(command.argument);
  return text;
}

int showHelp(Platform& platform, ProgramConsole& console, const std::string&) {
  const std::string name = startedName(platform);
  std::string text = std::string(programNameAndVersion()) +
                     ": rewrites the adventure script that the flight-planning host\n"
                     "generated, then runs the adventure compiler aplc2.exe on it. Installed in the\n"
                     "compiler's place, it is called with the compiler's command line.\n\n";
  for (const Command& command : kCommands)
    text += "  " + usage(command, name) + "\n      " + std::string(command.description) + "\n";
  text +=
      "\naplc2.exe is looked for beside " + name + ", in the working folder, then on PATH.\n"
      "The folder apl beside SCRIPT keeps SCRIPT as generated, SCRIPT.new as\n"
      "rewritten and SCRIPT.log, the record of the last run and its briefing.\n"
      "aplpatch.ini switches features off: your own (" + name + " --settings says where) is\n"
      "read when it is there, else the one beside " + name + ".\n";
  console.print(text);
  return 0;
}

// The one line that points a wrong command line at the help: how a command is written when it was
// given the wrong arguments, the command that a slip most likely meant.
std::string hintFor(Platform& platform, const std::vector<std::string>& arguments) {
  const std::string name = startedName(platform);
  const std::string help = name + " --help shows every command.";
  if (arguments.empty()) return help;
  std::vector<std::string_view> options;
  for (const Command& command : kCommands) {
    if (command.option == arguments[0]) return "Usage: " + usage(command, name) + ". " + help;
    options.push_back(command.option);
  }
  std::string_view nearest = nearestName(arguments[0], options);
  for (const Command& command : kCommands) {
    if (command.option == nearest && !nearest.empty())
      return "Did you mean " + usage(command, name) + "? " + help;
  }
  return help;
}

int showVersion(Platform&, ProgramConsole& console, const std::string&) {
  console.print(std::string(programNameAndVersion()) + "\n");
  return 0;
}

// The exit status of the command that `arguments` ask for; nothing when they ask for none.
std::optional<int> runOtherCommand(Platform& platform, ProgramConsole& console,
                                   const std::vector<std::string>& arguments) {
  if (arguments.empty() || arguments.size() > 2) return std::nullopt;
  std::string_view option = arguments[0];
  // The usual short forms of asking for help; "/?" only where options are written so.
  if (option == "-h" || (option == "/?" && platform.pathStyle().separator == '\\')) option = "--help";
  for (const Command& command : kCommands) {
    if (command.run == nullptr || command.option != option) continue;
    if (arguments.size() != (command.argument.empty() ? 1u : 2u)) return std::nullopt;
    return command.run(platform, console, arguments.size() == 2 ? arguments[1] : std::string());
  }
  return std::nullopt;
}

}  // namespace

int runCommandLine(Platform& platform, ProgramConsole& console, const std::vector<std::string>& arguments) {
  if (std::optional<int> status = runOtherCommand(platform, console, arguments)) return *status;
  if (isRunCommandLine(arguments)) return runPatch(platform, console, arguments);
  return refuseWithGuidance(platform, console, arguments, hintFor(platform, arguments));
}

}  // namespace aplpatch
