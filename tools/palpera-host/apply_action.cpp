#include "running_command.h"
#include "script_actions.h"

void applyCommand(HostSession& session, const ScriptWords&) {
  requireRunningCommand(session);
  if (!session.commands.apply()) throw ScriptError("the command cannot apply now; it is still running");
}
