#include "document_object.h"
#include "script_actions.h"

// Without a name no object is current: the world is.
void chooseCurrentObject(HostSession& session, const ScriptWords& words) {
  HostDocument& doc = session.host.document().doc();
  doc.setCurrentObject(words.empty() ? nullptr : objectNamed(doc, words[0]).get());
}
