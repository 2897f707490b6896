#include "commands/alignment/iterative/target_data.h"

void TargetData::reset() {
  inTolerance = inZone = isCurrent = false;
  alignError = zoneDeviation = kUnsetValue;
}

void TargetData::computeDeviation() {
  reset();
  if (!nominal || !measured || !surface) return;
  const Vector3 aligned = Matrix4x4::transformPoint(matrix, measured->point);
  alignError = (aligned - surface->point).length() - probeRadius;
  // A zero nominal direction leaves nothing to take away: the whole offset counts as sideways.
  const double sideways =
      Vector3::perpendicularPart(surface->point - nominal->point, nominal->direction).length();
  inTolerance = tolerance >= sideways;
  zoneDeviation = inTolerance ? 0.0 : sideways - tolerance;
}

const TargetData* findEntry(const std::vector<TargetData>& entries, const TargetData::Target* nominal) {
  for (const TargetData& entry : entries) {
    if (entry.nominalTarget() == nominal) return &entry;
  }
  return nullptr;
}

std::vector<double> probeDistances(const std::vector<TargetData>& entries, const Vector3& probeCentre,
                                   double probeRadius) {
  std::vector<double> distances;
  distances.reserve(entries.size());
  for (const TargetData& entry : entries) {
    if (!entry.nominal) {
      distances.push_back(kUnsetValue);
      continue;
    }
    const Vector3 contact = probeCentre - probeRadius * entry.nominal->direction;
    distances.push_back((contact - entry.nominal->point).length());
  }
  return distances;
}
