#include <string>

#include "running_command.h"
#include "script_actions.h"
#include "shown_word.h"

// A press whose work the module reports as failed (a file that could not be written, a file refused) fails
// the script: the error service has shown the message already.
void pressControl(HostSession& session, const ScriptWords& words) {
  requireRunningCommand(session);
  int32_t id = controlId(session, words[0]);
  requireEnabled(session, words[0], id);
  RecordingErrorService& errors = session.host.core().errors();
  const size_t before = errors.reports().size();
  session.host.gui().dialog().pressButton(id);
  const size_t shown = errors.reports().size() - before;
  if (shown == 0) return;
  throw ScriptError("pressing " + shownWord(words[0]) + " failed: " + std::to_string(shown) +
                    (shown == 1 ? " error was" : " errors were") + " shown");
}
