#include "host/cad/cad_model.h"
#include "host/cad/mesh_shapes.h"
#include "platform/utf8.h"
#include "script_actions.h"
#include "script_numbers.h"

// A box is the simplest surface a module can pick on or fit to; it stands for a part's CAD model.
void addCadBox(HostSession& session, const ScriptWords& words) {
  if (words[0].empty()) throw ScriptError("the model needs a name");
  const HostMesh::Point minimum = pointWords(words, 1);
  const HostMesh::Point maximum = pointWords(words, 4);
  for (size_t axis = 0; axis < 3; ++axis) {
    if (!(minimum[axis] < maximum[axis])) {
      throw ScriptError("the first corner must lie below the second on every axis");
    }
  }
  IPtr<HostMesh> mesh = boxMesh(minimum, maximum);
  addCadModel(session.host.document().doc(), platform::fromUtf8(words[0]), mesh.get());
}
