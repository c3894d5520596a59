// What a run meets in the script's folder that it did not make: a script another program holds,
// a link where the backup folder should be, temporaries that killed runs left behind, names at the
// limit of the file system, and paths that the system resolves against another drive.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "driver/run_patch.h"
#include "testing/fake_platform.h"
#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::FakePlatform;

constexpr const char* kScript = "start:\r\nwait 2\r\nende:\r\n";

TEST(HostileFolder, AScriptHeldByAnotherProgramIsRefusedAsBeforeAfterSayingSo) {
  struct Case {
    const char* what;
    std::vector<std::string> holders;
    const char* heldLine;
  };
  const std::vector<Case> cases = {
      {"the system names it", {"Notepad"}, "F.APL is held by another program (Notepad); waited 2 seconds for it.\n"},
      {"it names two", {"Notepad", "process 812"},
       "F.APL is held by another program (Notepad, process 812); waited 2 seconds for it.\n"},
      {"the system cannot tell", {}, "F.APL is held by another program; waited 2 seconds for it.\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePlatform platform;
    platform.addFile("F.APL", kScript);
    platform.holdFile("F.APL", c.holders);
    EXPECT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), -1);
    EXPECT_EQ(platform.printed(),
              std::string("TALKRADAR patch started...\n"
                          "saving old generated APL file F.APL ...\n") +
                  c.heldLine +
                  "Cannot open F.APL: The process cannot access the file because it is being used by another "
                  "process.\n"
                  "Program aborted. For use with TALKRADAR only.\n");
    EXPECT_EQ(platform.files().size(), 1u) << "nothing is created";
  }
}

TEST(HostileFolder, ABackupFolderThatIsALinkIsNotFollowedAndTheRunGoesOn) {
  FakePlatform platform;
  platform.addFile("F.APL", kScript);
  platform.addLink("apl");
  platform.addFile("apl/F.APL", "another folder's file of the same name");
  platform.addFile("apl/F.APL.0123abcd.tmp", "another folder's file");
  EXPECT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), 0);
  EXPECT_EQ(platform.printed(),
            "TALKRADAR patch started...\n"
            "saving old generated APL file F.APL ...\n"
            "backup failed: cannot use folder apl: it is a link (symbolic link, junction or other reparse point), "
            "which is not followed\n"
            "inserting missing RETURNS ...\n"
            "analysis done\n"
            "saving new generated APL file F.APL.new ...\n"
            "running original ADV generator...\n");
  EXPECT_EQ(platform.file("F.APL"), testing::rewriteWhole(kScript).bytes);
  // Nothing was written, made or removed behind the link.
  EXPECT_EQ(platform.files(), (std::map<std::string, std::string>{
                                  {"F.APL", testing::rewriteWhole(kScript).bytes},
                                  {"apl/F.APL", "another folder's file of the same name"},
                                  {"apl/F.APL.0123abcd.tmp", "another folder's file"},
                              }));
  for (const std::string& entry : platform.log()) {
    if (!entry.starts_with("print: ")) {
      EXPECT_EQ(entry.find("apl/"), std::string::npos) << entry;
    }
  }
}

