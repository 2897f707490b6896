#include "running_command.h"
#include "script_actions.h"
#include "shown_word.h"

void pressControl(HostSession& session, const ScriptWords& words) {
  requireRunningCommand(session);
  int32_t id = controlId(session, words[0]);
  requireEnabled(session, words[0], id);
  session.host.gui().dialog().pressButton(id);
}
