#include "script_actions.h"

void startModule(HostSession& session, const ScriptWords&) {
  if (!session.start()) throw ScriptError("the module has started already");
}
