#include "features/creators/fitter_hints.h"

#include <cmath>
#include <vector>

#include "framework/object/host_lookup.h"

namespace {

bool isFinite(const std::variant<Vector3, double>& value) {
  if (const auto* v = std::get_if<Vector3>(&value))
    return std::isfinite(v->x) && std::isfinite(v->y) && std::isfinite(v->z);
  return std::isfinite(std::get<double>(value));
}

// A host value holding the hint's value; empty when the host makes none.
IPtr<IZelParameter> valueOf(const std::variant<Vector3, double>& value) {
  if (const auto* vector = std::get_if<Vector3>(&value)) {
    SPtr<IZelVectorValue> made;
    if (made) made->setValue(*vector);
    return IPtr<IZelParameter>(made.get());
  }
  SPtr<IZelDoubleValue> made;
  if (made) made->setValue(std::get<double>(value));
  return IPtr<IZelParameter>(made.get());
}

}  // namespace

void setHints(IZelFeatureFitter& fitter, std::initializer_list<FitterHint> hints) {
  std::vector<IPtr<IZelParameter>> values;
  for (const FitterHint& hint : hints) {
    if (!isFinite(hint.value)) return;
    values.push_back(valueOf(hint.value));
    if (!values.back()) return;
  }
  size_t i = 0;
  for (const FitterHint& hint : hints) fitter.setParameter(ZelString(hint.name), values[i++].get());
}

void setIntHint(IZelFeatureFitter& fitter, const char16_t* name, int32_t value) {
  SPtr<IZelIntValue> made;
  if (!made) return;
  made->setValue(value);
  fitter.setParameter(ZelString(name), made.get());
}

void setMaxPtEAx(IZelFeatureFitter& fitter) {
  setIntHint(fitter, u"<MaxPtEAx>", 0);
}

bool setAxisConstraint(IZelFeatureFitter& fitter, const Vector3& direction) {
  SPtr<IZelFeatureConstraintParameter> constraint;
  if (!constraint) return false;
  constraint->setConstraintType(IZelFeatureConstraintParameter::kParallel);
  constraint->setConstrainedElement(IZelFeatureConstraintParameter::kAxis);
  constraint->setReferenceKind(IZelFeatureConstraintParameter::kDirection);
  constraint->setDirection(direction);
  fitter.setParameter(ZelString(u"<Constraint>"), constraint.get());
  return true;
}
