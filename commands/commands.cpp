#include "commands/commands.h"

#include <array>
#include <optional>
#include <string_view>

#include "commands/install.h"
#include "commands/preview.h"
#include "commands/settings_commands.h"
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
    Command{"--write-settings", "", "write aplpatch.ini beside aplpatch with every feature on and explained",
            writeSettings},
    Command{"--install", "COMPILER",
            "put aplpatch in the place of the compiler COMPILER, renamed to aplc2.exe",
            installProgram},
    Command{"--uninstall", "COMPILER", "put the adventure compiler back in the place of COMPILER",
            uninstallProgram},
    Command{"--help", "", "show this text (also -h, and /? on Windows)", showHelp},
    Command{"--version", "", "show the name and version", showVersion},
};

int showHelp(Platform&, ProgramConsole& console, const std::string&) {
  std::string text = std::string(programNameAndVersion()) +
                     ": rewrites the adventure script that the flight-planning host\n"
                     "generated, then runs the adventure compiler aplc2.exe on it. Installed in the\n"
                     "compiler's place, it is called with the compiler's command line.\n\n";
  for (const Command& command : kCommands) {
    text += "  aplpatch " + std::string(command.option);
    if (!command.argument.empty()) text += " " + std::string(command.argument);
    text += "\n      " + std::string(command.description) + "\n";
  }
  text +=
      "\naplc2.exe is looked for beside aplpatch, in the working folder, then on PATH.\n"
      "The folder apl beside SCRIPT keeps SCRIPT as generated, SCRIPT.new as\n"
      "rewritten and SCRIPT.log, the record of the last run and its briefing.\n"
      "aplpatch.ini beside aplpatch, when it is there, switches features off.\n";
  console.print(text);
  return 0;
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
  return runPatch(platform, console, arguments);
}

}  // namespace aplpatch
