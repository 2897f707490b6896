#include "running_command.h"
#include "script_actions.h"

void cancelCommand(HostSession& session, const ScriptWords&) {
  requireRunningCommand(session);
  if (!session.commands.cancel()) throw ScriptError("the command refused to cancel; it is still running");
}

void finishRunningCommand(HostSession& session, const ScriptWords&) {
  requireRunningCommand(session);
  session.commands.finish();
}
