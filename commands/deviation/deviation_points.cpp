#include "commands/deviation/deviation_points.h"

#include "framework/object/host_lookup.h"

namespace {

// Plain points, with room for a long session before the arrays grow.
constexpr int32_t kPointEntryWidth = 0;
constexpr int32_t kPointCapacity = 1024;
// The lists' first slots (slot 0 unused).
constexpr int32_t kValueSlots = 21;
constexpr int32_t kLabelSlots = 20;

IPtr<RealPArray> newArray(IRealPArrayFactory& factory) {
  IPtr<RealPArray> array;
  array.takeOwnership(factory.createArray(kPointEntryWidth, kPointCapacity));
  return array;
}

void appendPoint(RealPArray& array, const Vector3& point) {
  double xyz[3];
  point.copyTo(xyz);
  array.append(xyz);
}

}  // namespace

bool DeviationPoints::create() {
  destroy();
  SPtr<IRealPArrayFactory> factory;
  if (!factory) return false;
  measured_ = newArray(*factory);
  cad_ = newArray(*factory);
  if (!created()) {
    destroy();
    return false;
  }
  deviations_.reserve(kValueSlots, kValueSlots);
  passFlags_.reserve(kValueSlots, kValueSlots);
  labels_.reserve(kLabelSlots, kLabelSlots);
  return true;
}

void DeviationPoints::destroy() {
  measured_.release();
  cad_.release();
  clear();
}

int32_t DeviationPoints::count() {
  return measured_ ? measured_->count() : 0;
}

void DeviationPoints::append(const ZelString& label, const ProbeDeviation& point) {
  if (!created()) return;
  labels_.append(label);
  appendPoint(*measured_, point.contact);
  appendPoint(*cad_, point.cad);
  deviations_.append(point.deviation);
  passFlags_.append(point.pass ? 1 : 0);
}

bool DeviationPoints::removeLast() {
  if (count() < 1) return false;
  measured_->removeLast();
  cad_->removeLast();
  deviations_.setCount(deviations_.count() - 1);
  passFlags_.popBack();
  labels_.popBack();
  return true;
}

void DeviationPoints::clear() {
  if (measured_) measured_->clear();
  if (cad_) cad_->clear();
  deviations_.setCount(0);
  passFlags_.setCount(0);
  labels_.setCount(0);
}

Vector3 DeviationPoints::measured(int32_t i) {
  const double* xyz = measured_ ? measured_->at(i) : nullptr;
  return xyz ? Vector3(xyz[0], xyz[1], xyz[2]) : Vector3();
}

bool DeviationPoints::setLabel(int32_t i, const ZelString& label) {
  if (i < 1 || i > labels_.count()) return false;
  labels_[i] = label;
  return true;
}
