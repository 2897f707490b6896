#pragma once

// The plane feature ("IZelPlane"): a centre and a unit normal, and the points it was made from, which give
// its box: the box of their projections onto the plane, so that it follows the plane when it moves. A plane
// made from no points has its centre for a box. Reversing turns the normal round; the plane contains the
// half-space behind it.

#include <vector>

#include "host/document/features/host_feature.h"
#include "host_api/feature_kinds.h"

struct PlaneShape {
  Vector3 center;
  Vector3 normal = kZAxis;
  Vector3 reference = kXAxis;
  std::vector<Vector3> sourcePoints;
};

class HostPlane final : public HostFeatureKind<HostPlane, IZelPlane, PlaneShape> {
 public:
  static constexpr const char* interfaceName = "HostPlane";

  Vector3 center() override { return shape_.center; }
  Vector3 normal() override { return shape_.normal; }
  void equation(Vector3& n, double& d) override;
  void setCenter(const Vector3& point) override { shape_.center = point; }
  bool setPlane(const Vector3& point, const Vector3& normal, const Vector3& reference, int32_t,
                int32_t) override;
  // The host's fitters hand over the points the plane was fitted to.
  void setSourcePoints(std::vector<Vector3> points) { shape_.sourcePoints = std::move(points); }

  void reverseOrientation() override { shape_.normal = -shape_.normal; }
  bool contains(const Vector3& point) override;
  Box ownBox() const override;
  Locus locus() const override { return {Locus::Shape::kPlane, shape_.center, shape_.normal}; }
  Frame localFrame() const override { return frameAbout(shape_.center, shape_.normal, shape_.reference); }
};
