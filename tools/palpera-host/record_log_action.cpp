#include "script_actions.h"
#include "shown_word.h"

void recordLog(HostSession& session, const ScriptWords& words) {
  if (!session.host.devices().logger().startRecording(words[0])) {
    throw ScriptError("cannot write the host log " + shownWord(words[0]));
  }
}
