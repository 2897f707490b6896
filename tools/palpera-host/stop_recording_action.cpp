#include "script_actions.h"

void stopRecording(HostSession& session, const ScriptWords&) {
  HostGuiLogger& logger = session.host.devices().logger();
  if (!logger.isRecording()) throw ScriptError("no host log is being recorded");
  if (!logger.stopRecording()) throw ScriptError(HostGuiLogger::kUnwrittenLog);
}
