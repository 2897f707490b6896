#include <string>

#include "script_actions.h"

void stopRecording(HostSession& session, const ScriptWords&) {
  HostGuiLogger& logger = session.host.devices().logger();
  if (!logger.isRecording()) throw ScriptError("no host log is being recorded");
  if (std::string why; !logger.stopRecording(&why)) throw ScriptError(why);
}
