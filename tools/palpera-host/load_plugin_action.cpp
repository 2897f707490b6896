#include <algorithm>
#include <vector>

#include "module_objects.h"
#include "script_actions.h"

void loadPlugin(HostSession& session, const ScriptWords& words) {
  const std::string& className = words[0];
  IPtr<IZelUnknown> plugin = createModuleObject<IZelUnknown>(session, className);
  HostPluginHandler& handler = session.host.pluginHandler();
  if (handler.registerPlugin(plugin.get())) return;
  std::vector<IZelUnknown*> loaded = handler.plugins();
  if (std::find(loaded.begin(), loaded.end(), plugin.get()) != loaded.end()) {
    throw ScriptError("'" + className + "' is loaded already");
  }
  throw ScriptError("'" + className + "' is no device plug-in");
}
