#include "document_object.h"
#include "script_actions.h"
#include "script_numbers.h"

// Puts an object where the part stands: its transform from its own coordinates to the world, row by row.
void setObjectTransform(HostSession& session, const ScriptWords& words) {
  IPtr<HostDocObject> object = objectNamed(session.host.document().doc(), words[0]);
  double matrix[16];
  for (size_t i = 0; i < 16; ++i) matrix[i] = numberWord(words[i + 1]);
  if (!object->setTransform(matrix)) throw ScriptError("a transform needs 16 finite numbers");
}
