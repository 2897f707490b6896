#include "host/document/host_point_objects.h"

#include <algorithm>
#include <vector>

#include "framework/object/query_chain.h"

int32_t HostPoints::pointCount() {
  return array_ ? array_->count() : 0;
}

bool HostPoints::pointAt(int32_t index, double xyz[3]) {
  const double* entry = array_ ? array_->at(index) : nullptr;
  if (!entry) return false;
  std::copy(entry, entry + 3, xyz);
  return true;
}

bool HostPoints::appendPoint(const double xyz[3], int32_t, bool) {
  if (!array_ || !xyz) return false;
  std::vector<double> entry(static_cast<size_t>(array_->entryWidth()), 0.0);
  std::copy(xyz, xyz + 3, entry.begin());
  return array_->append(entry.data());
}

void HostPoints::update() {
  ++updates_;
}

void HostPoints::extendBox(double min[3], double max[3], bool) {
  for (int32_t i = 1; i <= pointCount(); ++i) {
    const double* p = array_->at(i);
    for (int axis = 0; axis < 3; ++axis) {
      min[axis] = std::min(min[axis], p[axis]);
      max[axis] = std::max(max[axis], p[axis]);
    }
  }
}

void HostPoints::close() {
  if (opened_ > 0) --opened_;
}

bool HostPoints::merge(IZelPoints* const* sets, int32_t count, int32_t, bool, IZelUnknown*) {
  if (!array_ || !sets) return false;
  for (int32_t s = 1; s <= count; ++s) {
    IZelPoints* set = sets[s];
    double xyz[3];
    for (int32_t i = 1; set && i <= set->pointCount(); ++i) {
      if (set->pointAt(i, xyz)) appendPoint(xyz, 0, false);
    }
  }
  return true;
}

void HostPoints::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelPoints>(this)
      .offer<IComplex0D>(this)
      .end();
}
