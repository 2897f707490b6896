#include "host/scene/host_vector_input.h"

#include "framework/object/query_chain.h"
#include "host/cad/cad_model.h"
#include "host/scene/host_pick_on_model.h"
#include "host/scene/host_view_input.h"
#include "host_api/view_input.h"
#include "host_api/zel_doc.h"

bool HostVectorInput::accept(IPhaseService* phases, IZelDocObject* object) {
  return phases && object && object->subObject(kSurfaceModel) != nullptr;
}

bool HostVectorInput::activate() {
  active_ = true;
  return true;
}

void HostVectorInput::stop() {
  active_ = false;
}

bool HostVectorInput::pick(IGfxMouseData* mouse, IZelDocObject* object, Vector3& point) {
  if (!active_ || !mouse || !object) return false;
  IPtr<HostMouseData> data(new HostMouseData);
  data->setMouseData(mouse);
  IPtr<HostPickOnModel> picker(new HostPickOnModel);
  double at[3], normal[3];
  hit_ = picker->prepare(data.get()) && picker->pick(object) && picker->hitPoint(at) &&
         picker->hitNormal(normal);
  if (!hit_) return false;
  point = {at[0], at[1], at[2]};
  normal_ = {normal[0], normal[1], normal[2]};
  return true;
}

bool HostVectorInput::normal(Vector3& out) {
  if (hit_) out = normal_;
  return hit_;
}

void HostVectorInput::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelVectorInput*>(this))
      .offer<IZelVectorInput>(this)
      .offer<ITripletInputNormal>(this)
      .end();
}
