#include "script_actions.h"

// The replay only starts here: the module's handlers of the log's records take them from the replayer as
// the module's replay needs them, as they do under a host that replays its own log.
void replayLog(HostSession& session, const ScriptWords& words) {
  if (!session.host.replayer().startReplay(words[0])) {
    throw ScriptError("cannot read the host log '" + words[0] + "'");
  }
  session.noteReplayStart(words[0]);
}
