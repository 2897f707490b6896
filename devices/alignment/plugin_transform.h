#pragma once

// The transform operations of the module's own device plug-ins (the emulator and the log replay), built on
// the three alignment services: the device transform is the cached object matrix x the hardware matrix x the
// scale matrix, so the scale acts first on a point. The object matrix is cached per plug-in and refreshed
// only on request; a device copies the transform when its acquisition starts.

#include "basic_types/matrix4x4.h"

class PluginTransform {
 public:
  // Hands the hardware service a new matrix, which it also stores; nothing without the service.
  void setHardwareMatrix(const Matrix4x4& matrix);
  // Takes the object service's matrix into the cache when it is a proper rigid transform (isProperRigid);
  // otherwise, or without the service, keeps the cache.
  void reloadObjectMatrix();
  void resetObjectMatrix() { cachedObject_ = Matrix4x4::identity(); }
  // The hardware service's matrix, or the identity without it.
  const Matrix4x4& hardwareMatrix();
  Matrix4x4& deviceMatrix(Matrix4x4& out);
  // The hardware matrix that a whole device transform holds by the frame rule (device = object x hardware x
  // scale), with the object matrix a measuring command takes up (reloadObjectMatrix's) and the present
  // scale: object^-1 x device x scale^-1.
  static Matrix4x4 hardwareWithin(const Matrix4x4& device);

  const Matrix4x4& cachedObjectMatrix() const { return cachedObject_; }

 private:
  Matrix4x4 cachedObject_;
};
