#include "rules/header/checklist_guard.h"

#include "engine/line_text.h"

namespace aplpatch {

void noteChecklistDeclaration(Pass& pass) {
  if (contains(pass.line(), kChecklistDeclaration)) pass.state().hasChecklists = true;
}

void guardChecklists(Pass& pass) {
  if (!pass.state().hasChecklists || !contains(pass.line(), kChecklistLabel)) return;
  pass.write(pass.line());
  pass.write(" IF VCHECKLISTS < VCHECKSDONE THEN\n");
  pass.write("   RETURN\n");
  pass.write(" ENDIF\n");
  pass.line().assign(" VCHECKSDONE = VCHECKLISTS + 1\n");
}

void countFifthChecklist(Pass& pass) {
  if (!startsWith(pass.line(), kFifthChecklist)) return;
  pass.write("VLISTCHECK  = 4\n");
  pass.write("VCHECKSDONE = 5\n");
}

}  // namespace aplpatch
