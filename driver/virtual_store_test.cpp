#include "driver/virtual_store.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace aplpatch {
namespace {

const std::string kStore = "C:\\Users\\P\\AppData\\Local\\VirtualStore\\";

TEST(VirtualStoreTwin, LiesUnderTheUsersStoreForAPathInARedirectedFolderOnly) {
  const RedirectionEnvironment usual{
      {"C:\\Program Files", "C:\\Program Files", "C:\\Program Files (x86)", "C:\\ProgramData", "C:\\Windows"},
      "C:\\Users\\P\\AppData\\Local"};
  // Other spellings of the folders; an unset one is no folder at all, not the whole drive.
  const RedirectionEnvironment sparse{{"", "", "C:/Program Files (x86)\\", "", ""}, "C:/Users/P/AppData/Local/"};
  const RedirectionEnvironment noStore{usual.redirectedFolders, ""};
  struct Case {
    const RedirectionEnvironment& environment;
    const char* fullPath;
    std::optional<std::string> twin;
  };
  const std::vector<Case> cases = {
      {usual, "C:\\Program Files (x86)\\Host\\F.APL", kStore + "Program Files (x86)\\Host\\F.APL"},
      {usual, "C:\\ProgramData\\Host\\F.APL", kStore + "ProgramData\\Host\\F.APL"},
      {usual, "C:\\Windows\\F.APL", kStore + "Windows\\F.APL"},
      {usual, "c:\\PROGRAM files\\Host\\f.apl", kStore + "PROGRAM files\\Host\\f.apl"},
      {usual, "C:/Program Files/Host/F.APL", kStore + "Program Files\\Host\\F.APL"},
      {usual, "\\\\?\\C:\\Program Files\\Host\\F.APL", kStore + "Program Files\\Host\\F.APL"},
      {usual, "C:\\Program Files Extra\\F.APL", std::nullopt},
      {usual, "C:\\Program Files", std::nullopt},
      {usual, "D:\\Program Files\\F.APL", std::nullopt},
      {usual, "C:\\Flights\\Program Files\\F.APL", std::nullopt},
      {usual, "\\\\server\\share\\Program Files\\F.APL", std::nullopt},
      {usual, "\\\\?\\UNC\\server\\share\\Program Files\\F.APL", std::nullopt},
      {usual, "Program Files\\Host\\F.APL", std::nullopt},
      {sparse, "C:\\Program Files (x86)\\Host\\F.APL", kStore + "Program Files (x86)\\Host\\F.APL"},
      {sparse, "C:\\Program Files\\Host\\F.APL", std::nullopt},
      {noStore, "C:\\Program Files\\Host\\F.APL", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fullPath);
    EXPECT_EQ(virtualStoreTwin(c.fullPath, c.environment), c.twin);
  }
}

TEST(ChooseScriptFile, TakesTheTwinWhenTheScriptIsMissingOrNoNewer) {
  struct Case {
    FileStamp atScript;
    FileStamp atTwin;
    const char* reason;  // how the reason ends; null when the script as given is kept
  };
  const std::vector<Case> cases = {
      {{true, 5}, {false, 0}, nullptr},
      {{false, 0}, {false, 0}, nullptr},
      {{true, 5}, {true, 4}, nullptr},
      {{false, 0}, {true, 4}, "redirects for legacy programs, and no file is there"},
      {{true, 5}, {true, 6}, "its twin was written after it"},
      {{true, 5}, {true, 5}, "its twin was written at the same time"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason == nullptr ? "kept" : c.reason);
    ScriptFile chosen = chooseScriptFile("F.APL", "C:\\Program Files\\H\\F.APL", "TWIN", c.atScript, c.atTwin);
    EXPECT_EQ(chosen.path, c.reason == nullptr ? "F.APL" : "TWIN");
    EXPECT_TRUE(c.reason == nullptr ? chosen.reason.empty() : chosen.reason.ends_with(c.reason)) << chosen.reason;
  }
}

}  // namespace
}  // namespace aplpatch
