#include <stdexcept>

#include "host/cad/brep_model.h"
#include "host/cad/cad_model.h"
#include "platform/utf8.h"
#include "script_actions.h"
#include "script_numbers.h"

// A box is the simplest solid a module can pick on or fit to; it stands for a part's CAD model.
void addCadBox(HostSession& session, const ScriptWords& words) {
  if (words[0].empty()) throw ScriptError("the model needs a name");
  const BrepModel::Point minimum = pointWords(words, 1);
  const BrepModel::Point maximum = pointWords(words, 4);
  for (size_t axis = 0; axis < 3; ++axis) {
    if (!(minimum[axis] < maximum[axis])) {
      throw ScriptError("the first corner must lie below the second on every axis");
    }
  }
  std::shared_ptr<const BrepModel> box;
  try {
    box = boxModel(minimum, maximum);
  } catch (const std::invalid_argument& refused) {
    throw ScriptError(refused.what());
  }
  addCadModel(session.host.document().doc(), platform::fromUtf8(words[0]), box);
}
