#include "host/cad/cad_model.h"
#include "platform/utf8.h"
#include "script_actions.h"
#include "shown_word.h"

void loadCadFile(HostSession& session, const ScriptWords& words) {
  if (words[0].empty()) throw ScriptError("the model needs a name");
  try {
    loadCadModel(session.host.document().doc(), platform::fromUtf8(words[0]), words[1]);
  } catch (const CadFileError& error) {
    throw ScriptError("cannot load the CAD model " + shownWord(words[1]) + ": " + error.reason());
  }
}
