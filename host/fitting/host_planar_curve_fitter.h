#pragma once

// The stand-in host's planar curve fitter ("IPlanarCurveFitter"). setup projects the section's points into
// its plane, orders them along the section by walking from the point farthest from their centre to the
// nearest point not yet taken, and breaks the walk into polylines wherever a step is longer than the gap
// factor times the median step (kDefaultGapFactor for -1). A polyline of three points or more closes for
// "Closed", and for "Auto" when its ends lie within a gap of each other, nearer than half its length.
//
// Each polyline runs so that the material lies to its right, seen from the normal's side: entries of six
// doubles carry the probe's direction at each point (toward the material), and where these lean clearly to
// one side of the polyline they decide, whichever way the plane's normal points. So a negative offset (the
// section command's default) moves the curve from the tip centres onto the material, and a positive one
// away from it. Without such a lean a closed polyline runs counter-clockwise seen from the normal's side
// (the right is outside, as for a bore) and an open one along the in-plane direction of the coordinate axis
// least along the normal (x, else y).
//
// fit makes one curve through each polyline of two distinct points or more, as planar_curve_shape.h says: a
// cubic spline through the points (periodic when closed, natural when open), moved by the offset to the left
// of its own tangent (n × t), with the curve's points placed on it as the curve-fit record's mode asks.
// Without a record the fit is a spline by the median step. A fitter belongs to one caller.

#include <vector>

#include "basic_types/vector3.h"
#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host_api/zel_curves.h"

class HostPlanarCurveFitter : public IPlanarCurveFitter, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostPlanarCurveFitter";
  static constexpr double kDefaultGapFactor = 5.0;

  bool setup(const double plane[4], RealPArray* points, int32_t connectivity, double gapFactor) override;
  ICurveSet* fit(ICurveFitData* data, double offset) override;
  int32_t polylineCount() override { return static_cast<int32_t>(arrays_.size()); }
  RealPArray* polyline(int32_t index) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  struct Polyline {
    std::vector<Vector3> points;
    bool closed = false;
  };

  Vector3 normal_;
  double medianStep_ = 0.0;
  std::vector<Polyline> polylines_;
  std::vector<IPtr<RealPArray>> arrays_;
};
