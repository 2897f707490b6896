#pragma once

// The parallel-planes feature ("IZelParallelPlanes"): two planes at a distance, across a unit normal through
// the mid-plane point. Its box holds both planes' points on the normal and the region they were measured
// over; reversing turns the normal round; it contains the slab between the planes. Its solidity is the
// "<Solidity>" parameter set on it.

#include "host/document/features/host_feature.h"
#include "host_api/feature_kinds.h"

struct ParallelPlanesShape {
  Vector3 midPoint;
  Vector3 normal = kZAxis;
  Vector3 reference = kXAxis;
  double distance = 0.0;
  Box region = emptyBox();
};

class HostParallelPlanes final
    : public HostFeatureKind<HostParallelPlanes, IZelParallelPlanes, ParallelPlanesShape> {
 public:
  static constexpr const char* interfaceName = "HostParallelPlanes";

  void planes(Vector3& midPoint, Vector3& normal, Vector3& reference, double& distance, Vector3& low,
              Vector3& high) override;
  bool setPlanes(const Vector3& midPoint, const Vector3& normal, const Vector3& reference, double distance,
                 const Vector3& low, const Vector3& high) override;
  int32_t solidity() override;

  void reverseOrientation() override { shape_.normal = -shape_.normal; }
  bool contains(const Vector3& point) override;
  Box ownBox() const override;
  Locus locus() const override { return {Locus::Shape::kPlane, shape_.midPoint, shape_.normal}; }
  Frame localFrame() const override { return frameAbout(shape_.midPoint, shape_.normal, shape_.reference); }
};
