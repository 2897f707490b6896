#include "platform/utf8.h"
#include "running_command.h"
#include "script_actions.h"
#include "shown_word.h"

void typeText(HostSession& session, const ScriptWords& words) {
  requireRunningCommand(session);
  int32_t id = controlId(session, words[0]);
  requireEnabled(session, words[0], id);
  if (!session.host.gui().dialog().typeText(id, platform::fromUtf8(words[1]))) {
    throw ScriptError("the control " + shownWord(words[0]) + " is no text field");
  }
}
