#include "platform/file_name_fit.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/temporary_name.h"

namespace aplpatch {
namespace {

TEST(FileNameFit, ShortensOnlyWhatWouldNotFitAndKeepsLongNamesApart) {
  struct Case {
    std::size_t nameLength;
    std::size_t suffixLength;
    bool shortened;
  };
  const std::vector<Case> cases = {
      {5, 4, false},  {251, 4, false}, {252, 4, true}, {242, 13, false},
      {243, 13, true}, {255, 17, true}, {600, 4, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.nameLength << " + " << c.suffixLength);
    std::string name(c.nameLength, 'f');
    std::string stem = fittedStem(name, c.suffixLength);
    EXPECT_EQ(stem == name, !c.shortened);
    EXPECT_LE(stem.size() + c.suffixLength, kLongestFileName);
    if (c.shortened) {
      EXPECT_EQ(stem.size() + c.suffixLength, kLongestFileName) << "shortened no more than needed";
      // Two names that differ only at their end, where the cut falls, stay apart.
      EXPECT_NE(fittedStem(name + "x", c.suffixLength), fittedStem(name + "y", c.suffixLength));
      EXPECT_EQ(fittedStem(name, c.suffixLength), stem) << "the same name, the same stem";
    }
  }
}

TEST(FileNameFit, NeverCutsACharacterInTwo) {
  // "Ü" is two bytes in UTF-8; wherever the cut falls, the stem holds whole characters only.
  for (std::size_t before = 222; before < 232; ++before) {
    std::string name = std::string(before, 'a');
    for (int i = 0; i < 20; ++i) name += "\xC3\x9C";
    std::string stem = fittedStem(name, 13);
    std::size_t tilde = stem.rfind('~');
    ASSERT_NE(tilde, std::string::npos);
    EXPECT_EQ((tilde - before) % 2, 0u) << "a character cut at " << tilde;
  }
}

TEST(FileNameFit, TemporaryNamesFitAndAreKnownAgainByTheirTarget) {
  std::mt19937_64 random(7);
  for (std::size_t length : {std::size_t{5}, std::size_t{242}, std::size_t{243}, std::size_t{255}}) {
    SCOPED_TRACE(length);
    std::string target(length, 'F');
    std::string path = temporaryNameBeside("dir/" + target, "/", random);
    ASSERT_TRUE(path.starts_with("dir/"));
    std::string name = path.substr(4);
    EXPECT_LE(name.size(), kLongestFileName);
    EXPECT_TRUE(isTemporaryNameOf(name, target));
    EXPECT_FALSE(isTemporaryNameOf(name, target + "X"));
  }
  // The folder part is kept as it is, whichever separator ends it.
  EXPECT_TRUE(temporaryNameBeside("C:\\FLY\\F.APL", "\\/:", random).starts_with("C:\\FLY\\F.APL."));
  EXPECT_TRUE(temporaryNameBeside("Z:F.APL", "\\/:", random).starts_with("Z:F.APL."));
}

}  // namespace
}  // namespace aplpatch
