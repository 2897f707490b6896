#include "module_objects.h"

#include <optional>

#include "basic_types/zel_cstring.h"
#include "host/core/module_startup.h"
#include "script_action.h"
#include "shown_word.h"

void* createModulePart(HostSession& session, const std::string& className, const char* interfaceName) {
  std::optional<ZelID> id = classIdNamed(session.module.component(), className);
  if (!id) throw ScriptError("the module has no class " + shownWord(className));
  ZelCString name(interfaceName);
  void* part = nullptr;
  session.host.root().createInstance(&*id, &name, &part);
  if (!part) throw ScriptError(shownWord(className) + " is no " + interfaceName);
  return part;
}
