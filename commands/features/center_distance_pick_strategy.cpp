#include "commands/features/center_distance_pick_strategy.h"

#include <limits>

#include "framework/object/query_chain.h"

namespace {

// How many probe radii a box grows by: the tip's centre stays a radius off the surface, and the operator
// aims roughly.
constexpr double kInflationRadii = 3.0;

bool contains(const Vector3& min, const Vector3& max, const Vector3& p) {
  return p.x >= min.x && p.x <= max.x && p.y >= min.y && p.y <= max.y && p.z >= min.z && p.z <= max.z;
}

double squaredDistance(const Vector3& a, const Vector3& b) {
  const Vector3 d = a - b;
  return d.x * d.x + d.y * d.y + d.z * d.z;
}

}  // namespace

void CenterDistancePickStrategy::setCandidates(const FeatureSubObjects& candidates) {
  for (IZelFeatureSubObject* candidate : candidates) {
    IZelFeature* feature = candidate ? candidate->feature() : nullptr;
    constexpr double kEmpty = std::numeric_limits<float>::max();
    double box[6] = {kEmpty, kEmpty, kEmpty, -kEmpty, -kEmpty, -kEmpty};
    if (feature && feature->boundingBox(box))
      records_.push_back({candidate, {box[0], box[1], box[2]}, {box[3], box[4], box[5]}});
  }
}

void CenterDistancePickStrategy::clear() {
  records_.clear();
  picked_ = nullptr;
}

void CenterDistancePickStrategy::inflateBoxes(double radius) {
  const double grow = kInflationRadii * radius;
  const Vector3 by{grow, grow, grow};
  for (Record& record : records_) {
    if (record.min.x > record.max.x) continue;
    record.min = record.min - by;
    record.max = record.max + by;
  }
}

void CenterDistancePickStrategy::pick(const Vector3& point) {
  picked_ = nullptr;
  double nearest = std::numeric_limits<double>::infinity();
  for (const Record& record : records_) {
    if (!contains(record.min, record.max, point)) continue;
    const double distance = squaredDistance((record.min + record.max) * 0.5, point);
    if (distance < nearest) {
      nearest = distance;
      picked_ = record.subObject;
    }
  }
}

void CenterDistancePickStrategy::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelHardProbeFeaturePickerPickStrategy>(this)
      .end();
}
