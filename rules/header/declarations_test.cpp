#include "rules/header/declarations.h"

#include <gtest/gtest.h>

#include <string>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

const std::string kDeclarations =
    "DECLARE VCHECKSDONE\nDECLARE VMAXALT\nDECLARE VDESCREQ\nDECLARE VMISSEDAPP\nDECLARE VSQUAWK\n"
    "DECLARE VSQUAWKNEU\nDECLARE VSQUAWKCNG\nDECLARE VMISSCNT\nDECLARE VLASTHDG\n"
    "DECLARE VFLYMISSEDAPP\nDECLARE VWINDSPD\nDECLARE VWINDHDG\nDECLARE VPUSHBACK\nDECLARE VLAT\n"
    "DECLARE VLON\nDECLARE VTIMER2\nDECLARE VRANDOM2\nDECLARE VCALL\nDECLARE VFIRSTCALL\n"
    "DECLARE VCRY\nDECLARE VEL_Y\nDECLARE TIME1\nDECLARE TIME2\nDECLARE ALT1\nDECLARE ALT2\n"
    "DECLARE VMAPPREASON\n";

const std::string kInitialValues =
    "VMISSEDAPP  = 0\nVCHECKSDONE = 0\nVMAXALT     = 500000\nVDESCREQ    = 0\nVSQUAWK     = 0\n"
    "VSQUAWKCNG  = 0\nVFLYMISSEDAPP = 0\nVPUSHBACK   = 0\nVCALL       = 1\nVCRY        = 0\n";

const std::string kBothMessages =
    "inserting new declarations...\ninserting new initialzations...\n";

TEST(Declarations, StandAheadOfTheFirstDeclarationAndValuesAfterTheLast) {
  auto run = rewriteLinesOnly("A\nB\ndeclare vOne\nDECLARE VTWO\nC\nDECLARE VTHREE\nD\n");
  EXPECT_EQ(run.text, "A\nB\nDESCRIPTION \"PATCHED BY JM\"\n" + kDeclarations +
                          "DECLARE VONE\nDECLARE VTWO\n" + kInitialValues +
                          "C\nDECLARE VTHREE\nD\n");
  EXPECT_EQ(run.console, kBothMessages);
  EXPECT_EQ(run.state.declarations, Declarations::done);
}

TEST(Declarations, ABlankLineEndsTheDeclarationsEvenWhenAnEarlierRuleBlankedIt) {
  EXPECT_EQ(rewriteLinesOnly("DECLARE VONE\n\nDECLARE VTWO\n").text,
            kDeclarations + "DECLARE VONE\n" + kInitialValues + "\n" +
                "DESCRIPTION \"PATCHED BY JM\"\nDECLARE VTWO\n");
  // A runway description is blanked before the declarations are looked at.
  EXPECT_EQ(rewriteLinesOnly("DECLARE VONE\nDESCRIPTION \"RWY 27\"\n").text,
            kDeclarations + "DECLARE VONE\n" + kInitialValues + "\n");
}

TEST(Declarations, NeedAtLeastOneDeclarationAndValuesNeedALineAfterIt) {
  auto none = rewriteLinesOnly("A\nB\n");
  EXPECT_EQ(none.text, "A\nB\n");
  EXPECT_EQ(none.console, "");

  auto last = rewriteLinesOnly("A\nDECLARE VONE\n");
  EXPECT_EQ(last.text, "A\n" + kDeclarations + "DECLARE VONE\n");
  EXPECT_EQ(last.console, "inserting new declarations...\n");
}

}  // namespace
}  // namespace aplpatch
