#include "rules/radio/sound_root.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

TEST(SoundRoot, KeepsTheFirstPlayLineUpToItsSoundFolder) {
  struct Case {
    const char* input;
    const char* root;
  };
  const Case cases[] = {
      {" PLAY\"D:\\SND\\WAV\\COPILOTS\\VOICE01\\FC_ROGER\"\n", " PLAY\"D:\\SND\\WAV\\"},
      {"play\"c:\\fs\\wav\\a\"\n", "PLAY\"C:\\FS\\WAV\\"},
      // Only the first PLAY line counts.
      {"PLAY\"C:\\ONE\\WAV\\A\"\nPLAY\"C:\\TWO\\WAV\\B\"\n", "PLAY\"C:\\ONE\\WAV\\"},
      // One without a sound folder leaves the root to a later PLAY line.
      {"PLAY\"C:\\SOUNDS\\A\"\nPLAY\"C:\\TWO\\WAV\\B\"\n", "PLAY\"C:\\TWO\\WAV\\"},
      {"PLAY\"C:\\SOUNDS\\A\"\n", ""},
      // A line naming the folder without a PLAY instruction is no sound line.
      {"REM C:\\FS\\WAV\\A\nPLAY\"E:\\WAV\\B\"\n", "PLAY\"E:\\WAV\\"},
  };
  for (const Case& c : cases) {
    auto run = rewriteLinesOnly(c.input);
    EXPECT_EQ(run.state.soundRoot, c.root) << c.input;
  }
  EXPECT_EQ(rewriteLinesOnly(" play\"c:\\wav\\a\"\n").text, " PLAY\"C:\\WAV\\A\"\n");
}

}  // namespace
}  // namespace aplpatch
