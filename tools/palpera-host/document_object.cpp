#include "document_object.h"

#include "platform/utf8.h"
#include "script_action.h"
#include "shown_word.h"

IPtr<HostDocObject> objectNamed(HostDocument& doc, const std::string& name) {
  for (IPtr<HostDocObject>& object : doc.objects()) {
    if (object->name() == platform::fromUtf8(name)) return object;
  }
  throw ScriptError("the document has no object " + shownWord(name));
}
