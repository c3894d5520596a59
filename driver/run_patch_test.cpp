#include "driver/run_patch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "driver/fake_platform.h"
#include "engine/test_support.h"

namespace aplpatch {
namespace {

using testing::FakePlatform;
using testing::Operation;

// A script that no rule changes beyond upper-casing and the patch description.
constexpr const char* kScript = "start:\r\nwait 2\r\nende:\r\n";
constexpr const char* kRewrittenLines = "START:\r\nWAIT 2\r\nDESCRIPTION \"PATCHED BY JM\"\r\nENDE:\r\n";

std::string rewrittenScript() { return testing::rewriteWhole(kScript).bytes; }

// Runs the patch on `script` after `prepare` has set up the fake.
template <typename Prepare>
int runOn(FakePlatform& platform, const std::string& script, Prepare prepare) {
  platform.addFile(script, kScript);
  prepare(platform);
  return runPatch(platform, {"-e", script});
}

int runOn(FakePlatform& platform, const std::string& script) {
  return runOn(platform, script, [](FakePlatform&) {});
}

// The run's operations and messages up to the compiler call, without the writing of its log.
std::vector<std::string> stepsUntilCompiler(const FakePlatform& platform) {
  const std::vector<std::string>& log = platform.log();
  auto run = std::find_if(log.begin(), log.end(), [](const std::string& entry) { return entry.starts_with("run "); });
  return std::vector<std::string>(log.begin(), run == log.end() ? run : run + 1);
}

TEST(RunPatch, WorksThroughTheBackupRewriteReplaceAndCompilerInOrder) {
  FakePlatform platform;
  ASSERT_EQ(runOn(platform, "F.APL"), 0);
  EXPECT_EQ(stepsUntilCompiler(platform), (std::vector<std::string>{
                                "print: TALKRADAR patch started...",
                                "print: saving old generated APL file F.APL ...",
                                "open F.APL for reading",
                                "make folder apl",
                                "copy F.APL to apl/F.APL",
                                "print: inserting missing RETURNS ...",
                                "create F.APL.new",
                                "write F.APL.new",
                                "close F.APL",
                                "flush F.APL.new to disk",
                                "close F.APL.new",
                                "print: analysis done",
                                "print: saving new generated APL file F.APL.new ...",
                                "copy F.APL.new to apl/F.APL.new",
                                "replace F.APL with F.APL.new",
                                "print: running original ADV generator...",
                                "flush console",
                                "run aplc2.exe -e F.APL",
                            }));
}

TEST(RunPatch, PutsTheBackupBesideAScriptInAnotherFolder) {
  FakePlatform platform(kWindowsPathStyle);
  ASSERT_EQ(runOn(platform, "C:\\FLY\\F.APL"), 0);
  EXPECT_EQ(stepsUntilCompiler(platform), (std::vector<std::string>{
                                "print: TALKRADAR patch started...",
                                "print: saving old generated APL file C:\\FLY\\F.APL ...",
                                "open C:\\FLY\\F.APL for reading",
                                "make folder C:\\FLY\\apl",
                                "copy C:\\FLY\\F.APL to C:\\FLY\\apl\\F.APL",
                                "print: inserting missing RETURNS ...",
                                "create C:\\FLY\\F.APL.new",
                                "write C:\\FLY\\F.APL.new",
                                "close C:\\FLY\\F.APL",
                                "flush C:\\FLY\\F.APL.new to disk",
                                "close C:\\FLY\\F.APL.new",
                                "print: analysis done",
                                "print: saving new generated APL file C:\\FLY\\F.APL.new ...",
                                "copy C:\\FLY\\F.APL.new to C:\\FLY\\apl\\F.APL.new",
                                "replace C:\\FLY\\F.APL with C:\\FLY\\F.APL.new",
                                "print: running original ADV generator...",
                                "flush console",
                                "run aplc2.exe -e C:\\FLY\\F.APL",
                            }));
}

TEST(RunPatch, LeavesTheRewrittenScriptInPlaceAndBothVersionsInTheBackup) {
  FakePlatform platform;
  int status = runOn(platform, "F.APL", [](FakePlatform& fake) {
    // Earlier backups and a stale new script from an interrupted run are replaced.
    fake.addFile("apl/F.APL", "old backup");
    fake.addFile("apl/F.APL.new", "old rewritten backup");
    fake.addFile("F.APL.new", "stale");
  });
  ASSERT_EQ(status, 0);
  std::string rewritten = rewrittenScript();
  EXPECT_EQ(rewritten.rfind(kRewrittenLines, 0), 0u);
  EXPECT_EQ(platform.file("F.APL"), rewritten);
  EXPECT_EQ(platform.file("apl/F.APL"), kScript);
  EXPECT_EQ(platform.file("apl/F.APL.new"), rewritten);
  EXPECT_FALSE(platform.file("F.APL.new"));
  EXPECT_TRUE(platform.hasFolder("apl"));
  // The compiler saw the rewritten script.
  EXPECT_EQ(platform.filesWhenRun().at("F.APL"), rewritten);
}

TEST(RunPatch, RejectsAWrongCommandLineWithoutTouchingAnything) {
  const std::vector<std::vector<std::string>> commandLines = {
      {},
      {"-e"},
      {"F.APL"},
      {"-E", "F.APL"},
      {"-e", "F.APL", "extra"},
      {"F.APL", "-e"},
      {"-e ", "F.APL"},
  };
  for (const std::vector<std::string>& arguments : commandLines) {
    SCOPED_TRACE(::testing::PrintToString(arguments));
    FakePlatform platform;
    platform.addFile("F.APL", kScript);
    EXPECT_EQ(runPatch(platform, arguments), -1);
    EXPECT_EQ(platform.log(), std::vector<std::string>{"print: Program for only use with TALKRADAR."});
    EXPECT_EQ(platform.files().size(), 1u);
    EXPECT_EQ(platform.file("F.APL"), kScript);
  }
}

TEST(RunPatch, StopsWhenTheScriptDoesNotExist) {
  FakePlatform platform;
  EXPECT_EQ(runPatch(platform, {"-e", "F.APL"}), -1);
  EXPECT_EQ(stepsUntilCompiler(platform), (std::vector<std::string>{
                                              "print: TALKRADAR patch started...",
                                              "print: saving old generated APL file F.APL ...",
                                              "open F.APL for reading [failed]",
                                              "print: Program aborted. For use with TALKRADAR only.",
                                              "make folder apl",
                                              "create apl/F.APL.log",
                                              "write apl/F.APL.log",
                                              "flush apl/F.APL.log to disk",
                                              "close apl/F.APL.log",
                                              "replace apl/F.APL.log with apl/F.APL.log",
                                          }));
  EXPECT_EQ(platform.files().size(), 1u) << "only the log";
}

TEST(RunPatch, PassesTheCompilersExitStatusOn) {
  for (int code : {0, 1, 2, 255}) {
    FakePlatform platform;
    platform.setExitCode(code);
    EXPECT_EQ(runOn(platform, "F.APL"), code);
  }
}

// One injected failure and what the run must leave behind.
struct FailureCase {
  const char* what;
  Operation operation;
  int nth;
  int status;
  bool scriptRewritten;
  bool compilerRun;
  const char* messages;  // console messages after "saving old generated APL file F.APL ...\n"
};

TEST(RunPatch, LeavesTheScriptWholeWhicheverStepFails) {
  const std::vector<FailureCase> cases = {
      {"backup folder", Operation::kMakeFolder, 1, 0, true, true,
       "backup failed: cannot create folder apl: Permission denied\n"
       "inserting missing RETURNS ...\n"
       "analysis done\n"
       "saving new generated APL file F.APL.new ...\n"
       "running original ADV generator...\n"},
      {"backup of the script", Operation::kCopy, 1, 0, true, true,
       "backup failed: cannot copy F.APL to apl/F.APL: Permission denied\n"
       "inserting missing RETURNS ...\n"
       "analysis done\n"
       "saving new generated APL file F.APL.new ...\n"
       "running original ADV generator...\n"},
      {"opening the script", Operation::kOpenForRead, 1, -1, false, false,
       "Program aborted. For use with TALKRADAR only.\n"},
      {"creating the new script", Operation::kCreateForWrite, 1, -1, false, false,
       "inserting missing RETURNS ...\n"
       "Program aborted. Cannot create F.APL.new: Permission denied. F.APL is left as it was.\n"},
      {"reading the script", Operation::kRead, 1, -1, false, false,
       "inserting missing RETURNS ...\n"
       "Program aborted. Cannot read F.APL: Permission denied. F.APL is left as it was.\n"},
      {"a write", Operation::kWrite, 1, -1, false, false,
       "inserting missing RETURNS ...\n"
       "Program aborted. Cannot write F.APL.new: Permission denied. F.APL is left as it was.\n"},
      {"the flush to disk", Operation::kFlushToDisk, 1, -1, false, false,
       "inserting missing RETURNS ...\n"
       "Program aborted. Cannot write F.APL.new: Permission denied. F.APL is left as it was.\n"},
      {"the close", Operation::kClose, 1, -1, false, false,
       "inserting missing RETURNS ...\n"
       "Program aborted. Cannot write F.APL.new: Permission denied. F.APL is left as it was.\n"},
      {"backup of the new script", Operation::kCopy, 2, 0, true, true,
       "inserting missing RETURNS ...\n"
       "analysis done\n"
       "saving new generated APL file F.APL.new ...\n"
       "backup failed: cannot copy F.APL.new to apl/F.APL.new: Permission denied\n"
       "running original ADV generator...\n"},
      {"the replace", Operation::kReplace, 1, -1, false, false,
       "inserting missing RETURNS ...\n"
       "analysis done\n"
       "saving new generated APL file F.APL.new ...\n"
       "Program aborted. Cannot replace F.APL with F.APL.new: Permission denied. F.APL is left as it was.\n"},
      {"starting the compiler", Operation::kRunProgram, 1, -1, true, true,
       "inserting missing RETURNS ...\n"
       "analysis done\n"
       "saving new generated APL file F.APL.new ...\n"
       "running original ADV generator...\n"
       "Cannot run aplc2.exe: Permission denied\n"},
  };
  const std::string rewritten = rewrittenScript();
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.what);
    FakePlatform platform;
    int status = runOn(platform, "F.APL",
                       [&](FakePlatform& fake) { fake.failCall(c.operation, c.nth, "Permission denied"); });
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(platform.console(), std::string("TALKRADAR patch started...\n"
                                              "saving old generated APL file F.APL ...\n") +
                                      c.messages);
    EXPECT_EQ(platform.file("F.APL"), c.scriptRewritten ? rewritten : std::string(kScript));
    EXPECT_FALSE(platform.file("F.APL.new")) << "a new script was left behind";
    bool started = std::any_of(platform.log().begin(), platform.log().end(),
                               [](const std::string& entry) { return entry.rfind("run aplc2.exe", 0) == 0; });
    EXPECT_EQ(started, c.compilerRun);
  }
}

