#include "host/document/host_csys_service.h"

#include "framework/object/query_chain.h"

void HostCSysService::worldToActiveVector(const double world[3], double active[3]) {
  Matrix4x4 placement;
  {
    std::lock_guard lock(mutex_);
    placement = placement_;
  }
  // The inverse of a rotation is its transpose.
  const Vector3 mapped =
      Matrix4x4::transformVector(placement.transposed(), Vector3(world[0], world[1], world[2]));
  mapped.copyTo(active);
}

bool HostCSysService::setActive(const Matrix4x4& placement) {
  if (!placement.isRigid() || placement.determinant3() < 0) return false;
  std::lock_guard lock(mutex_);
  placement_ = placement;
  return true;
}

void HostCSysService::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<ICSysService>(this).end();
}
