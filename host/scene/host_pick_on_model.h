#pragma once

// The stand-in host's picker (the service "IZelPickOnModel", a new one per lookup). It casts the mouse's
// world ray at an object's surface model (its "SurfModel" sub-object, a mesh of the stand-in host): the ray
// is taken into the object's own coordinates through the inverse of its world transform (as IGenGfxService
// gives it), and the hit is reported there. One picker belongs to one thread at a time.

#include <optional>

#include <Eigen/Core>

#include "host/core/host_unknown.h"
#include "host_api/pick_on_model.h"

class HostMesh;

class HostPickOnModel : public IZelPickOnModel, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostPickOnModel";

  bool prepare(IZelMouseData* mouse) override;
  bool pick(IZelDocObject* object) override;
  bool hitPoint(double point[3]) override;
  bool hitNormal(double normal[3]) override;
  int32_t hitElement() override { return hit_ ? hit_->element : -1; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  struct Ray {
    Eigen::Vector3d origin;
    Eigen::Vector3d direction;
  };
  struct Hit {
    Eigen::Vector3d point;
    Eigen::Vector3d normal;
    int32_t element = -1;
  };

  // The ray in the object's own coordinates, or none when its world transform has no inverse.
  std::optional<Ray> localRay(IZelDocObject& object) const;

  std::optional<Ray> ray_;  // in world coordinates
  std::optional<Hit> hit_;
};
