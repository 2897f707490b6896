#include "running_command.h"
#include "script_actions.h"
#include "shown_word.h"

void pressControl(HostSession& session, const ScriptWords& words) {
  requireRunningCommand(session);
  if (!session.host.gui().dialog().pressButton(controlId(session, words[0]))) {
    throw ScriptError("the control " + shownWord(words[0]) + " is disabled");
  }
}
