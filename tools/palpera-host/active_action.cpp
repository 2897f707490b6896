#include "document_object.h"
#include "script_actions.h"

// Without a name no object is active.
void chooseActiveObject(HostSession& session, const ScriptWords& words) {
  HostDocument& doc = session.host.document().doc();
  doc.setActiveObject(words.empty() ? nullptr : objectNamed(doc, words[0]).get());
}
