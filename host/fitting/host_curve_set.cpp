#include "host/fitting/host_curve_set.h"

#include "framework/object/query_chain.h"
#include "host/document/host_real_parray.h"

const HostCurveSet::Curve* HostCurveSet::find(int32_t curve) const {
  if (curve < 1 || curve > static_cast<int32_t>(curves_.size())) return nullptr;
  return &curves_[static_cast<size_t>(curve - 1)];
}

int32_t HostCurveSet::curveKind(int32_t curve) {
  const Curve* found = find(curve);
  return found ? found->kind : -1;
}

bool HostCurveSet::isClosed(int32_t curve) {
  const Curve* found = find(curve);
  return found && found->closed;
}

RealPArray* HostCurveSet::curvePoints(int32_t curve) {
  const Curve* found = find(curve);
  if (!found) return nullptr;
  IPtr<RealPArray>& array = arrays_[static_cast<size_t>(curve - 1)];
  if (!array) {
    array = new HostRealPArray(3, static_cast<int32_t>(found->points.size()));
    for (const Vector3& point : found->points) {
      const double xyz[3] = {point.x, point.y, point.z};
      array->append(xyz);
    }
  }
  return array.get();
}

int32_t HostCurveSet::pieceKind(int32_t curve, int32_t piece) {
  const Curve* found = find(curve);
  if (!found || piece < 1 || piece > static_cast<int32_t>(found->pieces.size())) return -1;
  return found->pieces[static_cast<size_t>(piece - 1)];
}

void HostCurveSet::append(ICurveSet* other) {
  if (!other || other == this) return;
  for (int32_t i = 1; i <= other->curveCount(); ++i) {
    Curve curve{other->curveKind(i), other->isClosed(i), {}, {}};
    if (RealPArray* points = other->curvePoints(i)) {
      for (int32_t k = 1; k <= points->count(); ++k) {
        const double* p = points->at(k);
        curve.points.push_back({p[0], p[1], p[2]});
      }
    }
    for (int32_t k = 1; other->pieceKind(i, k) >= 0; ++k) curve.pieces.push_back(other->pieceKind(i, k));
    add(std::move(curve));
  }
}

void HostCurveSet::add(Curve curve) {
  curves_.push_back(std::move(curve));
  arrays_.emplace_back();
}

void HostCurveSet::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<ICurveSet>(this).end();
}

void HostZelCurveSet::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelCurveSet>(this).end();
}
