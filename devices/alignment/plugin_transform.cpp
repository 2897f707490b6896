#include "devices/alignment/plugin_transform.h"

#include "basic_types/transform_checks.h"
#include "devices/alignment/alignment_services.h"
#include "framework/object/iptr.h"

namespace {

const Matrix4x4& sharedIdentity() {
  static const Matrix4x4 identity;
  return identity;
}

// The object service's matrix (the singleton's own) when a measuring command would take it up, else none.
const Matrix4x4* objectToTakeUp() {
  SPtr<IZelPluginDeviceObjectAlignmentService> object;
  if (!object || !isProperRigid(*object->matrix())) return nullptr;
  return object->matrix();
}

}  // namespace

void PluginTransform::setHardwareMatrix(const Matrix4x4& matrix) {
  SPtr<IZelPluginDeviceHardwareAlignmentService> hardware;
  if (hardware) hardware->setMatrix(matrix, true);
}

void PluginTransform::reloadObjectMatrix() {
  if (const Matrix4x4* object = objectToTakeUp()) cachedObject_ = *object;
}

const Matrix4x4& PluginTransform::hardwareMatrix() {
  SPtr<IZelPluginDeviceHardwareAlignmentService> hardware;
  return hardware ? *hardware->matrix() : sharedIdentity();
}

Matrix4x4 PluginTransform::hardwareWithin(const Matrix4x4& device) {
  const Matrix4x4* object = objectToTakeUp();
  SPtr<IZelPluginDeviceScaleAlignmentService> scale;
  // A rigid object matrix always inverts; a scale of zero has no inverse and is left out.
  Matrix4x4 fromScale;
  if (!scale || !Matrix4x4::invert(*scale->matrix(), fromScale)) fromScale = Matrix4x4::identity();
  return (object ? Matrix4x4::inverse(*object) : Matrix4x4::identity()) * device * fromScale;
}

Matrix4x4& PluginTransform::deviceMatrix(Matrix4x4& out) {
  SPtr<IZelPluginDeviceScaleAlignmentService> scale;
  const Matrix4x4& scaleMatrix = scale ? *scale->matrix() : sharedIdentity();
  out = cachedObject_ * hardwareMatrix() * scaleMatrix;
  return out;
}
