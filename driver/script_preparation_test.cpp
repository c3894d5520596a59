#include "driver/script_preparation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/fake_platform.h"

namespace aplpatch {
namespace {

using testing::FakePlatform;

constexpr const char* kGenerated = "START:\r\nWAIT 2\r\n";
constexpr const char* kPatched = "START:\r\nDESCRIPTION \"PATCHED BY JM\"\r\n";
const std::string kScript = "C:\\Program Files\\Host\\F.APL";
const std::string kTwin = "C:\\Users\\P\\AppData\\Local\\VirtualStore\\Program Files\\Host\\F.APL";

struct Case {
  const char* name;
  const char* atScript;  // nullptr: no file there
  const char* atTwin;    // nullptr: no twin
  const char* settings;  // nullptr: no settings file
  std::string expectedFile;
  const char* openFailure;  // the reason, when the file cannot be opened
  bool patched;
  bool descentRequestOn;
};

TEST(PrepareScript, ChoosesOpensAndReadsAheadWithoutChangingAnything) {
  const std::vector<Case> cases = {
      {"script only", kGenerated, nullptr, nullptr, kScript, nullptr, false, true},
      {"newer twin", kGenerated, kGenerated, nullptr, kTwin, nullptr, false, true},
      {"twin of a missing script", nullptr, kPatched, nullptr, kTwin, nullptr, true, true},
      {"patched script", kPatched, nullptr, nullptr, kScript, nullptr, true, true},
      {"missing script", nullptr, nullptr, nullptr, kScript, "No such file or directory", false, true},
      {"settings", kGenerated, nullptr, "[features]\ndescent-request = off\n", kScript, nullptr, false, false},
      {"settings, missing script", nullptr, nullptr, "[features]\ndescent-request = off\n", kScript,
       "No such file or directory", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakePlatform platform(kWindowsPathStyle);
    platform.setRedirectsLegacyPrograms(true);
    platform.setEnvironmentVariable("ProgramFiles", "C:\\Program Files");
    platform.setEnvironmentVariable("LOCALAPPDATA", "C:\\Users\\P\\AppData\\Local");
    platform.setRunningProgramPath("C:\\Program Files\\Host\\ADVC.EXE");
    if (c.atScript != nullptr) platform.addFile(kScript, c.atScript);
    platform.setLastWritten(kScript, 10);
    if (c.atTwin != nullptr) platform.addFile(kTwin, c.atTwin);
    platform.setLastWritten(kTwin, 11);
    if (c.settings != nullptr) platform.addFile("C:\\Program Files\\Host\\aplpatch.ini", c.settings);

    PreparedScript prepared = prepareScript(platform, kScript);
    EXPECT_EQ(prepared.file.path, c.expectedFile);
    EXPECT_EQ(prepared.file.reason.empty(), c.expectedFile == kScript);
    EXPECT_EQ(prepared.paths.script, kScript);
    EXPECT_EQ(prepared.paths.file, c.expectedFile);
    EXPECT_EQ(prepared.settings.found, c.settings != nullptr);
    EXPECT_EQ(prepared.settings.switches.isOn(Feature::descentRequest), c.descentRequestOn);
    if (c.openFailure != nullptr) {
      EXPECT_EQ(prepared.start, nullptr);
      EXPECT_EQ(prepared.opened.reason(), c.openFailure);
    } else {
      ASSERT_NE(prepared.start, nullptr);
      EXPECT_TRUE(prepared.opened.ok());
      EXPECT_EQ(prepared.start->isAlreadyPatched(), c.patched);
    }
    // Nothing is created, changed or started, and nothing is said: both callers still can stop.
    // The script is read through for the patched check and set back to its start.
    EXPECT_EQ(platform.printed(), "");
    for (const std::string& entry : platform.log())
      EXPECT_TRUE(entry.starts_with("open ") || entry.starts_with("close ") || entry.starts_with("rewind "))
          << entry;
  }
}

// A run says what its settings switch off, and that it saves the script, before it touches the
// script: the hook sees the settings and the paths, and the script is opened only after it.
TEST(PrepareScript, ReadsTheSettingsThenLetsTheCallerSpeakThenOpensTheScript) {
  FakePlatform platform;
  platform.addFile("/opt/aplpatch/aplpatch.ini", "[features]\nradio-calls = off\n");
  platform.addFile("F.APL", kGenerated);
  int calls = 0;
  PreparedScript prepared = prepareScript(platform, "F.APL", [&](const PreparedScript& soFar) {
    ++calls;
    EXPECT_FALSE(soFar.settings.switches.isOn(Feature::radioCalls));
    EXPECT_EQ(soFar.paths.backupFolder, "apl");
    EXPECT_EQ(soFar.start, nullptr);
    platform.console().print("hook\n");
  });
  ASSERT_NE(prepared.start, nullptr);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(platform.log(), (std::vector<std::string>{"open /opt/aplpatch/aplpatch.ini for reading",
                                                      "close /opt/aplpatch/aplpatch.ini", "print: hook",
                                                      "open F.APL for reading", "rewind F.APL"}));
}

}  // namespace
}  // namespace aplpatch
