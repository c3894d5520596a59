// Runs for a host under Program Files, whose script Windows may keep in the user's VirtualStore.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "commands/preview.h"
#include "driver/run_patch.h"
#include "testing/fake_platform.h"
#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::FakePlatform;

const std::string kScript = "C:\\Program Files\\Host\\F.APL";
const std::string kTwinFolder = "C:\\Users\\P\\AppData\\Local\\VirtualStore\\Program Files\\Host\\";
const std::string kTwin = kTwinFolder + "F.APL";
constexpr const char* kGenerated = "start:\r\nwait 2\r\nende:\r\n";

// A host working in its folder under Program Files, with its script (named `script`) written at
// time 10 and the twin at `twinTime`.
std::unique_ptr<FakePlatform> hostUnderProgramFiles(bool redirects, std::int64_t twinTime,
                                                    const std::string& script = kScript) {
  auto platform = std::make_unique<FakePlatform>(kWindowsPathStyle);
  platform->setRedirectsLegacyPrograms(redirects);
  platform->setEnvironmentVariable("ProgramFiles", "C:\\Program Files");
  platform->setEnvironmentVariable("LOCALAPPDATA", "C:\\Users\\P\\AppData\\Local");
  platform->setWorkingFolder("C:\\Program Files\\Host");
  platform->addFile(script, "the host's older script\r\n");
  platform->setLastWritten(script, 10);
  platform->addFile(kTwin, kGenerated);
  platform->setLastWritten(kTwin, twinTime);
  return platform;
}

TEST(RedirectedRun, WorksOnANewerTwinAndShowsTheScriptAsGiven) {
  // Named relative to the host's folder: the platform makes it full before the choice.
  std::unique_ptr<FakePlatform> platform = hostUnderProgramFiles(true, 11, "F.APL");
  ASSERT_EQ(runPatch(*platform, platform->console(), {"-e", "F.APL"}), 0);

  const std::string rewritten = testing::rewriteWhole(kGenerated).bytes;
  EXPECT_EQ(platform->printed(), "TALKRADAR patch started...\n"
                                 "saving old generated APL file F.APL ...\n"
                                 "inserting missing RETURNS ...\n"
                                 "analysis done\n"
                                 "saving new generated APL file F.APL.new ...\n"
                                 "running original ADV generator...\n");
  const std::vector<std::string>& steps = platform->log();
  EXPECT_NE(std::find(steps.begin(), steps.end(), "run aplc2.exe -e F.APL"), steps.end());
  EXPECT_EQ(platform->filesWhenRun().at(kTwin), rewritten);
  const std::string log = platform->file(kTwinFolder + "apl\\F.APL.log").value_or("");
  EXPECT_EQ(platform->files(), (std::map<std::string, std::string>{
                                   {"F.APL", "the host's older script\r\n"},
                                   {kTwin, rewritten},
                                   {kTwinFolder + "apl\\F.APL", kGenerated},
                                   {kTwinFolder + "apl\\F.APL.new", rewritten},
                                   {kTwinFolder + "apl\\F.APL.log", log},
                               }));
  EXPECT_NE(log.find("command line: -e F.APL\r\nfile worked on: " + kTwin + " (" + kScript +
                     " is in a folder that Windows redirects for legacy programs, and its twin was written after "
                     "it)\r\nconsole:\r\n"),
            std::string::npos)
      << log;
}

TEST(RedirectedRun, AnOlderTwinLeavesTheRunAsOnASystemThatRedirectsNothing) {
  std::unique_ptr<FakePlatform> redirected = hostUnderProgramFiles(true, 9);
  // Where nothing is redirected, not even a newer twin counts.
  std::unique_ptr<FakePlatform> plain = hostUnderProgramFiles(false, 11);
  EXPECT_EQ(runPatch(*redirected, redirected->console(), {"-e", kScript}), 0);
  EXPECT_EQ(runPatch(*plain, plain->console(), {"-e", kScript}), 0);
  EXPECT_EQ(redirected->log(), plain->log());
  EXPECT_EQ(redirected->files(), plain->files());
  EXPECT_EQ(redirected->file(kTwin), kGenerated);
}

TEST(RedirectedRun, ThePatchedCheckAndThePreviewReadTheTwin) {
  const std::string patched = testing::rewriteWhole(kGenerated).bytes;
  {
    std::unique_ptr<FakePlatform> platform = hostUnderProgramFiles(true, 10);
    platform->addFile(kTwin, patched);
    ASSERT_EQ(runPatch(*platform, platform->console(), {"-e", kScript}), 0);
    EXPECT_NE(platform->printed().find(kScript + " is already patched"), std::string::npos);
    EXPECT_EQ(platform->file(kTwin), patched);
    EXPECT_EQ(platform->file(kScript), "the host's older script\r\n");
  }
  {
    std::unique_ptr<FakePlatform> platform = hostUnderProgramFiles(true, 10);
    EXPECT_EQ(previewScript(*platform, platform->console(), kScript), 0);
    EXPECT_EQ(platform->console().standardOutputBytes(), patched);
  }
}

}  // namespace
}  // namespace aplpatch
