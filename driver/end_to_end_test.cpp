// Runs the real program on real files, with the stand-in compiler on the search path.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>
#include <string_view>
#include <string>
#include <vector>

#include "commands/install.h"
#include "testing/test_files.h"
#include "testing/test_support.h"

extern char** environ;

namespace aplpatch {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::ScratchFolder;
using testing::writeBytes;

constexpr const char* kScript = "start:\r\nwait 2\r\nende:\r\n";
constexpr const char* kRewrittenLines = "START:\r\nWAIT 2\r\nDESCRIPTION \"PATCHED BY JM\"\r\nENDE:\r\n";

struct Finished {
  int status;          // the exit status, or 128 + the signal that ended the program
  std::string output;  // standard output and standard error together
};

enum class Console { kCaptured, kClosed };

// Starts `arguments[0]` in `folder` with `environment` and waits for it; its output goes to `capture`,
// or its standard output to a pipe that nobody reads; its standard error to `errorCapture` if given.
Finished runProgram(const std::string& folder, const std::vector<std::string>& arguments,
                    const std::map<std::string, std::string>& environment, const std::string& capture,
                    Console console = Console::kCaptured, const std::string& errorCapture = "") {
  std::vector<std::string> variables;
  for (const auto& [name, value] : environment) variables.push_back(name + "=" + value);
  std::vector<char*> argv;
  std::vector<char*> envp;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  for (const std::string& variable : variables) envp.push_back(const_cast<char*>(variable.c_str()));
  argv.push_back(nullptr);
  envp.push_back(nullptr);

  int closedPipe[2] = {-1, -1};
  if (console == Console::kClosed) {
    if (::pipe(closedPipe) != 0) return {-1, "no pipe"};
    ::close(closedPipe[0]);
  }
  pid_t child = ::fork();
  if (child == 0) {
    int out = ::open(capture.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int standardOutput = console == Console::kClosed ? closedPipe[1] : out;
    if (out < 0 || ::chdir(folder.c_str()) != 0) ::_exit(126);
    int error = errorCapture.empty() ? out : ::open(errorCapture.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (error < 0 || ::dup2(standardOutput, 1) < 0 || ::dup2(error, 2) < 0) ::_exit(126);
    ::execve(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  if (closedPipe[1] >= 0) ::close(closedPipe[1]);
  int waitStatus = 0;
  ::waitpid(child, &waitStatus, 0);
  int status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
  return {status, readBytes(capture).value_or("")};
}

std::set<std::string> namesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename());
  return names;
}

class EndToEnd : public ::testing::Test {
 protected:
  ScratchFolder work;     // the host's working directory
  ScratchFolder records;  // what the tests capture, outside the working directory

  std::map<std::string, std::string> environment() const {
    std::map<std::string, std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable) {
      std::string text = *variable;
      std::size_t equals = text.find('=');
      if (equals != std::string::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    variables["PATH"] = fs::path(APLPATCH_STANDIN_COMPILER).parent_path().string() + ":/usr/bin:/bin";
    variables["APLC2_STANDIN_LOG"] = records / "compiler.log";
    variables.erase("APLC2_STANDIN_EXIT");
    // The user's own folders are this test's, so that no settings of the user's count.
    variables["XDG_CONFIG_HOME"] = records / "config";
    variables["XDG_STATE_HOME"] = records / "state";
    return variables;
  }

  Finished patch(const std::vector<std::string>& arguments, std::map<std::string, std::string> variables,
                 Console console = Console::kCaptured) {
    std::vector<std::string> command = {APLPATCH_PROGRAM};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return runProgram(work.path().string(), command, variables, records / "console.txt", console);
  }
  Finished patch(const std::vector<std::string>& arguments) { return patch(arguments, environment()); }

  std::string compilerLog() const { return readBytes(records / "compiler.log").value_or(""); }
};

TEST_F(EndToEnd, RewritesTheScriptInPlaceAndKeepsBothVersions) {
  writeBytes(work / "F.APL", kScript);
  Finished run = patch({"-e", "F.APL"});
  ASSERT_EQ(run.status, 0) << run.output;

  std::string rewritten = testing::rewriteWhole(kScript).bytes;
  EXPECT_EQ(rewritten.rfind(kRewrittenLines, 0), 0u);
  EXPECT_EQ(readBytes(work / "F.APL"), rewritten);
  EXPECT_EQ(namesIn(work.path()), (std::set<std::string>{"F.APL", "apl"}));
  EXPECT_EQ(namesIn(work / "apl"), (std::set<std::string>{"F.APL", "F.APL.log", "F.APL.new"}));
  EXPECT_EQ(readBytes(work / "apl/F.APL"), kScript);
  EXPECT_EQ(readBytes(work / "apl/F.APL.new"), rewritten);

  EXPECT_EQ(run.output,
            "TALKRADAR patch started...\n"
            "saving old generated APL file F.APL ...\n"
            "inserting missing RETURNS ...\n"
            "analysis done\n"
            "saving new generated APL file F.APL.new ...\n"
            "running original ADV generator...\n"
            "aplc2.exe stand-in: not the adventure compiler, compiles nothing\n"
            "arguments: [-e] [F.APL]\n"
            "script F.APL: " + std::to_string(rewritten.size()) + " bytes\n"
            "Keys: none added. Log: apl/F.APL.log\n");
  EXPECT_EQ(compilerLog(), "-e\nF.APL\n--\n");
  // The user's last run, for --status.
  const std::string record = readBytes(records / "state/aplpatch/last-run.txt").value_or("");
  EXPECT_NE(record.find("\r\nscript: " + fs::canonical(work.path()).string() + "/F.APL\r\n"), std::string::npos)
      << record;
  EXPECT_NE(record.find("\r\noutcome: rewritten, compiler exit status 0\r\n"), std::string::npos) << record;
}

TEST_F(EndToEnd, KeepsTheBackupBesideTheScriptWhicheverSeparatorsThePathUses) {
  struct Case {
    std::string folder;  // created inside the working directory
    std::string script;  // as the host passes it
    std::string backupFolder;
  };
  const std::vector<Case> cases = {
      {"", "F 1.APL", "apl"},
      {"my flights", "my flights/F 1.APL", "my flights/apl"},
      {"a&b", "a&b/F&echo x;\"q\".APL", "a&b/apl"},
      {"", "C:\\TR&R\\F 2.APL", "C:\\TR&R\\apl"},
      {"abs path", (work / "abs path") + "/F.APL", (work / "abs path") + "/apl"},
      // On POSIX a backslash is part of a name, yet the backup folder follows it all the same.
      {"mixed", "mixed/C:\\X\\F 3.APL", "mixed/C:\\X\\apl"},
  };
  std::string rewritten = testing::rewriteWhole(kScript).bytes;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    if (!c.folder.empty()) fs::create_directories(work / c.folder);
    std::string script = c.script[0] == '/' ? c.script : work / c.script;
    writeBytes(script, kScript);
    fs::remove(records / "compiler.log");

    Finished run = patch({"-e", c.script});
    ASSERT_EQ(run.status, 0) << run.output;
    std::string fileName = fs::path(c.script).filename().string();
    if (size_t backslash = fileName.rfind('\\'); backslash != std::string::npos)
      fileName.erase(0, backslash + 1);

    EXPECT_EQ(readBytes(script), rewritten);
    EXPECT_FALSE(fs::exists(script + ".new"));
    EXPECT_EQ(readBytes(work / (c.backupFolder + "/" + fileName)), kScript);
    EXPECT_EQ(readBytes(work / (c.backupFolder + "/" + fileName + ".new")), rewritten);
    EXPECT_EQ(compilerLog(), "-e\n" + c.script + "\n--\n");
    EXPECT_NE(run.output.find("saving old generated APL file " + c.script + " ...\n"), std::string::npos);
  }
}

TEST_F(EndToEnd, EndsWithTheCompilersExitStatus) {
  writeBytes(work / "F.APL", kScript);
  std::map<std::string, std::string> variables = environment();
  variables["APLC2_STANDIN_EXIT"] = "7";
  Finished run = patch({"-e", "F.APL"}, variables);
  EXPECT_EQ(run.status, 7);
  // Failing on the rewrite, the compiler got the script put back as generated, and failed again.
  EXPECT_NE(run.output.find("aplc2.exe failed on the rewritten F.APL with exit status 7: F.APL is put back as "
                            "generated and compiled again, without the additions.\n"
                            "running original ADV generator...\n"),
            std::string::npos)
      << run.output;
  EXPECT_EQ(readBytes(work / "F.APL"), kScript);
  EXPECT_EQ(compilerLog(), "-e\nF.APL\n--\n-e\nF.APL\n--\n");
  // What the compiler printed reached the console and is in the log too, for both runs.
  EXPECT_NE(run.output.find("aplc2.exe stand-in: not the adventure compiler"), std::string::npos);
  const std::string log = readBytes(work / "apl/F.APL.log").value_or("");
  for (const char* heading : {"aplc2.exe standard output:\r\n", "aplc2.exe standard output, as generated:\r\n"}) {
    EXPECT_NE(log.find(std::string(heading) + "  aplc2.exe stand-in: not the adventure compiler, compiles nothing\r\n"
                                              "  arguments: [-e] [F.APL]\r\n"),
              std::string::npos)
        << log;
  }
}

TEST_F(EndToEnd, ReportsACompilerThatCannotBeFoundBeforeChangingAnything) {
  writeBytes(work / "F.APL", kScript);
  std::map<std::string, std::string> variables = environment();
  variables["PATH"] = records / "nothing here";
  Finished run = patch({"-e", "F.APL"}, variables);
  EXPECT_EQ(run.status, 255);
  EXPECT_EQ(run.output,
            "TALKRADAR patch started...\n"
            "saving old generated APL file F.APL ...\n"
            "Cannot find aplc2.exe beside aplpatch, in the working folder or on PATH. F.APL is left as it was.\n");
  EXPECT_EQ(readBytes(work / "F.APL"), kScript);
  EXPECT_EQ(namesIn(work / "apl"), std::set<std::string>{"F.APL.log"});
}

TEST_F(EndToEnd, FindsTheCompilerBesideTheProgramWhenItIsNowhereElse) {
  // Installed as the README says: aplpatch and the compiler in one folder, the host working elsewhere.
  fs::path installed = records.path() / "compiler folder";
  fs::create_directory(installed);
  fs::copy_file(APLPATCH_PROGRAM, installed / "TR.EXE");
  fs::copy_file(APLPATCH_STANDIN_COMPILER, installed / "aplc2.exe");
  writeBytes(work / "F.APL", kScript);
  std::map<std::string, std::string> variables = environment();
  variables["PATH"] = records / "nothing here";
  Finished run = runProgram(work.path().string(), {(installed / "TR.EXE").string(), "-e", "F.APL"}, variables,
                            records / "console.txt");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(compilerLog(), "-e\nF.APL\n--\n");
  EXPECT_EQ(readBytes(work / "F.APL"), testing::rewriteWhole(kScript).bytes);
}

TEST_F(EndToEnd, StopsWhenTheScriptIsMissing) {
  Finished run = patch({"-e", "F.APL"});
  EXPECT_EQ(run.status, 255);
  EXPECT_EQ(run.output,
            "TALKRADAR patch started...\n"
            "saving old generated APL file F.APL ...\n"
            "Cannot open F.APL: No such file or directory.\n"
            "Program aborted. For use with TALKRADAR only.\n");
  EXPECT_EQ(namesIn(work.path()), std::set<std::string>{});
  EXPECT_EQ(compilerLog(), "");
}

TEST_F(EndToEnd, FinishesTheRunWhenTheConsoleHasGoneAway) {
  writeBytes(work / "F.APL", kScript);
  Finished run = patch({"-e", "F.APL"}, environment(), Console::kClosed);
  // Both aplpatch and the stand-in compiler lose their messages and carry on to the end.
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(readBytes(work / "F.APL"), testing::rewriteWhole(kScript).bytes);
  EXPECT_EQ(namesIn(work.path()), (std::set<std::string>{"F.APL", "apl"}));
  EXPECT_EQ(compilerLog(), "-e\nF.APL\n--\n");
}

TEST_F(EndToEnd, RewritesTheBundledExampleExactlyAsTheEngineDoes) {
  std::optional<std::string> example = readBytes(APLPATCH_EXAMPLE_SCRIPT);
  ASSERT_TRUE(example);
  writeBytes(work / "FLIGHT.APL", *example);
  Finished run = patch({"-e", "FLIGHT.APL"});
  ASSERT_EQ(run.status, 0) << run.output;
  testing::Rewritten expected = testing::rewriteWhole(*example);
  EXPECT_EQ(readBytes(work / "FLIGHT.APL"), expected.bytes);
  EXPECT_EQ(readBytes(work / "apl/FLIGHT.APL"), example);
  // The rules' messages come between the driver's, in order.
  EXPECT_NE(run.output.find("inserting missing RETURNS ...\n" + expected.console + "analysis done\n"),
            std::string::npos);
}

TEST_F(EndToEnd, ASecondRunLeavesTheFlightAndItsBackupsAsTheFirstLeftThem) {
  std::optional<std::string> flight = readBytes(APLPATCH_TESTDATA "/departure_and_landing.apl");
  ASSERT_TRUE(flight);
  writeBytes(work / "F.APL", *flight);
  ASSERT_EQ(patch({"-e", "F.APL"}).status, 0);
  const std::optional<std::string> rewritten = readBytes(work / "F.APL");
  const std::optional<std::string> rewrittenBackup = readBytes(work / "apl/F.APL.new");
  ASSERT_NE(rewritten, flight);

  Finished second = patch({"-e", "F.APL"});
  EXPECT_EQ(second.status, 0) << second.output;
  EXPECT_NE(second.output.find("F.APL is already patched: handed to the compiler unchanged.\n"), std::string::npos);
  EXPECT_EQ(readBytes(work / "F.APL"), rewritten);
  EXPECT_EQ(readBytes(work / "apl/F.APL"), flight);
  EXPECT_EQ(readBytes(work / "apl/F.APL.new"), rewrittenBackup);
  EXPECT_EQ(namesIn(work.path()), (std::set<std::string>{"F.APL", "apl"}));
  // Only the log is new: the first run's is kept as the generation before it.
  EXPECT_EQ(namesIn(work / "apl"), (std::set<std::string>{"F.APL", "F.APL.1.log", "F.APL.log", "F.APL.new"}));
}

TEST_F(EndToEnd, ALinkNamedAplIsNotFollowed) {
  fs::path elsewhere = records.path() / "elsewhere";
  fs::create_directory(elsewhere);
  writeBytes(elsewhere / "F.APL", "other data");
  fs::create_directory_symlink(elsewhere, work.path() / "apl");
  writeBytes(work / "F.APL", kScript);
  Finished run = patch({"-e", "F.APL"});
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("backup failed: cannot use folder apl: it is a link"), std::string::npos) << run.output;
  EXPECT_EQ(readBytes(work / "F.APL"), testing::rewriteWhole(kScript).bytes);
  EXPECT_EQ(namesIn(elsewhere), std::set<std::string>{"F.APL"});
  EXPECT_EQ(readBytes(elsewhere / "F.APL"), "other data");
}

TEST_F(EndToEnd, RemovesAStaleTemporaryAndKeepsOneThatARunIsWriting) {
  writeBytes(work / "F.APL", kScript);
  fs::create_directory(work.path() / "apl");
  writeBytes(work / "F.APL.k3x9q0ab.tmp", "killed run");
  writeBytes(work / "apl/F.APL.new.0123abcd.tmp", "killed run");
  writeBytes(work / "F.APL.K3X9Q0AB.tmp", "look-alike");
  writeBytes(work / "G.APL.k3x9q0ab.tmp", "look-alike");
  // Held as a run that writes it holds it.
  writeBytes(work / "F.APL.w0rk1ng0.tmp", "being written");
  int writer = ::open((work / "F.APL.w0rk1ng0.tmp").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(writer, 0);
  ASSERT_EQ(::flock(writer, LOCK_EX | LOCK_NB), 0);
  Finished run = patch({"-e", "F.APL"});
  ::close(writer);
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(namesIn(work.path()),
            (std::set<std::string>{"F.APL", "apl", "F.APL.K3X9Q0AB.tmp", "G.APL.k3x9q0ab.tmp", "F.APL.w0rk1ng0.tmp"}));
  EXPECT_EQ(namesIn(work / "apl"), (std::set<std::string>{"F.APL", "F.APL.log", "F.APL.new"}));
  EXPECT_NE(readBytes(work / "apl/F.APL.log").value_or("").find("\r\nstale temporaries removed: 2, kept: 1"),
            std::string::npos);
}

TEST_F(EndToEnd, TheCompilerBesideTheProgramWinsAndANonProgramIsPassedOver) {
  fs::path installed = records.path() / "compiler folder";
  fs::create_directory(installed);
  fs::copy_file(APLPATCH_PROGRAM, installed / "TR.EXE");
  fs::copy_file(APLPATCH_STANDIN_COMPILER, installed / "aplc2.exe");
  writeBytes(work / "F.APL", kScript);
  // In the working folder: a text file under the compiler's name, executable but no program.
  writeBytes(work / "aplc2.exe", "not a program\n");
  ::chmod((work / "aplc2.exe").c_str(), 0755);
  Finished run = runProgram(work.path().string(), {(installed / "TR.EXE").string(), "-e", "F.APL"}, environment(),
                            records / "console.txt");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(compilerLog(), "-e\nF.APL\n--\n");
  std::string log = readBytes(work / "apl/F.APL.log").value_or("");
  EXPECT_NE(log.find("compiler file: " + (installed / "aplc2.exe").string() + "\r\n"), std::string::npos) << log;

  // Beside the program a folder of that name: passed over, and the working folder's text file too.
  fs::remove(installed / "aplc2.exe");
  fs::create_directory(installed / "aplc2.exe");
  writeBytes(work / "F.APL", kScript);
  run = runProgram(work.path().string(), {(installed / "TR.EXE").string(), "-e", "F.APL"}, environment(),
                   records / "console.txt");
  EXPECT_EQ(run.status, 0) << run.output;
  log = readBytes(work / "apl/F.APL.log").value_or("");
  EXPECT_NE(log.find("compiler passed over: " + (installed / "aplc2.exe").string() + ": a folder\r\n"
                     "compiler passed over: " + (work / "aplc2.exe") +
                     ": not a program that the system can start: Exec format error\r\n"
                     "compiler file: " + std::string(APLPATCH_STANDIN_COMPILER) + "\r\n"),
            std::string::npos)
      << log;
}

TEST_F(EndToEnd, NamesUpToTheLimitAreRewrittenBackedUpAndLogged) {
  for (std::size_t length : {230, 239, 243, 250, 255}) {
    SCOPED_TRACE(length);
    const std::string name = std::string(length - 4, 'f') + ".APL";
    writeBytes(work / name, kScript);
    Finished run = patch({"-e", name});
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(readBytes(work / name), testing::rewriteWhole(kScript).bytes);
    EXPECT_EQ(readBytes(work / ("apl/" + name)), kScript);
    std::set<std::string> backups = namesIn(work / "apl");
    EXPECT_EQ(backups.size(), 3u);
    int logs = 0;
    for (const std::string& backup : backups) logs += backup.ends_with(".log");
    EXPECT_EQ(logs, 1);
    EXPECT_EQ(namesIn(work.path()), (std::set<std::string>{name, "apl"}));
    fs::remove_all(work.path() / "apl");
    fs::remove(work / name);
  }
}

TEST_F(EndToEnd, PreviewWritesTheBytesARunPutsInPlaceAndChangesNothing) {
  std::optional<std::string> example = readBytes(APLPATCH_EXAMPLE_SCRIPT);
  ASSERT_TRUE(example);
  writeBytes(work / "FLIGHT.APL", *example);
  Finished preview = runProgram(work.path().string(), {APLPATCH_PROGRAM, "--preview", "FLIGHT.APL"}, environment(),
                                records / "preview.txt", Console::kCaptured, records / "messages.txt");
  EXPECT_EQ(preview.status, 0);
  // The rules' messages, then the flight's briefing.
  EXPECT_EQ(readBytes(records / "messages.txt"),
            testing::rewriteWhole(*example).console +
                readBytes(APLPATCH_TESTDATA "/sample_flight.briefing.txt").value_or("no golden briefing"));
  EXPECT_EQ(namesIn(work.path()), std::set<std::string>{"FLIGHT.APL"});
  EXPECT_EQ(compilerLog(), "");

  ASSERT_EQ(patch({"-e", "FLIGHT.APL"}).status, 0);
  EXPECT_EQ(readBytes(work / "FLIGHT.APL"), preview.output);
}

TEST_F(EndToEnd, GoesByTheSettingsFileBesideTheProgramAndNeverWaitsOnOne) {
  // A copy of the program in a folder of its own, so that the settings file there is this test's.
  const fs::path installed = records.path() / "installed";
  fs::create_directory(installed);
  fs::copy_file(APLPATCH_PROGRAM, installed / "aplpatch");
  const std::string settings = fs::canonical(installed).string() + "/aplpatch.ini";
  const std::string example = readBytes(APLPATCH_EXAMPLE_SCRIPT).value_or("");
  auto run = [&] {
    writeBytes(work / "FLIGHT.APL", example);
    return runProgram(work.path().string(), {(installed / "aplpatch").string(), "-e", "FLIGHT.APL"}, environment(),
                      records / "console.txt");
  };

  writeBytes(settings, "\xEF\xBB\xBF[Features]\r\nmissed-approach = off\r\n");
  Finished switched = run();
  EXPECT_EQ(switched.status, 0) << switched.output;
  EXPECT_TRUE(switched.output.starts_with("TALKRADAR patch started...\nsettings file " + settings +
                                          ": switched off: missed-approach\nsaving old generated APL file"))
      << switched.output;
  EXPECT_EQ(readBytes(work / "FLIGHT.APL").value_or("").find("GOSUB MISSED_APP_KEY"), std::string::npos);

  // A FIFO in its place is refused at once: the run neither waits nor fails.
  fs::remove(settings);
  ASSERT_EQ(::mkfifo(settings.c_str(), 0644), 0);
  Finished fifo = run();
  EXPECT_EQ(fifo.status, 0) << fifo.output;
  EXPECT_NE(fifo.output.find("\n" + settings + " cannot be read: not a regular file; ignored\n"), std::string::npos);
  EXPECT_EQ(readBytes(work / "FLIGHT.APL"), testing::rewriteWhole(example).bytes);
}

// Every file of `folder` with its bytes and permissions.
std::map<std::string, std::string> snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    auto permissions = static_cast<unsigned>(entry.status().permissions());
    files[entry.path().filename()] = std::to_string(permissions) + ":" + readBytes(entry.path()).value_or("?");
  }
  return files;
}

std::size_t occurrences(const std::string& text, std::string_view part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class Install : public EndToEnd {
 protected:
  void SetUp() override {
    fs::create_directory(compilerFolder);
    fs::copy_file(APLPATCH_STANDIN_COMPILER, compilerFolder / "TR.EXE");
    writeBytes(compilerFolder / "README.TXT", "the compiler's own files stay as they are");
  }

  Finished command(const std::string& option) { return patch({option, compiler()}); }
  std::string compiler() const { return (compilerFolder / "TR.EXE").string(); }
  std::string original() const { return (compilerFolder / "aplc2.exe").string(); }

  fs::path compilerFolder = records.path() / "compiler folder";
};

TEST_F(Install, InstallsInTheCompilersPlaceAndUninstallsBackToTheSameFolder) {
  const std::map<std::string, std::string> before = snapshot(compilerFolder);
  Finished installed = command("--install");
  ASSERT_EQ(installed.status, 0) << installed.output;
  EXPECT_EQ(installed.output, "Installed: " + compiler() + " renamed to " + original() + ", aplpatch copied to " +
                                  compiler() + ".\n");
  EXPECT_EQ(readBytes(compiler()), readBytes(APLPATCH_PROGRAM));
  EXPECT_EQ(readBytes(original()), readBytes(APLPATCH_STANDIN_COMPILER));

  // The host calls the compiler's name from its own folder: the installed copy finds aplc2.exe beside it.
  writeBytes(work / "F.APL", kScript);
  std::map<std::string, std::string> variables = environment();
  variables["PATH"] = records / "nothing here";
  Finished run = runProgram(work.path().string(), {compiler(), "-e", "F.APL"}, variables, records / "console.txt");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(readBytes(work / "F.APL"), testing::rewriteWhole(kScript).bytes);
  EXPECT_EQ(compilerLog(), "-e\nF.APL\n--\n");

  Finished uninstalled = command("--uninstall");
  ASSERT_EQ(uninstalled.status, 0) << uninstalled.output;
  EXPECT_EQ(uninstalled.output, "Uninstalled: aplpatch removed from " + compiler() + ", " + original() +
                                    " renamed back to " + compiler() + ".\n");
  EXPECT_EQ(snapshot(compilerFolder), before);
}

TEST_F(Install, RefusesWithoutChangingAnything) {
  struct Case {
    const char* what;
    const char* option;
    void (*prepare)(const fs::path& folder);
    std::string message;
  };
  const std::string name = compiler();
  const std::vector<Case> cases = {
      {"no compiler", "--install", [](const fs::path& folder) { fs::remove(folder / "TR.EXE"); },
       "Cannot install: cannot read " + name + ": No such file or directory. Nothing was changed.\n"},
      {"already installed", "--install",
       [](const fs::path& folder) {
         fs::rename(folder / "TR.EXE", folder / "aplc2.exe");
         fs::copy_file(APLPATCH_PROGRAM, folder / "TR.EXE");
       },
       "Cannot install: " + name + " is aplpatch already. Nothing was changed.\n"},
      {"aplc2.exe is there", "--install", [](const fs::path& folder) { writeBytes(folder / "aplc2.exe", "x"); },
       "Cannot install: " + original() + " exists already. Nothing was changed.\n"},
      {"not installed", "--uninstall", [](const fs::path& folder) { writeBytes(folder / "aplc2.exe", "x"); },
       "Cannot uninstall: " + name + " is not aplpatch. Nothing was changed.\n"},
      {"no aplc2.exe", "--uninstall",
       [](const fs::path& folder) { fs::copy_file(APLPATCH_PROGRAM, folder / "TR.EXE", fs::copy_options::overwrite_existing); },
       "Cannot uninstall: " + original() + " does not exist. Nothing was changed.\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(compilerFolder);
    SetUp();
    c.prepare(compilerFolder);
    const std::map<std::string, std::string> before = snapshot(compilerFolder);
    Finished refused = command(c.option);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.output, c.message);
    EXPECT_EQ(snapshot(compilerFolder), before);
  }
}

TEST_F(Install, OnlyTheProgramCarriesItsMarkerAndItCarriesItOnce) {
  std::string program = readBytes(APLPATCH_PROGRAM).value_or("");
  std::string marker(installMarker());
  ASSERT_GT(marker.size(), 16u);
  EXPECT_EQ(occurrences(program, marker), 1u);
  EXPECT_EQ(occurrences(readBytes(APLPATCH_STANDIN_COMPILER).value_or(""), marker), 0u);
}

}  // namespace
}  // namespace aplpatch
