// Where the settings file is looked for, in the path style of the system the program runs on.

#include "driver/settings_file.h"

#include <gtest/gtest.h>

#include <string>

#include "testing/fake_platform.h"

namespace aplpatch {
namespace {

using testing::FakePlatform;

TEST(SettingsFile, IsLookedForBesideTheProgramInTheSystemsPathStyle) {
  const struct {
    bool windows;
    const char* program;  // null: the fake platform's own
    std::string expected;
  } cases[] = {
      {false, nullptr, "/opt/aplpatch/aplpatch.ini"},
      {true, nullptr, "C:\\aplpatch\\aplpatch.ini"},
      {true, "C:\\Program Files (x86)\\TALKRADAR\\ADV.EXE", "C:\\Program Files (x86)\\TALKRADAR\\aplpatch.ini"},
      {true, "\\\\?\\C:\\a very long folder\\aplpatch.exe", "\\\\?\\C:\\a very long folder\\aplpatch.ini"},
      {true, "\\\\server\\share\\aplpatch.exe", "\\\\server\\share\\aplpatch.ini"},
      {true, "C:/Tools/aplpatch.exe", "C:/Tools/aplpatch.ini"},
      {true, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    FakePlatform platform(c.windows ? kWindowsPathStyle : kPosixPathStyle);
    if (c.program != nullptr) platform.setRunningProgramPath(c.program);
    EXPECT_EQ(settingsFilePath(platform), c.expected);
    if (c.expected.empty()) continue;
    platform.addFile(c.expected, "[features]\nradio-calls = off\n");
    const LoadedSettings settings = loadSettings(platform);
    EXPECT_TRUE(settings.found);
    EXPECT_FALSE(settings.switches.isOn(Feature::radioCalls));
    EXPECT_TRUE(settings.problems.empty());
  }
}

}  // namespace
}  // namespace aplpatch
