#include "host/scene/host_viewing_transform.h"

#include "framework/object/query_chain.h"

Matrix4x4 HostViewingTransform::matrix() {
  Matrix4x4 placement = Matrix4x4::translation(position_);
  const Vector3 back = position_.normalized();
  const Vector3 right = Vector3::cross(up_, back).normalized();
  if (back.squaredLength() == 0 || right.squaredLength() == 0) return placement;
  const Vector3 up = Vector3::cross(back, right);
  const Vector3 axes[3] = {right, up, back};
  for (int column = 0; column < 3; ++column) {
    placement.m[column] = axes[column].x;
    placement.m[4 + column] = axes[column].y;
    placement.m[8 + column] = axes[column].z;
  }
  return placement;
}

void HostViewingTransform::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<ISGfxViewingTransform*>(this))
      .offer<ISGfxViewingTransform>(this)
      .offer<IZelOrienter>(offersOrienter_ ? this : nullptr)
      .end();
}
