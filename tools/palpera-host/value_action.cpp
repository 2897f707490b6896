#include "running_command.h"
#include "script_actions.h"
#include "script_numbers.h"
#include "shown_word.h"

void enterValue(HostSession& session, const ScriptWords& words) {
  requireRunningCommand(session);
  int32_t id = controlId(session, words[0]);
  if (!session.host.gui().dialog().enterValue(id, numberWord(words[1]))) {
    throw ScriptError("the control " + shownWord(words[0]) + " is disabled");
  }
}
