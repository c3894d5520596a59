#include "platform/virtual_store.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "testing/fake_platform.h"

namespace aplpatch {
namespace {

const std::string kStore = "C:\\Users\\P\\AppData\\Local\\VirtualStore\\";

RedirectionEnvironment usualEnvironment() {
  return {{"C:\\Program Files", "C:\\Program Files", "C:\\Program Files (x86)", "C:\\ProgramData", "C:\\Windows"},
          "C:\\Users\\P\\AppData\\Local"};
}

TEST(VirtualStoreTwin, LiesUnderTheUsersStoreForAPathInARedirectedFolderOnly) {
  struct Case {
    const char* fullPath;
    std::optional<std::string> twin;
  };
  const std::vector<Case> cases = {
      {"C:\\Program Files (x86)\\Host\\F.APL", kStore + "Program Files (x86)\\Host\\F.APL"},
      {"C:\\ProgramData\\Host\\F.APL", kStore + "ProgramData\\Host\\F.APL"},
      {"C:\\Windows\\F.APL", kStore + "Windows\\F.APL"},
      {"c:\\PROGRAM files\\Host\\f.apl", kStore + "PROGRAM files\\Host\\f.apl"},
      {"C:/Program Files/Host/F.APL", kStore + "Program Files\\Host\\F.APL"},
      {"\\\\?\\C:\\Program Files\\Host\\F.APL", kStore + "Program Files\\Host\\F.APL"},
      {"C:\\Program Files Extra\\F.APL", std::nullopt},
      {"C:\\Program Files", std::nullopt},
      {"C:\\Windows2\\F.APL", std::nullopt},
      {"D:\\Program Files\\F.APL", std::nullopt},
      {"C:\\Flights\\Program Files\\F.APL", std::nullopt},
      {"\\\\server\\share\\Program Files\\F.APL", std::nullopt},
      {"\\\\?\\UNC\\server\\share\\Program Files\\F.APL", std::nullopt},
      {"Program Files\\Host\\F.APL", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fullPath);
    EXPECT_EQ(virtualStoreTwin(c.fullPath, usualEnvironment()), c.twin);
  }
}

TEST(VirtualStoreTwin, TakesTheFoldersAsTheEnvironmentNamesThem) {
  RedirectionEnvironment environment{{"", "", "C:/Program Files (x86)\\", "", ""}, "C:/Users/P/AppData/Local/"};
  EXPECT_EQ(virtualStoreTwin("C:\\Program Files (x86)\\Host\\F.APL", environment),
            kStore + "Program Files (x86)\\Host\\F.APL");
  // An unset folder is no folder, not the whole drive.
  EXPECT_EQ(virtualStoreTwin("C:\\Program Files\\Host\\F.APL", environment), std::nullopt);
  environment.localAppData.clear();
  EXPECT_EQ(virtualStoreTwin("C:\\Program Files (x86)\\Host\\F.APL", environment), std::nullopt);
}

TEST(ChooseScriptFile, TakesTheTwinWhenTheScriptIsMissingOrNoNewer) {
  struct Case {
    FileStamp atScript;
    FileStamp atTwin;
    const char* reason;  // null when the script as given is kept
  };
  const std::vector<Case> cases = {
      {{true, 5}, {false, 0}, nullptr},
      {{false, 0}, {false, 0}, nullptr},
      {{true, 5}, {true, 4}, nullptr},
      {{false, 0}, {true, 4}, "no file is there"},
      {{true, 5}, {true, 6}, "its twin was written after it"},
      {{true, 5}, {true, 5}, "its twin was written at the same time"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason == nullptr ? "kept" : c.reason);
    ScriptFile chosen = chooseScriptFile("F.APL", "C:\\Program Files\\H\\F.APL", "TWIN", c.atScript, c.atTwin);
    EXPECT_EQ(chosen.path, c.reason == nullptr ? "F.APL" : "TWIN");
    EXPECT_EQ(chosen.reason, c.reason == nullptr ? std::string()
                                                 : std::string("C:\\Program Files\\H\\F.APL is in a folder that "
                                                               "Windows redirects for legacy programs, and ") +
                                                       c.reason);
  }
}

TEST(ScriptFileToWorkOn, MakesTheScriptFullAndAsksOnlyWhereTheSystemRedirects) {
  testing::FakePlatform platform(kWindowsPathStyle);
  platform.setEnvironmentVariable("ProgramFiles", "C:\\Program Files");
  platform.setEnvironmentVariable("LOCALAPPDATA", "C:\\Users\\P\\AppData\\Local");
  platform.setWorkingFolder("C:\\Program Files\\Host");
  platform.addFile(kStore + "Program Files\\Host\\F.APL", "twin");
  EXPECT_EQ(scriptFileToWorkOn(platform, "F.APL").path, "F.APL");
  platform.setRedirectsLegacyPrograms(true);
  EXPECT_EQ(scriptFileToWorkOn(platform, "F.APL").path, kStore + "Program Files\\Host\\F.APL");
  EXPECT_EQ(scriptFileToWorkOn(platform, "C:\\Flights\\F.APL").path, "C:\\Flights\\F.APL");
}

}  // namespace
}  // namespace aplpatch
