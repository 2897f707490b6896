#include <algorithm>
#include <cstring>
#include <vector>

#include "module_objects.h"
#include "script_actions.h"
#include "shown_word.h"

namespace {

bool sameClass(IZelUnknown* one, IZelUnknown* other) {
  const char* name = one->className();
  const char* otherName = other->className();
  return name && otherName && std::strcmp(name, otherName) == 0;
}

}  // namespace

// A host loads each plug-in once: a second object of a loaded class is refused, not loaded beside the first.
void loadPlugin(HostSession& session, const ScriptWords& words) {
  const std::string shown = shownWord(words[0]);
  IPtr<IZelUnknown> plugin = createModuleObject<IZelUnknown>(session, words[0]);
  HostPluginHandler& handler = session.host.devices().pluginHandler();
  std::vector<IZelUnknown*> loaded = handler.plugins();
  if (std::any_of(loaded.begin(), loaded.end(),
                  [&](IZelUnknown* each) { return sameClass(each, plugin.get()); })) {
    throw ScriptError(shown + " is loaded already");
  }
  if (!handler.registerPlugin(plugin.get())) throw ScriptError(shown + " is no device plug-in");
}
