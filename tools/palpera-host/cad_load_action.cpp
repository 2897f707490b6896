#include "host/cad/brep_model.h"
#include "host/cad/cad_model.h"
#include "platform/utf8.h"
#include "script_actions.h"
#include "shown_word.h"

// The whole file is read before the document is touched, so a bad file leaves the document as it was.
void loadCadModel(HostSession& session, const ScriptWords& words) {
  if (words[0].empty()) throw ScriptError("the model needs a name");
  std::shared_ptr<const BrepModel> model;
  try {
    model = readStepModel(words[1]);
  } catch (const CadFileError& error) {
    throw ScriptError("cannot load the CAD model " + shownWord(words[1]) + ": " + error.reason());
  }
  addCadModel(session.host.document().doc(), platform::fromUtf8(words[0]), std::move(model));
}
