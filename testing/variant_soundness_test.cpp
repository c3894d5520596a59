#include "testing/variant_soundness.h"

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
  // Host code that the full rewrite keeps may not go; what it alone adds may.
  EXPECT_EQ(reference.unsoundIn("CHECK:\n GOTO TERMINAL\n"),
            (Lines{"label MAIN of the full rewrite is gone (defined there at line 1)"}));
  // A fault of the generated script that the full rewrite mends is the script's own.
  const VariantSoundness mends("MAIN:\n IF X THEN\n", "MAIN:\n IF X THEN\n ENDIF\n");
  EXPECT_EQ(mends.unsoundIn("MAIN:\n IF X THEN\n"), Lines{});
}

// A rule of the full rewrite consumed the host's XKEY while it looked for the end of its block, and
// the full rewrite called REQ in place of every call of it: a variant that keeps the calls is no
// less sound, unless the full rewrite kept the label.
TEST(VariantSoundness, CallsOfALabelTheFullRewriteLostAreNoWorseThanIt) {
  const std::string generated = "MAIN:\n GOSUB XKEY\nXKEY:\n RETURN\n";
  const std::string variant = "MAIN:\n GOSUB XKEY\n RETURN\n";
  EXPECT_EQ(VariantSoundness(generated, "MAIN:\n GOSUB REQ\n RETURN\nREQ:\n RETURN\n").unsoundIn(variant), Lines{});
  EXPECT_EQ(VariantSoundness(generated, "MAIN:\n GOSUB REQ\nXKEY:\n RETURN\nREQ:\n RETURN\n").unsoundIn(variant),
            (Lines{"line 2: GOSUB XKEY, a label that the script does not define",
                   "label XKEY of the full rewrite is gone (defined there at line 3)"}));
}

// One rule of the full rewrite opens an IF at START that nothing of its own closes, another writes
// an ENDIF ahead of the host's ELSE in PLAY: the IF pairs with the host's ELSE and ENDIF across
// the entry of PLAY. Switching off either rule shows the other's fault, at the IF's place or at
// its closer's; anything else, at those places or others, is the variant's.
TEST(VariantSoundness, ABlockTheFullRewritePairsAcrossASubroutineExcusesItsTwoEndsOnly) {
  const VariantSoundness reference(
      "START:\n GOSUB PLAY\nPLAY:\n IF V THEN\n  WAIT 1\n ELSE\n  WAIT 2\n ENDIF\n RETURN\n",
      "START:\n IF D THEN\n GOSUB PLAY\nPLAY:\n IF V THEN\n  WAIT 1\n ENDIF\n ELSE\n  WAIT 2\n ENDIF\n RETURN\n");
  const std::string withoutOpener =
      "START:\n GOSUB PLAY\nPLAY:\n IF V THEN\n  WAIT 1\n ENDIF\n ELSE\n  WAIT 2\n ENDIF\n";
  const std::string withoutCloser = "START:\n IF D THEN\n GOSUB PLAY\nPLAY:\n IF V THEN\n  WAIT 1\n ELSE\n ENDIF\n";
  EXPECT_EQ(reference.unsoundIn(withoutOpener), Lines{});
  EXPECT_EQ(reference.unsoundIn(withoutCloser), Lines{});
  EXPECT_EQ(reference.unsoundIn(withoutCloser + "OTHER:\n IF Q THEN\n ENDWHILE\n"),
            (Lines{"line 10: IF without ENDIF below label PLAY",
                   "line 11: ENDWHILE without an open WHILE below label PLAY"}));
  EXPECT_EQ(reference.unsoundIn("START:\n ENDIF" + withoutCloser.substr(6)),
            (Lines{"line 2: ENDIF without an open IF below label START"}));
}

}  // namespace
}  // namespace aplpatch
