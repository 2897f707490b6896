#include "features/creators/probe_geometry.h"

#include "framework/translation/tr.h"

PlaneEquation PlaneEquation::of(IZelPlane& plane) {
  PlaneEquation equation;
  plane.equation(equation.n, equation.d);
  return equation;
}

std::optional<FeatureFrame> frameOf(IZelFeature& feature) {
  FeatureFrame frame;
  if (!feature.frame(frame.a, frame.b, frame.origin)) return std::nullopt;
  return frame;
}

Vector3 scaleAcrossAxis(const FeatureFrame& frame, double k, const Vector3& p) {
  const Vector3 axis = Vector3::cross(frame.a, frame.b);
  const Vector3 offset = p - frame.origin;
  const Vector3 along = Vector3::projectOnto(offset, axis);
  return frame.origin + along + (offset - along) * k;
}

ZelString morePointsText(int32_t missing) {
  return missing == 1 ? tr("1 more point is needed")
                      : tr("%1 more points are needed", ZelString::number(missing));
}

ZelString liftProbeText() {
  return tr("the stop was taken on the surface; lift the probe off the surface and stop again");
}
