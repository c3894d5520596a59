#include "rules/header/patch_description.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

TEST(PatchDescription, StandsAheadOfTheThirdPass) {
  EXPECT_EQ(rewriteLinesOnly("A\nB\n").text, "A\nB\n");
  EXPECT_EQ(rewriteLinesOnly("A\nB\nC\nD\n").text, "A\nB\nDESCRIPTION \"PATCHED BY JM\"\nC\nD\n");
}

TEST(PatchDescription, CountsPiecesOfLongLinesAndLookedAheadLines) {
  std::string piece(254, 'X');
  EXPECT_EQ(rewriteLinesOnly(piece + piece + "C\n").text,
            piece + piece + "DESCRIPTION \"PATCHED BY JM\"\nC\n");
  // The looked-ahead line after an altitude assignment is a pass of its own.
  EXPECT_EQ(rewriteLinesOnly("A\nVALT = 1\nB\n").text,
            "A\nIF VMAXALT = 500000 THEN\nVALT = 1\nENDIF\nDESCRIPTION \"PATCHED BY JM\"\nB\n");
}

}  // namespace
}  // namespace aplpatch
