#include "host/scene/host_object_size_source.h"

#include <algorithm>

#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "host/cad/cad_model.h"
#include "host/cad/host_mesh.h"
#include "host_api/gfx_view.h"

void HostObjectSizeSource::setObject(IZelDocObject* object, double factor) {
  objectId_ = object ? document_.objectId(object) : 0;
  factor_ = factor;
}

double HostObjectSizeSource::objectSize(IZelDocObject& object) {
  double box[6];
  if (gfx_.objectBox(&object, box)) return std::max({box[3] - box[0], box[4] - box[1], box[5] - box[2]});
  auto* mesh = queryPart<HostMesh>(object.subObject(kSurfaceModel));
  return mesh ? mesh->size() : 0;
}

void HostObjectSizeSource::getMatrix(Matrix4x4& out) {
  IZelDocObject* object = objectId_ ? document_.objectById(objectId_) : nullptr;
  const double size = object ? objectSize(*object) : 0;
  out = size > 0 ? Matrix4x4::uniformScaling(factor_ * size) : Matrix4x4::identity();
}

void HostObjectSizeSource::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IObjectSizeSource>(this)
      .offer<IZelMatrixSource>(this)
      .end();
}
