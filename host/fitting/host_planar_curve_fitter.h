#pragma once

// The stand-in host's planar curve fitter ("IPlanarCurveFitter"). setup projects the section's points into
// its plane, orders them along the section by walking from the point farthest from their centre to the
// nearest point not yet taken, and breaks the walk into polylines wherever a step is longer than the gap
// factor times the median step (kDefaultGapFactor for -1). A polyline closes for "Closed", and for "Auto"
// when its ends lie within a gap of each other, nearer than half its length, and it has at least three
// points. A closed polyline runs
// counter-clockwise seen from the normal's side (so a positive offset moves it inwards); an open one runs
// along the in-plane direction of the coordinate axis least along the normal (x, else y). fit moves each
// polyline in the plane by the offset, to the left of its direction seen from the normal's side (n × t), and
// fits one curve through each polyline of two points or more, as the curve-fit record's mode says:
//   0, 1, 3 spline: control points every spacing along the polyline (0), the polyline thinned to within the
//          tolerance (1), or that many control points evenly along it (3);
//   4, 5 line/arc: pieces that each stay within the tolerance of their points: a line where the points allow,
//          else an arc through the piece's ends and middle point, else the piece is split at its worst point.
// Without a record the fit is a spline by the median step. A fitter belongs to one caller.

#include <vector>

#include "basic_types/vector3.h"
#include "framework/object/iptr.h"
#include "host/api/zel_curves.h"
#include "host/core/host_unknown.h"

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
