#include "driver/patch_paths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace aplpatch {
namespace {

struct PathCase {
  const char* script;
  const char* dirPrefix;
  const char* backupScript;
};

void expectPaths(const PathStyle& style, const std::vector<PathCase>& cases) {
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.script);
    PatchPaths paths = derivePatchPaths(c.script, style);
    EXPECT_EQ(paths.script, c.script);
    EXPECT_EQ(paths.newScriptInMessages, std::string(c.script) + ".new");
    EXPECT_EQ(paths.dirPrefix, c.dirPrefix);
    EXPECT_EQ(paths.backupFolder, std::string(c.dirPrefix) + "apl");
    EXPECT_EQ(paths.backupScript, c.backupScript);
    EXPECT_EQ(paths.backupNewScript, std::string(c.backupScript) + ".new");
    EXPECT_EQ(paths.log, std::string(c.backupScript) + ".log");
  }
}

TEST(PatchPaths, OnPosixTheBackupFolderLiesBesideTheScriptWhicheverSlashTheFolderEndsWith) {
  expectPaths(kPosixPathStyle, {
      {"F.APL", "", "apl/F.APL"},
      {"C:\\FLY\\F.APL", "C:\\FLY\\", "C:\\FLY\\apl/F.APL"},
      {"flights/today/F.APL", "flights/today/", "flights/today/apl/F.APL"},
      {"/abs/F.APL", "/abs/", "/abs/apl/F.APL"},
      {"a\\b/c.apl", "a\\b/", "a\\b/apl/c.apl"},
      {"a/b\\c.apl", "a/b\\", "a/b\\apl/c.apl"},
      // A drive colon is no separator.
      {"C:F.APL", "", "apl/C:F.APL"},
      {"dir\\", "dir\\", "dir\\apl/"},
      {"", "", "apl/"},
      {"my flights\\F&1 \"x\" \xDC.APL", "my flights\\", "my flights\\apl/F&1 \"x\" \xDC.APL"},
  });
}

TEST(PatchPaths, OnWindowsTheBackupFolderLiesBesideTheScriptWhicheverSlashTheFolderEndsWith) {
  expectPaths(kWindowsPathStyle, {
      {"F.APL", "", "apl\\F.APL"},
      {"C:\\FLY\\F.APL", "C:\\FLY\\", "C:\\FLY\\apl\\F.APL"},
      {"\\\\server\\share\\F.APL", "\\\\server\\share\\", "\\\\server\\share\\apl\\F.APL"},
      {"flights/F.APL", "flights/", "flights/apl\\F.APL"},
      {"C:/FLY/F.APL", "C:/FLY/", "C:/FLY/apl\\F.APL"},
      {"a\\b/c.apl", "a\\b/", "a\\b/apl\\c.apl"},
      {"a/b\\c.apl", "a/b\\", "a/b\\apl\\c.apl"},
      // A drive-relative path keeps its drive, so that the backup lies beside the script on that
      // drive and not in the working folder of another.
      {"C:F.APL", "C:", "C:apl\\F.APL"},
      {"z:F.APL", "z:", "z:apl\\F.APL"},
      {"Z:sub\\F.APL", "Z:sub\\", "Z:sub\\apl\\F.APL"},
  });
}

TEST(PatchPaths, LongPathsAreKeptWhole) {
  std::string folder(600, 'd');
  std::string script = folder + "\\" + std::string(700, 'f') + ".APL";
  PatchPaths paths = derivePatchPaths(script, kWindowsPathStyle);
  EXPECT_EQ(paths.newScriptInMessages.size(), script.size() + 4);
  EXPECT_EQ(paths.backupScript, folder + "\\apl\\" + std::string(700, 'f') + ".APL");
}

}  // namespace
}  // namespace aplpatch
