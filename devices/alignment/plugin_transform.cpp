#include "devices/alignment/plugin_transform.h"

#include "devices/alignment/alignment_services.h"
#include "framework/object/iptr.h"

namespace {

const Matrix4x4& sharedIdentity() {
  static const Matrix4x4 identity;
  return identity;
}

// Rigid, affine and not mirrored: what a part alignment can be. NaN fails every test.
bool isProperRigid(const Matrix4x4& m) {
  return m.isRigid() && m.m[12] == 0.0 && m.hasUnitLastRow() && m.determinant3() >= 0.0;
}

}  // namespace

void PluginTransform::setHardwareMatrix(const Matrix4x4& matrix) {
  SPtr<IZelPluginDeviceHardwareAlignmentService> hardware;
  if (hardware) hardware->setMatrix(matrix, true);
}

void PluginTransform::reloadObjectMatrix() {
  SPtr<IZelPluginDeviceObjectAlignmentService> object;
  if (!object) return;
  const Matrix4x4& candidate = *object->matrix();
  if (isProperRigid(candidate)) cachedObject_ = candidate;
}

const Matrix4x4& PluginTransform::hardwareMatrix() {
  SPtr<IZelPluginDeviceHardwareAlignmentService> hardware;
  return hardware ? *hardware->matrix() : sharedIdentity();
}

Matrix4x4& PluginTransform::deviceMatrix(Matrix4x4& out) {
  SPtr<IZelPluginDeviceScaleAlignmentService> scale;
  const Matrix4x4& scaleMatrix = scale ? *scale->matrix() : sharedIdentity();
  out = cachedObject_ * hardwareMatrix() * scaleMatrix;
  return out;
}
