#include "running_command.h"
#include "script_actions.h"
#include "shown_word.h"

void chooseRadio(HostSession& session, const ScriptWords& words) {
  requireRunningCommand(session);
  int32_t id = controlId(session, words[0]);
  requireEnabled(session, words[0], id);
  if (!session.host.gui().dialog().chooseRadio(id)) {
    throw ScriptError("the control " + shownWord(words[0]) + " is no radio button");
  }
}
