#include "driver/run_patch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "testing/fake_platform.h"
#include "testing/test_support.h"

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
  return runPatch(platform, platform.console(), {"-e", script});
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
                                "rewind F.APL",
                                "make folder apl",
                                "create apl/F.APL.tmp1",
                                "write apl/F.APL.tmp1",
                                "flush apl/F.APL.tmp1 to disk",
                                "close apl/F.APL.tmp1",
                                "replace apl/F.APL with apl/F.APL.tmp1",
                                "sync folder of apl/F.APL",
                                "rewind F.APL",
                                "print: inserting missing RETURNS ...",
                                "create F.APL.tmp2",
                                "create apl/F.APL.new.tmp3",
                                "write F.APL.tmp2",
                                "write apl/F.APL.new.tmp3",
                                "close F.APL",
                                "flush F.APL.tmp2 to disk",
                                "close F.APL.tmp2",
                                "flush apl/F.APL.new.tmp3 to disk",
                                "close apl/F.APL.new.tmp3",
                                "print: analysis done",
                                "print: saving new generated APL file F.APL.new ...",
                                "replace F.APL with F.APL.tmp2",
                                "sync folder of F.APL",
                                "replace apl/F.APL.new with apl/F.APL.new.tmp3",
                                "sync folder of apl/F.APL.new",
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
                                "rewind C:\\FLY\\F.APL",
                                "make folder C:\\FLY\\apl",
                                "create C:\\FLY\\apl\\F.APL.tmp1",
                                "write C:\\FLY\\apl\\F.APL.tmp1",
                                "flush C:\\FLY\\apl\\F.APL.tmp1 to disk",
                                "close C:\\FLY\\apl\\F.APL.tmp1",
                                "replace C:\\FLY\\apl\\F.APL with C:\\FLY\\apl\\F.APL.tmp1",
                                "sync folder of C:\\FLY\\apl\\F.APL",
                                "rewind C:\\FLY\\F.APL",
                                "print: inserting missing RETURNS ...",
                                "create C:\\FLY\\F.APL.tmp2",
                                "create C:\\FLY\\apl\\F.APL.new.tmp3",
                                "write C:\\FLY\\F.APL.tmp2",
                                "write C:\\FLY\\apl\\F.APL.new.tmp3",
                                "close C:\\FLY\\F.APL",
                                "flush C:\\FLY\\F.APL.tmp2 to disk",
                                "close C:\\FLY\\F.APL.tmp2",
                                "flush C:\\FLY\\apl\\F.APL.new.tmp3 to disk",
                                "close C:\\FLY\\apl\\F.APL.new.tmp3",
                                "print: analysis done",
                                "print: saving new generated APL file C:\\FLY\\F.APL.new ...",
                                "replace C:\\FLY\\F.APL with C:\\FLY\\F.APL.tmp2",
                                "sync folder of C:\\FLY\\F.APL",
                                "replace C:\\FLY\\apl\\F.APL.new with C:\\FLY\\apl\\F.APL.new.tmp3",
                                "sync folder of C:\\FLY\\apl\\F.APL.new",
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
  // A file of that name is no longer used, nor touched.
  EXPECT_EQ(platform.file("F.APL.new"), "stale");
  EXPECT_EQ(platform.temporaries(), std::vector<std::string>{});
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
    EXPECT_EQ(runPatch(platform, platform.console(), arguments), -1);
    EXPECT_EQ(platform.log(), std::vector<std::string>{"print: Program for only use with TALKRADAR."});
    EXPECT_EQ(platform.files().size(), 1u);
    EXPECT_EQ(platform.file("F.APL"), kScript);
  }
}

