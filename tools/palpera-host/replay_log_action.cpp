#include "regular_file.h"
#include "script_actions.h"
#include "shown_word.h"

// The replay only starts here: the module's handlers of the log's records take them from the replayer as
// the module's replay needs them, as they do under a host that replays its own log.
void replayLog(HostSession& session, const ScriptWords& words) {
  const std::string what = "cannot read the host log " + shownPath(words[0]);
  if (std::optional<std::string> why = whyNoRegularFile(words[0])) throw ScriptError(what + ": " + *why);
  if (!session.host.devices().replayer().startReplay(words[0])) throw ScriptError(what);
  session.noteReplayStart(words[0]);
}
