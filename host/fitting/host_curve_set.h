#pragma once

// The stand-in host's curve sets ("ICurveSet") and the holder a curve object keeps ("IZelCurveSet"). A set
// belongs to one caller at a time.

#include <vector>

#include "basic_types/vector3.h"
#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host_api/zel_curves.h"

class HostCurveSet : public ICurveSet, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostCurveSet";

  struct Curve {
    int32_t kind = kSpline;
    bool closed = false;
    std::vector<Vector3> points;
    std::vector<int32_t> pieces;  // a line/arc chain's, in order
  };

  int32_t curveCount() override { return static_cast<int32_t>(curves_.size()); }
  int32_t curveKind(int32_t curve) override;
  bool isClosed(int32_t curve) override;
  RealPArray* curvePoints(int32_t curve) override;
  int32_t pieceKind(int32_t curve, int32_t piece) override;
  void append(ICurveSet* other) override;

  // Host side.
  void add(Curve curve);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  const Curve* find(int32_t curve) const;

  std::vector<Curve> curves_;
  std::vector<IPtr<RealPArray>> arrays_;  // by curve, made when first asked for
};

class HostZelCurveSet : public IZelCurveSet, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostZelCurveSet";

  void setCurveSet(ICurveSet* curves) override { curves_ = curves; }
  ICurveSet* curveSet() override { return curves_.get(); }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<ICurveSet> curves_;
};
