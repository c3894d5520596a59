#include "rules/header/welcome_notice.h"

#include <gtest/gtest.h>

#include <string>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::pastHeader;
using testing::rewriteLinesOnly;


const char kGermanNotice[] =
    "PRINT\"(Dieses Adventure ist gepatched von J. Morvensk)\"\nWAIT MESSAGE\n";
const char kEnglishNotice[] = "PRINT\"(This Adventure is patched by J. Morvensk)\"\nWAIT MESSAGE\n";
const char kFound[] = "SUBPROC for welcome message found\n";
const char kInserted[] = "insert patch message\n";

struct Case {
  const char* hint;    // the line after "WELCOME:"
  std::string output;  // what follows the "WELCOME:" line
  std::string console;
  bool windowOpenAfter;
};

TEST(WelcomeNotice, RewordsTheKeyHintAfterTheNotice) {
  const Case cases[] = {
      {" PRINT\"Druecken Sie (F1), um eine Uebersicht der Tasten zu sehen\"\n",
       std::string(kGermanNotice) +
           "PRINT\"Der Tastencode (F1) bewirkt jetzt eine Anfrage zum Sinkflug.\"\n",
       std::string(kFound) + kInserted, false},
      // The first ")" after the first "(" closes the key.
      {" PRINT\"1) Druecken Sie (X) (Y), um eine Uebersicht zu sehen\"\n",
       std::string(kGermanNotice) +
           "PRINT\"Der Tastencode (X) bewirkt jetzt eine Anfrage zum Sinkflug.\"\n",
       std::string(kFound) + kInserted, false},
      // Without a bracketed key the hint gets the notice and stays as it is.
      {" PRINT\"Druecken Sie X) um eine Uebersicht (zu sehen\"\n",
       std::string(kGermanNotice) + " PRINT\"DRUECKEN SIE X) UM EINE UEBERSICHT (ZU SEHEN\"\n",
       std::string(kFound) + kInserted, false},
      {" PRINT\"Press X to see the keys available during this flight.\"\n",
       std::string(kEnglishNotice) + " PRINT\"PRESS X FOR REQUESTING DESCENT!\"\n",
       std::string(kFound) + kInserted, false},
      // An unrelated line leaves the block open.
      {" PRINT\"Welcome on board\"\n", " PRINT\"WELCOME ON BOARD\"\n", kFound, true},
  };
  for (const Case& c : cases) {
    auto run = rewriteLinesOnly(std::string("WELCOME:\n") + c.hint, pastHeader());
    EXPECT_EQ(run.text, "WELCOME:\n" + c.output) << c.hint;
    EXPECT_EQ(run.console, c.console) << c.hint;
    EXPECT_EQ(run.state.openBlock == OpenBlock::welcome, c.windowOpenAfter) << c.hint;
  }
}

TEST(WelcomeNotice, GoesToTheFirstHintAfterTheLabelAndOnlyOnce) {
  auto run = rewriteLinesOnly(
      "PRINT\"PRESS X TO SEE THE KEYS AVAILABLE DURING THIS FLIGHT\"\n"
      "WELCOME: PRINT\"PRESS X TO SEE THE KEYS AVAILABLE DURING THIS FLIGHT\"\n"
      " PRINT\"HELLO\"\n"
      " PRINT\"PRESS Y TO SEE THE KEYS AVAILABLE DURING THIS FLIGHT\"\n"
      " PRINT\"PRESS Z TO SEE THE KEYS AVAILABLE DURING THIS FLIGHT\"\n",
      pastHeader());
  EXPECT_EQ(run.text,
            std::string("PRINT\"PRESS X TO SEE THE KEYS AVAILABLE DURING THIS FLIGHT\"\n"
                        "WELCOME: PRINT\"PRESS X TO SEE THE KEYS AVAILABLE DURING THIS FLIGHT\"\n"
                        " PRINT\"HELLO\"\n") +
                kEnglishNotice +
                " PRINT\"PRESS Y FOR REQUESTING DESCENT!\"\n"
                " PRINT\"PRESS Z TO SEE THE KEYS AVAILABLE DURING THIS FLIGHT\"\n");
  EXPECT_EQ(run.console, std::string(kFound) + kInserted);
}

TEST(WelcomeNotice, BothHintsInOneLineGetBothNotices) {
  // The block is looked at once: the English test still runs after the German one closed it.
  auto run = rewriteLinesOnly(
      "WELCOME:\n PRINT\"UM EINE UEBERSICHT - PRESS X TO SEE THE KEYS AVAILABLE DURING THIS "
      "FLIGHT\"\n",
      pastHeader());
  EXPECT_EQ(run.text, std::string("WELCOME:\n") + kGermanNotice + kEnglishNotice +
                          " PRINT\"UM EINE UEBERSICHT - PRESS X FOR REQUESTING DESCENT!\"\n");
  EXPECT_EQ(run.console, std::string(kFound) + kInserted + kInserted);
}

TEST(WelcomeNotice, ARewordedHintLongerThanAReadLineIsWrittenWhole) {
  const std::string key = "(" + std::string(220, 'K') + ")";
  const std::string hint = " PRINT\"UM EINE UEBERSICHT " + key + "\"\n";
  ASSERT_LE(hint.size(), 254u);
  const std::string reworded =
      "PRINT\"Der Tastencode " + key + " bewirkt jetzt eine Anfrage zum Sinkflug.\"\n";
  ASSERT_GT(reworded.size(), 255u);
  EXPECT_EQ(rewriteLinesOnly("WELCOME:\n" + hint + "A\n", pastHeader()).text,
            "WELCOME:\n" + std::string(kGermanNotice) + reworded + "A\n");
}

}  // namespace
}  // namespace aplpatch