TEST(RunPatch, StopsBeforeCreatingAnythingWhenTheScriptDoesNotExist) {
  FakePlatform platform;
  EXPECT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), -1);
  EXPECT_EQ(platform.log(), (std::vector<std::string>{
                                "print: TALKRADAR patch started...",
                                "print: saving old generated APL file F.APL ...",
                                "open F.APL for reading [failed]",
                                "print: Cannot open F.APL: No such file or directory.",
                                "print: Program aborted. For use with TALKRADAR only.",
                            }));
  EXPECT_TRUE(platform.files().empty());
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
      {"backup of the script", Operation::kFlushToDisk, 1, 0, true, true,
       "backup failed: cannot copy F.APL to apl/F.APL: Permission denied\n"
       "inserting missing RETURNS ...\n"
       "analysis done\n"
       "saving new generated APL file F.APL.new ...\n"
       "running original ADV generator...\n"},
      {"opening the script", Operation::kOpenForRead, 1, -1, false, false,
       "Cannot open F.APL: Permission denied.\n"
       "Program aborted. For use with TALKRADAR only.\n"},
      {"going back to the script's start", Operation::kRewind, 1, 0, false, true,
       "Program aborted. Cannot read F.APL: Permission denied. F.APL is left as it was.\n"
       "F.APL is compiled as generated, without the additions.\n"
       "running original ADV generator...\n"},
      {"creating the new script", Operation::kCreateForWrite, 2, 0, false, true,
       "inserting missing RETURNS ...\n"
       "Program aborted. Cannot create F.APL.new: Permission denied. F.APL is left as it was.\n"
       "F.APL is compiled as generated, without the additions.\n"
       "running original ADV generator...\n"},
      // The first read that fails is the backup copy's: the run reports it and then refuses to
      // rewrite a script that could not be read whole.
      {"reading the script", Operation::kRead, 3, 0, false, true,
       "backup failed: cannot copy F.APL to apl/F.APL: Permission denied\n"
       "inserting missing RETURNS ...\n"
       "Program aborted. Cannot read F.APL: Permission denied. F.APL is left as it was.\n"
       "F.APL is compiled as generated, without the additions.\n"
       "running original ADV generator...\n"},
      {"a write", Operation::kWrite, 2, 0, false, true,
       "inserting missing RETURNS ...\n"
       "Program aborted. Cannot write F.APL.new: Permission denied. F.APL is left as it was.\n"
       "F.APL is compiled as generated, without the additions.\n"
       "running original ADV generator...\n"},
      {"the flush to disk", Operation::kFlushToDisk, 2, 0, false, true,
       "inserting missing RETURNS ...\n"
       "Program aborted. Cannot write F.APL.new: Permission denied. F.APL is left as it was.\n"
       "F.APL is compiled as generated, without the additions.\n"
       "running original ADV generator...\n"},
      {"the close", Operation::kClose, 2, 0, false, true,
       "inserting missing RETURNS ...\n"
       "Program aborted. Cannot write F.APL.new: Permission denied. F.APL is left as it was.\n"
       "F.APL is compiled as generated, without the additions.\n"
       "running original ADV generator...\n"},
      {"backup of the new script", Operation::kCreateForWrite, 3, 0, true, true,
       "inserting missing RETURNS ...\n"
       "analysis done\n"
       "saving new generated APL file F.APL.new ...\n"
       "backup failed: cannot copy F.APL.new to apl/F.APL.new: Permission denied\n"
       "running original ADV generator...\n"},
      {"the replace", Operation::kReplace, 2, 0, false, true,
       "inserting missing RETURNS ...\n"
       "analysis done\n"
       "saving new generated APL file F.APL.new ...\n"
       "Program aborted. Cannot replace F.APL with F.APL.new: Permission denied. F.APL is left as it was.\n"
       "F.APL is compiled as generated, without the additions.\n"
       "running original ADV generator...\n"},
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
    EXPECT_EQ(platform.printed(), std::string("TALKRADAR patch started...\n"
                                              "saving old generated APL file F.APL ...\n") +
                                      c.messages);
    EXPECT_EQ(platform.file("F.APL"), c.scriptRewritten ? rewritten : std::string(kScript));
    EXPECT_EQ(platform.temporaries(), std::vector<std::string>{}) << "a temporary file was left behind";
    // The backup folder never holds a rewrite that did not take effect.
    if (!c.scriptRewritten) {
      EXPECT_FALSE(platform.file("apl/F.APL.new"));
    }
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
  EXPECT_EQ(status, 0);
  EXPECT_EQ(platform.printed(),
            "TALKRADAR patch started...\n"
            "saving old generated APL file F.APL ...\n"
            "backup failed: cannot copy F.APL to apl/F.APL: No space left on device\n"
            "inserting missing RETURNS ...\n"
            "Program aborted. Cannot write F.APL.new: No space left on device. F.APL is left as it was.\n"
            "F.APL is compiled as generated, without the additions.\n"
            "running original ADV generator...\n"
            "Cannot write the log apl/F.APL.log: No space left on device\n");
  EXPECT_EQ(platform.file("F.APL"), kScript);
  EXPECT_EQ(platform.temporaries(), std::vector<std::string>{});
  // The backup of an earlier rewrite is not replaced by a partial one.
  EXPECT_EQ(platform.file("apl/F.APL.new"), "earlier rewritten backup");
}

