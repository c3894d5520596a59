#include "platform/search_path.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace aplpatch {
namespace {

using Folders = std::vector<std::string>;

TEST(SearchPath, SplitsTheSearchPathAsEachSystemWritesIt) {
  const std::vector<std::pair<const char*, Folders>> windows = {
      {"", {}},
      {"C:\\bin;D:\\tools\\;C:/unix/", {"C:\\bin", "D:\\tools\\", "C:/unix/"}},
      {";;C:\\bin;;", {"C:\\bin"}},
      {"\"C:\\Program Files\\TR\";C:\\y", {"C:\\Program Files\\TR", "C:\\y"}},
      {"\"C:\\odd;name\";C:\\y", {"C:\\odd;name", "C:\\y"}},
      {"C:\\my \"part\" folder", {"C:\\my part folder"}},
      {"\"\";\\\\server\\share", {"\\\\server\\share"}},
  };
  for (const auto& [searchPath, folders] : windows) {
    SCOPED_TRACE(searchPath);
    EXPECT_EQ(windowsSearchFolders(searchPath), folders);
  }
  EXPECT_EQ(posixSearchFolders("/usr/bin::/my bin;x:"), (Folders{"/usr/bin", "/my bin;x"}));
  EXPECT_EQ(posixSearchFolders(""), Folders{});
}

}  // namespace
}  // namespace aplpatch