TEST(HostileFolder, RemovesOnlyTheTemporariesOfKilledRunsOnThisScript) {
  struct Case {
    const char* path;
    bool removed;
  };
  const std::vector<Case> cases = {
      {"F.APL.k3x9q0ab.tmp", true},
      {"apl/F.APL.0123abcd.tmp", true},
      {"apl/F.APL.new.zzzzzzzz.tmp", true},
      {"apl/F.APL.log.a1b2c3d4.tmp", true},
      // Look-alikes: another script's, another letter case, other lengths, other endings, other folders.
      {"G.APL.k3x9q0ab.tmp", false},
      {"F.APL.K3X9Q0AB.tmp", false},
      {"F.APL.k3x9q0a.tmp", false},
      {"F.APL.k3x9q0abc.tmp", false},
      {"F.APL.k3x9-0ab.tmp", false},
      {"F.APL.k3x9q0ab.tmp.bak", false},
      {"F.APL.new.k3x9q0ab.tmp", false},
      {"apl/G.APL.0123abcd.tmp", false},
      {"apl/F.APL.ini.0123abcd.tmp", false},
      {"other/F.APL.k3x9q0ab.tmp", false},
  };
  FakePlatform platform;
  platform.addFile("F.APL", kScript);
  platform.addFolder("apl");
  for (const Case& c : cases) platform.addFile(c.path, "left behind");
  // One that a run still writes.
  platform.addFile("F.APL.inuse000.tmp", "being written");
  platform.markInUse("F.APL.inuse000.tmp");

  EXPECT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), 0);
  for (const Case& c : cases) EXPECT_EQ(platform.file(c.path).has_value(), !c.removed) << c.path;
  EXPECT_EQ(platform.file("F.APL.inuse000.tmp"), "being written");
  EXPECT_EQ(platform.file("F.APL"), testing::rewriteWhole(kScript).bytes);
  EXPECT_EQ(platform.printed().find("stale"), std::string::npos) << "the console stays as it was";
  EXPECT_NE(platform.file("apl/F.APL.log").value_or("").find(
                "\r\nstale temporaries removed: 4, kept: 1 (in use or not known to be unused)\r\n"),
            std::string::npos);
}

TEST(HostileFolder, WhereTheSystemKeepsNoLocksNoTemporaryIsRemoved) {
  FakePlatform platform;
  platform.addFile("F.APL", kScript);
  platform.addFile("F.APL.k3x9q0ab.tmp", "left behind");
  platform.setLocksUnsupported(true);
  EXPECT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), 0);
  EXPECT_EQ(platform.file("F.APL.k3x9q0ab.tmp"), "left behind");
  EXPECT_NE(platform.file("apl/F.APL.log").value_or("").find("\r\nstale temporaries removed: 0, kept: 1"),
            std::string::npos);
}

TEST(HostileFolder, NamesUpToTheLimitAreRewrittenBackedUpAndLoggedUnderNamesThatFit) {
  for (std::size_t length : {230, 242, 243, 251, 255}) {
    SCOPED_TRACE(length);
    const std::string name = std::string(length - 4, 'F') + ".APL";
    FakePlatform platform;
    platform.addFile(name, kScript);
    ASSERT_EQ(runPatch(platform, platform.console(), {"-e", name}), 0) << platform.printed();
    EXPECT_EQ(platform.file(name), testing::rewriteWhole(kScript).bytes);
    EXPECT_EQ(platform.file("apl/" + name), kScript);
    int rewrittenBackups = 0;
    int logs = 0;
    for (const auto& [path, bytes] : platform.files()) {
      std::string fileName = path.substr(path.find_last_of('/') + 1);
      EXPECT_LE(fileName.size(), 255u) << path;
      rewrittenBackups += bytes == testing::rewriteWhole(kScript).bytes && path.starts_with("apl/");
      logs += path.ends_with(".log");
    }
    EXPECT_EQ(rewrittenBackups, 1);
    EXPECT_EQ(logs, 1);
  }
}

TEST(HostileFolder, ADriveRelativeScriptIsBackedUpBesideItselfOnItsDrive) {
  FakePlatform platform(kWindowsPathStyle);
  platform.setWorkingFolder("C:\\HOST");
  platform.addFile("Z:F.APL", kScript);
  EXPECT_EQ(runPatch(platform, platform.console(), {"-e", "Z:F.APL"}), 0);
  EXPECT_TRUE(platform.hasFolder("Z:apl"));
  EXPECT_FALSE(platform.hasFolder("apl"));
  EXPECT_EQ(platform.file("Z:apl\\F.APL"), kScript);
  EXPECT_EQ(platform.file("Z:apl\\F.APL.new"), testing::rewriteWhole(kScript).bytes);
  EXPECT_TRUE(platform.file("Z:apl\\F.APL.log"));
}

}  // namespace
}  // namespace aplpatch