TEST(RunPatch, GoesOnWhenNoBackupCanBeWritten) {
  FakePlatform platform;
  int status = runOn(platform, "F.APL", [](FakePlatform& fake) {
    fake.failCall(Operation::kMakeFolder, 1, "Read-only file system");
    fake.failCall(Operation::kCreateForWrite, 1, "Read-only file system");
    fake.failCall(Operation::kReplace, 2, "Read-only file system");
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(platform.printed(),
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

TEST(RunPatch, EndsTheScriptAtTheFirstCtrlZAndSaysWhatWasLeftOut) {
  struct Case {
    const char* what;
    std::string script;
    std::size_t kept;     // bytes rewritten
    const char* message;  // between the rules' messages and "analysis done", if any
  };
  const std::vector<Case> cases = {
      {"at the end", "start:\r\nende:\r\n\x1A", 15, ""},
      {"in the middle", "start:\r\n\x1A" "ende:\r\n", 8,
       "Ctrl-Z after 8 bytes ends the script; the 7 bytes after it are left out.\n"},
      {"twice", "start:\r\n\x1A" "ende:\x1A\r\n", 8,
       "Ctrl-Z after 8 bytes ends the script; the 8 bytes after it are left out.\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePlatform platform;
    platform.addFile("F.APL", c.script);
    // Small reads, so that the rest is counted over several.
    platform.setReadChunk(3);
    ASSERT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), 0);
    testing::Rewritten expected = testing::rewriteWhole(c.script.substr(0, c.kept));
    EXPECT_EQ(platform.file("F.APL"), expected.bytes);
    EXPECT_EQ(platform.file("apl/F.APL"), c.script);
    EXPECT_TRUE(platform.printed().ends_with(expected.console + c.message +
                                             "analysis done\n"
                                             "saving new generated APL file F.APL.new ...\n"
                                             "running original ADV generator...\n"))
        << platform.printed();
  }
}

TEST(RunPatch, AReadErrorAfterACtrlZIsStillAReadError) {
  FakePlatform platform;
  platform.addFile("F.APL", "start:\r\n\x1A" "ende:\r\n");
  platform.setReadChunk(4);
  // The look for the patch description and the backup take five reads each, the rewrite finds the
  // Ctrl-Z in its third.
  platform.failCall(Operation::kRead, 14, "Input/output error");
  EXPECT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), 0);
  EXPECT_TRUE(platform.printed().ends_with(
      "Program aborted. Cannot read F.APL: Input/output error. F.APL is left as it was.\n"
      "F.APL is compiled as generated, without the additions.\n"
      "running original ADV generator...\n"))
      << platform.printed();
  EXPECT_EQ(platform.file("F.APL"), "start:\r\n\x1A" "ende:\r\n");
}

TEST(RunPatch, ReportsACompilerEndedBySignalWithTheShellsStatus) {
  FakePlatform platform;
  platform.setEndedBySignal(11, "SIGSEGV");
  EXPECT_EQ(runOn(platform, "F.APL"), 139);
  EXPECT_TRUE(platform.printed().ends_with("running original ADV generator...\n"
                                           "aplc2.exe ended by signal 11 (SIGSEGV).\n"
                                           "aplc2.exe failed on the rewritten F.APL with signal 11 (SIGSEGV): F.APL is "
                                           "put back as generated and compiled again, without the additions.\n"
                                           "running original ADV generator...\n"
                                           "aplc2.exe ended by signal 11 (SIGSEGV).\n"));
}

TEST(RunPatch, GivesTheNewScriptAndBothBackupsTheScriptsPermissions) {
  FakePlatform platform;
  platform.addFile("F.APL", kScript, 0600);
  ASSERT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), 0);
  for (const char* path : {"F.APL", "apl/F.APL", "apl/F.APL.new"}) {
    EXPECT_EQ(platform.permissions(path), 0600u) << path;
  }
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
  EXPECT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), 3);
  EXPECT_EQ(platform.printed(),
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

TEST(RunPatch, LooksForTheCompilerBesideItselfInTheWorkingFolderAndOnThePathBeforeChangingAnything) {
  struct Case {
    const char* where;
    std::set<std::string> programs;
    const char* compiler;  // the program started, or null when none is found
  };
  const std::vector<Case> cases = {
      {"only beside aplpatch", {"/opt/tr/aplc2.exe"}, "/opt/tr/aplc2.exe"},
      {"beside aplpatch and in the working folder", {"aplc2.exe", "/opt/tr/aplc2.exe"}, "/opt/tr/aplc2.exe"},
      {"in the working folder and on the path", {"aplc2.exe", "/usr/bin/aplc2.exe"}, "aplc2.exe"},
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
    EXPECT_EQ(platform.printed(),
              "TALKRADAR patch started...\n"
              "saving old generated APL file F.APL ...\n"
              "Cannot find aplc2.exe beside aplpatch, in the working folder or on PATH. F.APL is left as it was.\n");
    EXPECT_EQ(platform.file("F.APL"), kScript);
    EXPECT_EQ(platform.file("apl/F.APL"), "earlier backup");
    EXPECT_EQ(platform.files().size(), 3u) << "nothing but the log is written";
  }
}

// What the log of a run on kScript without a settings file ends with: the settings, then the
// briefing of a script that gains no addition and what the appended subroutines add to its
// structure (calls of the host's subroutines that this script lacks), or none when nothing was
// rewritten.
TEST(RunPatch, PassesOverACompilerThatIsNoProgramAndLogsWhichOneRan) {
  FakePlatform platform;
  platform.setExitCode(3);
  int status = runOn(platform, "F.APL", [](FakePlatform& fake) {
    fake.setRunningProgramPath("/opt/tr/aplpatch");
    fake.setWorkingFolder("/flights");
    fake.setSearchPathFolders({"/usr/bin"});
    fake.setPrograms({"/usr/bin/aplc2.exe"});
    fake.addFolder("/opt/tr/aplc2.exe");
    fake.addFile("aplc2.exe", "a text file under the compiler's name");
  });
  EXPECT_EQ(status, 3);
  EXPECT_EQ(stepsUntilCompiler(platform).back(), "run /usr/bin/aplc2.exe -e F.APL");
  EXPECT_EQ(platform.printed().find("passed over"), std::string::npos) << "the console stays as it was";
  std::string log = platform.file("apl/F.APL.log").value_or("");
  EXPECT_NE(log.find("compiler: exit status 3; as generated: exit status 3\r\n"
                     "compiler passed over: /opt/tr/aplc2.exe: a folder\r\n"
                     "compiler passed over: /flights/aplc2.exe: not a program that the system can start: Exec format "
                     "error\r\n"
                     "compiler file: /usr/bin/aplc2.exe\r\n"
                     "stale temporaries removed: 0\r\n"),
            std::string::npos)
      << log;
}

const std::string kNoSettings = "settings: none at /opt/aplpatch/aplpatch.ini, every feature on\r\n";
const std::string kNothingRewritten = kNoSettings + "briefing: none, nothing was rewritten\r\n";
const std::string kNothingAdded = kNoSettings +
                                  "Briefing for this flight:\r\n"
                                  "  Keys: none added.\r\n"
                                  "  descent-request: nothing in this script\r\n"
                                  "  transponder-changes: nothing in this script\r\n"
                                  "  holding-supervision: nothing in this script\r\n"
                                  "  approach-tracking: nothing in this script\r\n"
                                  "  ground-supervision: nothing in this script\r\n"
                                  "  clearance-withdrawal: nothing in this script\r\n"
                                  "  missed-approach: nothing in this script\r\n"
                                  "  altitude-reminders: nothing in this script\r\n"
                                  "  wind-announcements: nothing in this script\r\n"
                                  "  radio-calls: nothing in this script\r\n"
                                  "what the rewrite adds to the structure of the script:\r\n"
                                  "  line 9: GOSUB PLAYID, a label that the script does not define (added by "
                                  "always-on)\r\n"
                                  "  line 13: GOSUB PLAYCALL, a label that the script does not define (named 12 "
                                  "times, at lines 13, 156, 166, 176 and 8 more) (added by always-on)\r\n"
                                  "  line 14: GOSUB PLAY_ALTITUDE, a label that the script does not define (added "
                                  "by always-on)\r\n"
                                  "  if the compiler rejects this flight, send this log with the flight: no "
                                  "setting in /opt/aplpatch/aplpatch.ini switches off the lines named above\r\n";

// The log that a run on kScript writes, around the console lines that depend on the outcome: the
// log as it was before settings and briefings, then `tail`.
std::string expectedLog(const std::string& consoleAfterStart, const std::string& outcome,
                        const std::string& compiler, const std::string& tail) {
  std::string log = "aplpatch " APLPATCH_VERSION ", run of 2026-03-01T14:05:09\r\n"
                    "command line: -e \"my flights\\F.APL\"\r\n"
                    "console:\r\n"
                    "  TALKRADAR patch started...\r\n"
                    "  saving old generated APL file my flights\\F.APL ...\r\n";
  for (std::size_t start = 0, end; (end = consoleAfterStart.find('\n', start)) != std::string::npos; start = end + 1)
    log += "  " + consoleAfterStart.substr(start, end - start) + "\r\n";
  return log + "outcome: " + outcome + "\r\ncompiler: " + compiler + "\r\ncompiler file: aplc2.exe\r\n"
             "stale temporaries removed: 0\r\n" + tail;
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
    EXPECT_EQ(platform.file(log),
              expectedLog(rewrittenRun +
                              "aplc2.exe failed on the rewritten my flights\\F.APL with exit status 3: my flights\\F.APL "
                              "is put back as generated and compiled again, without the additions.\n"
                              "running original ADV generator...\n",
                          "as generated: the compiler failed on the rewrite", "exit status 3; as generated: exit status 3",
                          kNothingAdded));
  }
  {
    SCOPED_TRACE("an already patched script");
    FakePlatform platform;
    platform.addFile(script, rewrittenScript());
    EXPECT_EQ(runPatch(platform, platform.console(), {"-e", script}), 0);
    EXPECT_EQ(platform.file(log), expectedLog("my flights\\F.APL is already patched: handed to the compiler "
                                              "unchanged.\nrunning original ADV generator...\n",
                                              "already patched", "exit status 0", kNothingRewritten));
  }
  {
    SCOPED_TRACE("a write that fails");
    FakePlatform platform;
    EXPECT_EQ(runOn(platform, script, [](FakePlatform& fake) { fake.failCall(Operation::kWrite, 2, "Disk full"); }),
              0);
    EXPECT_EQ(platform.file(log),
              expectedLog("inserting missing RETURNS ...\n"
                          "Program aborted. Cannot write my flights\\F.APL.new: Disk full. "
                          "my flights\\F.APL is left as it was.\n"
                          "my flights\\F.APL is compiled as generated, without the additions.\n"
                          "running original ADV generator...\n",
                          "as generated: Cannot write my flights\\F.APL.new: Disk full", "exit status 0",
                          kNothingRewritten));
  }
  {
    SCOPED_TRACE("a compiler that cannot be started");
    FakePlatform platform;
    runOn(platform, script, [](FakePlatform& fake) { fake.failCall(Operation::kRunProgram, 1, "Bad format"); });
    EXPECT_TRUE(platform.file(log).value_or("").ends_with(
        "  Cannot run aplc2.exe: Bad format\r\noutcome: rewritten\r\ncompiler: could not be started: Bad format\r\n"
        "compiler file: aplc2.exe\r\nstale temporaries removed: 0\r\n" +
        kNothingAdded));
  }
  {
    SCOPED_TRACE("a script that has every subroutine the rewrite calls");
    FakePlatform platform;
    platform.addFile(script, std::string(kScript) + "PLAYID:\r\nRETURN\r\nPLAYCALL:\r\nRETURN\r\nPLAY_ALTITUDE:\r\n");
    EXPECT_EQ(runPatch(platform, platform.console(), {"-e", script}), 0);
    EXPECT_TRUE(platform.file(log).value_or("").ends_with(
        "\r\nwhat the rewrite adds to the structure of the script:\r\n  nothing\r\n"));
  }
}

TEST(RunPatch, ALogThatCannotBeWrittenChangesNothingElse) {
  for (Operation operation : {Operation::kCreateForWrite, Operation::kClose, Operation::kReplace}) {
    FakePlatform platform;
    platform.setExitCode(3);
    // The log is the last of five files the run creates, closes and puts in place: the backup, the
    // new script, the backup of the new script, the script put back as generated, the log.
    platform.setExitCodes({3, 0});
    EXPECT_EQ(runOn(platform, "F.APL", [&](FakePlatform& fake) { fake.failCall(operation, 5, "Disk full"); }), 0);
    EXPECT_EQ(platform.file("F.APL"), kScript);
    EXPECT_TRUE(platform.printed().ends_with("running original ADV generator...\n"
                                             "Cannot write the log apl/F.APL.log: Disk full\n"));
    EXPECT_FALSE(platform.file("apl/F.APL.log"));
  }
}

}  // namespace
}  // namespace aplpatch
