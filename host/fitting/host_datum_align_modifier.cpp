#include "host/fitting/host_datum_align_modifier.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "basic_types/transform_checks.h"
#include "framework/object/query_chain.h"
#include "host/fitting/alignment_datums.h"

namespace {

Matrix4x4 toMatrix(const fitting::RigidMotion& motion) {
  Matrix4x4 m;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) m.m[4 * r + c] = motion.rotation(r, c);
    m.m[4 * r + 3] = motion.translation(r);
  }
  return m;
}

// Where an object's own coordinates stand in the world: an object never moved stands at the identity. None
// for a transform that is not a rotation and a shift, which would bend the datums out of their shape; the
// test is the one the module puts a placement to, so that what a command takes the aligner takes too.
std::optional<fitting::RigidMotion> placementOf(IZelDocObject* object) {
  Matrix4x4 m;
  if (double transform[16]; object && object->transform(transform)) m.assign(transform);
  if (!isProperRigid(m)) return std::nullopt;
  fitting::RigidMotion motion;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) motion.rotation(r, c) = m.m[4 * r + c];
    motion.translation(r) = m.m[4 * r + 3];
  }
  return motion;
}

}  // namespace

void HostDatumAlignModifier::setPairs(IZelAlignmentPair* const* pairs, int32_t count) {
  pairs_.clear();
  for (int32_t i = 0; pairs && i < count; ++i) pairs_.emplace_back(pairs[i]);
}

bool HostDatumAlignModifier::run(int32_t, int32_t applyToFloating, int32_t) {
  // Both sides are aligned where the document shows them, each datum placed with its object.
  const auto fixedPlacement = placementOf(fixed_.get());
  const auto floatingPlacement = placementOf(floating_.get());
  if (!fixedPlacement || !floatingPlacement) return false;
  std::vector<DatumPair> datums;
  for (const IPtr<IZelAlignmentPair>& pair : pairs_) {
    if (!pair) return false;
    auto fixed = datumOf(pair->fixedSubObject());
    auto floating = datumOf(pair->floatingSubObject());
    if (!fixed || !floating) return false;
    datums.push_back({moved(*fixed, *fixedPlacement), moved(*floating, *floatingPlacement)});
  }
  auto motion = solveDatumPairs(datums);
  if (!motion) return false;
  const Matrix4x4 result = toMatrix(*motion);
  if (applyToFloating != 0) {
    if (!floating_) return false;
    // An object that was never moved has no transform: it stands where its data says.
    Matrix4x4 moved;
    if (double current[16]; floating_->transform(current)) moved.assign(current);
    moved = result * moved;
    if (!floating_->setTransform(moved.m)) return false;
  }
  result_ = result;
  deviations_.clear();
  for (const DatumPair& pair : datums) deviations_.push_back(deviation(pair, *motion));
  return true;
}

void HostDatumAlignModifier::report(double& meanDeviation, double& maxDeviation, double& rmsDeviation,
                                    ZelString* text, int32_t& pairCount) {
  double sum = 0, squares = 0, largest = 0;
  std::string lines;
  for (size_t i = 0; i < deviations_.size(); ++i) {
    const double d = deviations_[i];
    sum += d;
    squares += d * d;
    largest = std::max(largest, d);
    char line[64];
    std::snprintf(line, sizeof line, "Pair %zu: %.6f mm\n", i + 1, d * 1000.0);
    lines += line;
  }
  const double n = static_cast<double>(deviations_.size());
  meanDeviation = n > 0 ? sum / n : 0.0;
  rmsDeviation = n > 0 ? std::sqrt(squares / n) : 0.0;
  if (n > 0) {
    char line[64];
    std::snprintf(line, sizeof line, "RMS: %.6f mm\n", rmsDeviation * 1000.0);
    lines += line;
  }
  maxDeviation = largest;
  pairCount = static_cast<int32_t>(deviations_.size());
  if (text) *text = ZelString(lines.c_str());
}

void HostDatumAlignModifier::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelDatumBasedAlignModifier>(this).end();
}
