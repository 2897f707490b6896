#include "loop_time.h"
#include "script_actions.h"

void runMainLoop(HostSession& session, const ScriptWords& words) {
  session.host.core().mainLoop().runFor(loopTimeWord(words[0]));
}
