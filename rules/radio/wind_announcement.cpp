#include "rules/radio/wind_announcement.h"

#include <string>

#include "engine/line_text.h"
#include "rules/unseen_lines.h"

namespace aplpatch {

namespace {

// Writes the line that plays the first controller voice's recording for wind speed `speed`.
void writeSpeedSound(Pass& pass, int speed) {
  std::string& text = pass.scratch();
  text.assign("  ");
  text.append(pass.state().soundRoot);
  text.append("CONTROLLERS\\VOICE1\\FC");
  if (speed < 10) text.push_back('0');
  text.append(std::to_string(speed));
  text.append("\"\n");
  pass.write(text);
}

void writeUpTo(Pass& pass, int speed) {
  std::string& text = pass.scratch();
  text.assign(" ELSEIF VWINDSPD <= ");
  text.append(std::to_string(speed));
  text.append(" THEN\n");
  pass.write(text);
}

}  // namespace

void announceWind(Pass& pass) {
  if (!contains(pass.line(), kWindCall)) return;
  ++pass.state().added.windAnnouncements;
  pass.write(pass.line());
  pass.write("GOSUB PLAY_WINDSPD\n");
  if (!pass.skipUntil("FC_N")) return;
  pass.write("IF WIND_SURF_VEL > 0 THEN\n");
  pass.write(pass.line());
  pass.write("VCOURSE = WIND_SURF_DIR\n");
  pass.write("GOSUB PLAY_COURSE\n");
  pass.write("ENDIF\n");
  pass.skipUntil("FC_N");
}

void keepWindCall(Pass& pass) {
  if (!contains(pass.line(), kWindCall)) return;
  pass.write(pass.line());
  if (!keepUnseenUntil(pass, "FC_N")) return;
  upcaseAscii(pass.line());
  pass.write(pass.line());
  keepUnseenUntil(pass, "FC_N");
}

void appendPlayWindSpeed(Pass& pass) {
  pass.write("PLAY_WINDSPD:\n");
  pass.write(" VWINDSPD = WIND_SURF_VEL\n");
  pass.write(" IF VWINDSPD = 0 THEN\n");
  for (int speed = 0; speed < 20; ++speed) {
    writeSpeedSound(pass, speed);
    writeUpTo(pass, speed + 1);
  }
  for (int speed = 20; speed <= 95; speed += 5) {
    writeSpeedSound(pass, speed);
    if (speed < 95) writeUpTo(pass, speed + 5);
  }
  pass.write(" ENDIF\nRETURN\n");
}

}  // namespace aplpatch
