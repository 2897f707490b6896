#pragma once

// What every fitter of the stand-in host shares: it holds the point set and the named parameters it was
// given, reads the selected points and the parameters the fits take, and hands its kind only the fit itself.
// The points are read when fit() is called, so a fitter fits the point set as it is then. A fitter belongs to
// one thread at a time.

#include <optional>
#include <string>
#include <vector>

#include <Eigen/Core>

#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "host/core/host_unknown.h"
#include "host/document/parameters/host_parameter_table.h"
#include "host/fitting/geometry/fit_result.h"
#include "host/fitting/geometry/shapes.h"
#include "host_api/feature_fitter.h"

using FitPoints = std::vector<Eigen::Vector3d>;

Eigen::Vector3d toEigen(const Vector3& v);
Vector3 toVector3(const Eigen::Vector3d& v);

class HostFeatureFitter : public IZelFeatureFitter, public HostUnknown {
 public:
  HostFeatureFitter();

  void setPointSet(IZelPointSetInterface* points) override { points_ = points; }
  bool setParameter(const ZelString& name, IZelParameter* value) override;
  IZelFeature* fit() override;
  ZelString failure() override { return ZelString(failure_.c_str()); }

 protected:
  // The feature fitted, or null (with refused when the fit can say why).
  virtual IPtr<IZelFeature> fitFeature() = 0;
  // No feature, for the reason given: what failure() answers until the next fit.
  IPtr<IZelFeature> refused(const fitting::FitFailure& why);

  // The points of the point set selected by the "<Selection>" entry group (from 1); every point when there
  // is no selection. An entry the selection lacks, or a fitter without a point set, selects nothing.
  FitPoints selectedPoints(int32_t group) const;

  // The parameter of that name as the value interface T; null when it is missing or of another kind.
  template <class T>
  T* parameter(const char16_t* name) const {
    return queryPart<T>(parameters_->getParameter(ZelString(name)));
  }
  // The feature the parameter of that name embeds (a feature's parameter form) as Kind; null otherwise.
  template <class Kind>
  Kind* embedded(const char16_t* name) const {
    auto* form = parameter<IZelEmbeddedFeatureParameter>(name);
    return form ? queryPart<Kind>(form->feature()) : nullptr;
  }
  // "<WorkPlane>": a point on the plane and its normal. No value without one; a work plane of another kind,
  // with fewer than two vectors, is nonsense and gives a plane the fits refuse (a zero normal).
  std::optional<fitting::Plane> workPlane() const;
  // "<Constraint>": the direction the axis is held parallel to. No value without a constraint; a constraint
  // other than an axis parallel to a direction gives a zero direction, which the fits refuse.
  std::optional<Eigen::Vector3d> axisConstraint() const;

 private:
  IPtr<IZelPointSetInterface> points_;
  IPtr<HostParameterTable> parameters_;
  std::string failure_;
};

// A fitter class of the stand-in host: its query answers the class name, "IZelUnknown" and
// "IZelFeatureFitter".
template <class Derived>
class HostFitterKind : public HostFeatureFitter {
 public:
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out)
        .classLeaf(Derived::interfaceName, static_cast<Derived*>(this), this)
        .template offer<IZelFeatureFitter>(this)
        .end();
  }
  const char* className() override { return Derived::interfaceName; }
};
