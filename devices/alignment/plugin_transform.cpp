#include "devices/alignment/plugin_transform.h"

#include "basic_types/transform_checks.h"
#include "devices/alignment/alignment_services.h"
#include "framework/object/iptr.h"

namespace {

const Matrix4x4& sharedIdentity() {
  static const Matrix4x4 identity;
  return identity;
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
