#pragma once

// The three factors of the transform from device to part coordinates, each held by one singleton service:
// the hardware matrix (the device's alignment, kept in the data store across runs), the object matrix (the
// part's software alignment, kept in the data store and following the host's alignments of the reference
// object) and the temperature scale (from a material's expansion and the part temperature, kept in the
// document). All on the host's main thread.

#include <cstdint>

#include "basic_types/matrix4x4.h"
#include "basic_types/zel_cstring.h"
#include "host_api/zel_unknown.h"

class IZelPluginDeviceHardwareAlignmentService : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPluginDeviceHardwareAlignmentService";

  // The identity, then the stored matrix when "Palpera/Alignment/LoadHardwareTransformation" is on.
  virtual void reset() = 0;
  // Takes only a rotation and a shift (acceptRigidTransform): any other matrix is refused with a word to the
  // user, and the matrix stays as it was.
  virtual void setMatrix(const Matrix4x4& matrix, bool store) = 0;
  // The service's own matrix, valid for the life of the service.
  virtual const Matrix4x4* matrix() = 0;
  // Restores the matrix from "Palpera/Alignment/Hardware Alignment"; a missing or wrongly sized blob changes
  // nothing, and neither does one that holds no rotation and shift (isProperRigid), which is reported.
  virtual void loadStored() = 0;
  virtual void store() = 0;
};

class IZelPluginDeviceObjectAlignmentService : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPluginDeviceObjectAlignmentService";

  // The identity, then the stored matrix when "Palpera/Alignment/LoadSoftwareTransformation" is on.
  virtual void reset() = 0;
  // Never stores.
  virtual void setMatrix(const Matrix4x4& matrix) = 0;
  virtual const Matrix4x4* matrix() = 0;
  virtual void store() = 0;
  // Restores the matrix from "Palpera/Alignment/Object Alignment" as the hardware service restores its own: a
  // blob that holds no rotation and shift (isProperRigid), which the device transform could not take up, is
  // reported and changes nothing.
  virtual void loadStored() = 0;
};

class IZelPluginDeviceScaleAlignmentService : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPluginDeviceScaleAlignmentService";

  // Keeps the material and the part temperature (degrees Celsius) and recomputes the scale; a material or a
  // temperature that would give no sound scale keeps the identity and is reported.
  virtual void setMaterial(const ZelCString& name, double temperature) = 0;
  virtual void material(ZelCString& name, double& temperature) = 0;
  virtual const Matrix4x4* matrix() = 0;
  // The unit choice of the temperature-compensation command, kept and saved here.
  virtual void setUnits(int32_t units) = 0;
  virtual int32_t units() = 0;
};
