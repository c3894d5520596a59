#include "structure/variant_soundness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace aplpatch {
namespace {

using Lines = std::vector<std::string>;

TEST(VariantSoundness, FindsWhatTheVariantBreaksAndNothingElse) {
  const std::string full =
      "MAIN:\n GOTO TERMINAL\n GOSUB CHECK\nCHECK:\n WHILE X\n  IF Y THEN\n  ENDIF\n ENDWHILE\n RETURN\n";
  const VariantSoundness reference("MAIN:\n GOTO TERMINAL\n", full);
  EXPECT_EQ(reference.unsoundIn(full), Lines{});
  // Leaving out a whole addition, label, call and loop alike, is sound.
  EXPECT_EQ(reference.unsoundIn("MAIN:\n GOTO TERMINAL\n"), Lines{});
  EXPECT_EQ(reference.unsoundIn("MAIN:\n GOTO TERMINAL\n GOSUB CHECK\n WHILE X\n  IF Y THEN\n  ENDIF\n"),
            (Lines{"line 3: GOSUB CHECK, a label that the script does not define",
                   "line 4: WHILE without ENDWHILE below label MAIN"}));
  EXPECT_EQ(reference.unsoundIn("MAIN:\nCHECK:\nCHECK:\n ELSE\n"),
            (Lines{"line 3: label CHECK is defined twice (lines 2 and 3), in the full rewrite once",
                   "line 4: ELSE or ELSEIF outside an IF block below label CHECK"}));
  // A fault of the generated script that the full rewrite mends is the script's own.
  const VariantSoundness mends("MAIN:\n IF X THEN\n", "MAIN:\n IF X THEN\n ENDIF\n");
  EXPECT_EQ(mends.unsoundIn("MAIN:\n IF X THEN\n"), Lines{});
}

}  // namespace
}  // namespace aplpatch
