#include "rules/radio/wind_announcement.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::appendedText;
using testing::pastHeader;
using testing::rewriteLinesOnly;


TEST(WindAnnouncement, PlaysTheSpeedAndTheDirectionOnlyWithWind) {
  auto run = rewriteLinesOnly(
      " PLAY\"C:\\WAV\\VOICE1\\FC_N040\"\n"
      " WAIT 2\n"
      " GOSUB SOMETHING\n"
      " play\"c:\\wav\\voice1\\FC_N041\"\n"
      " wait 2\n"
      " play\"c:\\wav\\voice1\\FC_N042\"\n"
      "NEXT\n",
      pastHeader());
  EXPECT_EQ(run.text,
            " PLAY\"C:\\WAV\\VOICE1\\FC_N040\"\n"
            "GOSUB PLAY_WINDSPD\n"
            "IF WIND_SURF_VEL > 0 THEN\n"
            " play\"c:\\wav\\voice1\\FC_N041\"\n"
            "VCOURSE = WIND_SURF_DIR\n"
            "GOSUB PLAY_COURSE\n"
            "ENDIF\n"
            " play\"c:\\wav\\voice1\\FC_N042\"\n"
            "NEXT\n");
}

TEST(WindAnnouncement, StopsWritingWhereTheInputEnds) {
  EXPECT_EQ(rewriteLinesOnly("FC_N040\n WAIT 2\n", pastHeader()).text,
            "FC_N040\nGOSUB PLAY_WINDSPD\n");
  EXPECT_EQ(rewriteLinesOnly("FC_N040\nFC_N041\n WAIT 2\n", pastHeader()).text,
            "FC_N040\nGOSUB PLAY_WINDSPD\nIF WIND_SURF_VEL > 0 THEN\nFC_N041\n"
            "VCOURSE = WIND_SURF_DIR\nGOSUB PLAY_COURSE\nENDIF\n");
}

// Runs the generated subroutine for one wind speed: returns the sound line that plays, or "" when
// no branch holds.
std::string soundPlayedAt(const std::string& subroutine, double speed) {
  std::istringstream lines(subroutine);
  std::string line;
  bool branchTaken = false;
  bool inTakenBranch = false;
  while (std::getline(lines, line)) {
    double bound = 0;
    bool holds = false;
    if (line == " IF VWINDSPD = 0 THEN") {
      holds = speed == 0;
    } else if (line.rfind(" ELSEIF VWINDSPD <= ", 0) == 0) {
      bound = std::atof(line.c_str() + 20);
      holds = speed <= bound;
    } else {
      if (inTakenBranch && line.rfind("  ", 0) == 0) return line;
      continue;
    }
    inTakenBranch = holds && !branchTaken;
    branchTaken = branchTaken || holds;
  }
  return "";
}

TEST(PlayWindSpeed, PlaysTheRecordingOfTheWindSpeedRoundedUp) {
  RewriteState state;
  state.soundRoot = "PLAY\"C:\\FS\\WAV\\";
  const std::string text = appendedText(appendPlayWindSpeed, state);

  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  int sounds = 0;
  int branches = 0;
  for (const std::string& line : lines) {
    if (line.rfind("  PLAY\"C:\\FS\\WAV\\CONTROLLERS\\VOICE1\\FC", 0) == 0) ++sounds;
    if (line.rfind(" ELSEIF VWINDSPD <= ", 0) == 0) ++branches;
  }
  EXPECT_EQ(sounds, 36);
  EXPECT_EQ(branches, 35);
  ASSERT_EQ(lines.size(), 76u);
  EXPECT_EQ(lines[0], "PLAY_WINDSPD:");
  EXPECT_EQ(lines[1], " VWINDSPD = WIND_SURF_VEL");
  EXPECT_EQ(lines[74], " ENDIF");
  EXPECT_EQ(lines[75], "RETURN");

  struct Case {
    double speed;
    const char* file;  // "" when nothing plays
  };
  const Case cases[] = {{0, "FC00"},   {0.5, "FC01"},  {1, "FC01"},  {4.5, "FC05"},
                        {9.5, "FC10"}, {19.5, "FC20"}, {20, "FC20"}, {20.5, "FC25"},
                        {21, "FC25"},  {90.5, "FC95"}, {95, "FC95"}, {96, ""}};
  for (const Case& c : cases) {
    std::string expected =
        *c.file ? "  PLAY\"C:\\FS\\WAV\\CONTROLLERS\\VOICE1\\" + std::string(c.file) + "\"" : "";
    EXPECT_EQ(soundPlayedAt(text, c.speed), expected) << c.speed;
  }
}

TEST(PlayWindSpeed, WithoutASoundRootOnlyThePathIsWritten) {
  const std::string head =
      "PLAY_WINDSPD:\n VWINDSPD = WIND_SURF_VEL\n IF VWINDSPD = 0 THEN\n"
      "  CONTROLLERS\\VOICE1\\FC00\"\n ELSEIF VWINDSPD <= 1 THEN\n";
  EXPECT_EQ(appendedText(appendPlayWindSpeed, RewriteState{}).substr(0, head.size()), head);
}

}  // namespace
}  // namespace aplpatch