TEST(RunPatch, RemovesANewScriptThatWasWrittenOnlyInPart) {
  FakePlatform platform;
  int status = runOn(platform, "F.APL", [](FakePlatform& fake) {
    fake.addFile("apl/F.APL.new", "earlier rewritten backup");
    fake.failWritesAfter(10, "No space left on device");
  });
  EXPECT_EQ(status, -1);
  EXPECT_EQ(platform.console(),
            "TALKRADAR patch started...\n"
            "saving old generated APL file F.APL ...\n"
            "inserting missing RETURNS ...\n"
            "Program aborted. Cannot write F.APL.new: No space left on device. F.APL is left as it was.\n"
            "Cannot write the log apl/F.APL.log: No space left on device\n");
  EXPECT_EQ(platform.file("F.APL"), kScript);
  EXPECT_FALSE(platform.file("F.APL.new"));
  EXPECT_FALSE(platform.file("apl/F.APL.log"));
  // The backup of an earlier rewrite is not replaced by a partial one.
  EXPECT_EQ(platform.file("apl/F.APL.new"), "earlier rewritten backup");
  const std::vector<std::string>& log = platform.log();
  EXPECT_NE(std::find(log.begin(), log.end(), "remove F.APL.new"), log.end());
}

TEST(RunPatch, GoesOnWhenNoBackupCanBeWritten) {
  FakePlatform platform;
  int status = runOn(platform, "F.APL", [](FakePlatform& fake) {
    fake.failCall(Operation::kMakeFolder, 1, "Read-only file system");
    fake.failCall(Operation::kCopy, 1, "Read-only file system", true);
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(platform.console(),
            "TALKRADAR patch started...\n"
            "saving old generated APL file F.APL ...\n"
            "backup failed: cannot create folder apl: Read-only file system\n"
            "backup failed: cannot copy F.APL to apl/F.APL: Read-only file system\n"
            "inserting missing RETURNS ...\n"
            "analysis done\n"
            "saving new generated APL file F.APL.new ...\n"
            "backup failed: cannot copy F.APL.new to apl/F.APL.new: Read-only file system\n"
            "running original ADV generator...\n");
  EXPECT_EQ(platform.file("F.APL"), rewrittenScript());
}

TEST(RunPatch, HandsTheCompilerThePathExactlyAsGiven) {
  for (std::string script : {"my flights\\F 1.APL", "a&b\\F&del x.APL", "\"q\"\\F.APL", "Fl\xDCg.APL"}) {
    SCOPED_TRACE(script);
    FakePlatform platform;
    ASSERT_EQ(runOn(platform, script), 0);
    EXPECT_EQ(stepsUntilCompiler(platform).back(), "run aplc2.exe -e " + script);
    EXPECT_EQ(platform.file(script), rewrittenScript());
  }
}

TEST(RunPatch, HandsAnAlreadyPatchedScriptToTheCompilerUnchanged) {
  const std::string patched = rewrittenScript();
  FakePlatform platform;
  platform.setExitCode(3);
  platform.addFile("F.APL", patched);
  platform.addFile("apl/F.APL", "the host's original");
  platform.addFile("apl/F.APL.new", "its first rewrite");
  EXPECT_EQ(runPatch(platform, {"-e", "F.APL"}), 3);
  EXPECT_EQ(platform.console(),
            "TALKRADAR patch started...\n"
            "saving old generated APL file F.APL ...\n"
            "F.APL is already patched: handed to the compiler unchanged.\n"
            "running original ADV generator...\n");
  EXPECT_EQ(platform.filesWhenRun().at("F.APL"), patched);
  EXPECT_EQ(platform.file("F.APL"), patched);
  EXPECT_EQ(platform.file("apl/F.APL"), "the host's original");
  EXPECT_EQ(platform.file("apl/F.APL.new"), "its first rewrite");
  EXPECT_FALSE(platform.file("F.APL.new"));
}

TEST(RunPatch, LooksForTheCompilerInTheWorkingFolderBesideItselfAndOnThePathBeforeChangingAnything) {
  struct Case {
    const char* where;
    std::set<std::string> programs;
    const char* compiler;  // the program started, or null when none is found
  };
  const std::vector<Case> cases = {
      {"only beside aplpatch", {"/opt/tr/aplc2.exe"}, "/opt/tr/aplc2.exe"},
      {"only on the path", {"/usr/bin/aplc2.exe"}, "/usr/bin/aplc2.exe"},
      {"beside aplpatch and on the path", {"/opt/tr/aplc2.exe", "/usr/bin/aplc2.exe"}, "/opt/tr/aplc2.exe"},
      {"nowhere", {}, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    FakePlatform platform;
    int status = runOn(platform, "F.APL", [&](FakePlatform& fake) {
      fake.setRunningProgramPath("/opt/tr/aplpatch");
      fake.setSearchPathFolders({"/usr/local/bin", "/usr/bin"});
      fake.setPrograms(c.programs);
      fake.addFile("apl/F.APL", "earlier backup");
    });
    std::vector<std::string> steps = stepsUntilCompiler(platform);
    if (c.compiler != nullptr) {
      EXPECT_EQ(status, 0);
      EXPECT_EQ(steps.back(), std::string("run ") + c.compiler + " -e F.APL");
      continue;
    }
    EXPECT_EQ(status, -1);
    EXPECT_EQ(platform.console(),
              "TALKRADAR patch started...\n"
              "saving old generated APL file F.APL ...\n"
              "Cannot find aplc2.exe in the working folder, beside aplpatch or on PATH. F.APL is left as it was.\n");
    EXPECT_EQ(platform.file("F.APL"), kScript);
    EXPECT_EQ(platform.file("apl/F.APL"), "earlier backup");
    EXPECT_EQ(platform.files().size(), 3u) << "nothing but the log is written";
  }
}

// The log that a run on kScript writes, around the console lines that depend on the outcome.
std::string expectedLog(const std::string& consoleAfterStart, const std::string& outcome,
                        const std::string& compiler) {
  std::string log = "aplpatch " APLPATCH_VERSION ", run of 2026-03-01T14:05:09\r\n"
                    "command line: -e \"my flights\\F.APL\"\r\n"
                    "console:\r\n"
                    "  TALKRADAR patch started...\r\n"
                    "  saving old generated APL file my flights\\F.APL ...\r\n";
  for (std::size_t start = 0, end; (end = consoleAfterStart.find('\n', start)) != std::string::npos; start = end + 1)
    log += "  " + consoleAfterStart.substr(start, end - start) + "\r\n";
  return log + "outcome: " + outcome + "\r\ncompiler: " + compiler + "\r\n";
}

TEST(RunPatch, LogsEachRunBesideItsBackups) {
  const std::string script = "my flights\\F.APL";
  const std::string log = "my flights\\apl/F.APL.log";
  const std::string rewrittenRun =
      "inserting missing RETURNS ...\n"
      "analysis done\n"
      "saving new generated APL file my flights\\F.APL.new ...\n"
      "running original ADV generator...\n";
  {
    SCOPED_TRACE("a run whose compiler ends with status 3");
    FakePlatform platform;
    platform.addFile(log, "the last run's log");
    platform.setExitCode(3);
    EXPECT_EQ(runOn(platform, script), 3);
    EXPECT_EQ(platform.file(log), expectedLog(rewrittenRun, "rewritten", "exit status 3"));
  }
  {
    SCOPED_TRACE("an already patched script");
    FakePlatform platform;
    platform.addFile(script, rewrittenScript());
    EXPECT_EQ(runPatch(platform, {"-e", script}), 0);
    EXPECT_EQ(platform.file(log), expectedLog("my flights\\F.APL is already patched: handed to the compiler "
                                              "unchanged.\nrunning original ADV generator...\n",
                                              "already patched", "exit status 0"));
  }
  {
    SCOPED_TRACE("a write that fails");
    FakePlatform platform;
    EXPECT_EQ(runOn(platform, script, [](FakePlatform& fake) { fake.failCall(Operation::kWrite, 1, "Disk full"); }),
              -1);
    EXPECT_EQ(platform.file(log),
              expectedLog("inserting missing RETURNS ...\n"
                          "Program aborted. Cannot write my flights\\F.APL.new: Disk full. "
                          "my flights\\F.APL is left as it was.\n",
                          "aborted: Cannot write my flights\\F.APL.new: Disk full", "not run"));
  }
  {
    SCOPED_TRACE("a compiler that cannot be started");
    FakePlatform platform;
    runOn(platform, script, [](FakePlatform& fake) { fake.failCall(Operation::kRunProgram, 1, "Bad format"); });
    EXPECT_TRUE(platform.file(log).value_or("").ends_with(
        "  Cannot run aplc2.exe: Bad format\r\noutcome: rewritten\r\ncompiler: could not be started: Bad format\r\n"));
  }
}

TEST(RunPatch, ALogThatCannotBeWrittenChangesNothingElse) {
  for (Operation operation : {Operation::kCreateForWrite, Operation::kClose, Operation::kReplace}) {
    FakePlatform platform;
    platform.setExitCode(3);
    // The log is the second file the run creates, closes and puts in place, after the new script.
    EXPECT_EQ(runOn(platform, "F.APL", [&](FakePlatform& fake) { fake.failCall(operation, 2, "Disk full"); }), 3);
    EXPECT_EQ(platform.file("F.APL"), rewrittenScript());
    EXPECT_TRUE(platform.console().ends_with("running original ADV generator...\n"
                                             "Cannot write the log apl/F.APL.log: Disk full\n"));
    EXPECT_FALSE(platform.file("apl/F.APL.log"));
  }
}

}  // namespace
}  // namespace aplpatch
