#include "document_object.h"

#include "platform/utf8.h"
#include "script_action.h"
#include "shown_word.h"

IPtr<HostDocObject> objectNamed(HostDocument& doc, const std::string& name) {
  const std::u16string wanted = platform::fromUtf8(name);
  IZelDocObject* found = doc.findObject(ZelString(wanted.c_str()));
  for (IPtr<HostDocObject>& object : doc.objects()) {
    if (found && object.get() == found) return object;
  }
  throw ScriptError("the document has no object " + shownWord(name));
}
