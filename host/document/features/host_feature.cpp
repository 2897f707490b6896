#include "host/document/features/host_feature.h"

#include <algorithm>

#include "host/document/parameters/host_embedded_feature_parameter.h"

IZelParameter* HostFeature::getParameter(const ZelString& name) {
  return parameters_ ? parameters_->getParameter(name) : nullptr;
}

bool HostFeature::setParameter(const ZelString& name, IZelParameter* value) {
  if (!parameters_) parameters_ = IPtr<IZelParameterTable>(new HostParameterTable);
  return parameters_->setParameter(name, value);
}

bool HostFeature::frame(Vector3& a, Vector3& b, Vector3& c) {
  Frame local = localFrame();
  if (!isFiniteFrame(local)) return false;
  a = local.a;
  b = local.b;
  c = local.origin;
  return true;
}

bool HostFeature::boundingBox(double box[6]) {
  Box own = ownBox();
  if (!isFiniteBox(own)) return false;
  std::copy(own.begin(), own.end(), box);
  return true;
}

IZelParameter* HostFeature::parameterForm() {
  IPtr<HostEmbeddedFeatureParameter> form(new HostEmbeddedFeatureParameter);
  form->setFeature(static_cast<IZelFeature*>(this));
  form->addRef();  // the caller's reference, which outlives ours
  return form.get();
}

bool HostFeature::match(IZelFeature* other, double maxDistance, double maxAngle) {
  HostFeature* peer = sameKind(other);
  return peer && lociMatch(locus(), peer->locus(), maxDistance, maxAngle);
}

bool HostFeature::copyParametersInto(HostFeature& copy) const {
  if (!parameters_) return true;
  IPtr<IZelParameter> copied;
  copied.takeOwnership(parameters_->copy());
  copy.parameters_ = IPtr<IZelParameterTable>(queryPart<IZelParameterTable>(copied.get()));
  return copy.parameters_.get() != nullptr;
}
