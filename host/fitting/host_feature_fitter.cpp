#include "host/fitting/host_feature_fitter.h"

Eigen::Vector3d toEigen(const Vector3& v) {
  return {v.x, v.y, v.z};
}
Vector3 toVector3(const Eigen::Vector3d& v) {
  return {v.x(), v.y(), v.z()};
}

HostFeatureFitter::HostFeatureFitter() : parameters_(new HostParameterTable) {}

bool HostFeatureFitter::setParameter(const ZelString& name, IZelParameter* value) {
  return parameters_->setParameter(name, value);
}

IZelFeature* HostFeatureFitter::fit() {
  failure_.clear();
  IPtr<IZelFeature> fitted = fitFeature();
  if (fitted) fitted->addRef();  // the caller's reference, which outlives ours
  return fitted.get();
}

IPtr<IZelFeature> HostFeatureFitter::refused(const fitting::FitFailure& why) {
  failure_ = why.reason;
  return {};
}

FitPoints HostFeatureFitter::selectedPoints(int32_t group) const {
  auto* selection = parameter<IZelBitVectorArray>(u"<Selection>");
  const BitVector* bits = selection ? selection->bitVectorAt(group) : nullptr;
  FitPoints points;
  if (!points_ || (selection && !bits)) return points;
  Vector3 p;
  for (int32_t i = 1; points_->pointAt(i, p); ++i) {
    if (!bits || bits->test(i)) points.push_back(toEigen(p));
  }
  return points;
}

std::optional<fitting::Plane> HostFeatureFitter::workPlane() const {
  IZelParameter* given = parameters_->getParameter(ZelString(u"<WorkPlane>"));
  if (!given) return std::nullopt;
  fitting::Plane plane{Eigen::Vector3d::Zero(), Eigen::Vector3d::Zero()};
  Vector3 point;
  Vector3 normal;
  auto* vectors = queryPart<IZelVectorsValue>(given);
  if (vectors && vectors->vectorAt(1, point) && vectors->vectorAt(2, normal)) {
    plane = {toEigen(point), toEigen(normal)};
  }
  return plane;
}

std::optional<Eigen::Vector3d> HostFeatureFitter::axisConstraint() const {
  IZelParameter* given = parameters_->getParameter(ZelString(u"<Constraint>"));
  if (!given) return std::nullopt;
  auto* constraint = queryPart<IZelFeatureConstraintParameter>(given);
  bool parallelAxis = constraint &&
                      constraint->constraintType() == IZelFeatureConstraintParameter::kParallel &&
                      constraint->constrainedElement() == IZelFeatureConstraintParameter::kAxis &&
                      constraint->referenceKind() == IZelFeatureConstraintParameter::kDirection;
  return parallelAxis ? toEigen(constraint->direction()) : Eigen::Vector3d::Zero();
}
