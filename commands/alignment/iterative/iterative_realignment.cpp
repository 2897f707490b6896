#include "commands/alignment/iterative/iterative_realignment.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "basic_types/zel_chunked_array.h"
#include "commands/alignment/common/assertion_sites.h"
#include "commands/alignment/common/device_transform_steps.h"
#include "commands/alignment/iterative/target_graphics.h"
#include "devices/registry/plugin_manager_lookup.h"
#include "framework/host_glue/length_text.h"
#include "framework/host_glue/object_placement.h"
#include "framework/host_glue/unit_service.h"
#include "framework/memory/assertion.h"
#include "framework/object/iptr.h"
#include "framework/translation/tr.h"
#include "host_api/gui_dialog.h"
#include "host_api/unit_service.h"

namespace {

// Pages of the aligner's arrays hold at least this many bytes.
constexpr int32_t kPageBytes = 16384;
constexpr double kRefinementTolerance = 0.01;
const Vector3 kNoNormal{0, 0, 1};

// The smallest shift k with elementSize × 2^k ≥ kPageBytes.
int32_t pageShiftFor(int32_t elementSize) {
  int32_t shift = 0;
  while (elementSize * (int64_t{1} << shift) < kPageBytes) ++shift;
  return shift;
}

// A paged array of count records 1 to count (record 0 unused) of T.
template <class T>
class AlignerArray {
 public:
  explicit AlignerArray(int32_t count) : array_(sizeof(T), pageShiftFor(sizeof(T))) {
    array_.createChunks(count + 1);
  }
  T& operator[](int32_t index) { return *reinterpret_cast<T*>(array_.element(index)); }
  const ZelChunkedArray& chunks() const { return array_; }

 private:
  ZelChunkedArray array_;
};

bool fitAndRefine(AlignerContext& context, const std::vector<const TargetData*>& counted, Matrix4x4& M) {
  const auto n = static_cast<int32_t>(counted.size());
  AlignerArray<Vector3> measured(n);
  AlignerArray<AlignerPointPair> nominal(n);
  for (int32_t i = 1; i <= n; ++i) {
    const TargetData& entry = *counted[i - 1];
    measured[i] = entry.measured->point;
    nominal[i] = {entry.nominal->point + entry.probeRadius * entry.nominal->direction,
                  entry.nominal->direction};
  }
  Matrix4x4 R;
  if (!context.aligner->fitPairs(n, measured.chunks(), nominal.chunks(), R)) return false;
  Matrix4x4 unfitted;
  if (!Matrix4x4::invert(R, unfitted)) return false;
  M = unfitted;
  if (n < IterativeRealignment::kFirstRefinedCount) return true;

  AlignerArray<Vector3> normals(n);
  for (int32_t i = 1; i <= n; ++i) {
    measured[i] = Matrix4x4::transformPoint(M, measured[i]);
    Vector3 closest, normal;
    const bool found =
        context.input && context.input->closestPoint(measured[i], closest, normal, false, false);
    normals[i] = found ? normal : kNoNormal;
  }
  Matrix4x4 R2;
  if (!context.aligner->refine(n, measured.chunks(), normals.chunks(), R2, false, false, 0, nullptr,
                               kRefinementTolerance, false, counted.front()->probeRadius))
    return false;
  M = R2 * unfitted;
  return true;
}

ZelString lengthText(double metres, int32_t unit, int32_t places) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", places, metres * UnitService::unitFactor(unit));
  return ZelString(text);
}

}  // namespace

IterativeRealignment::IterativeRealignment(const Parts& parts) : parts_(parts) {
  if (parts_.targets) context_ = createAlignerContext(parts_.reference, *parts_.targets);
  pointFinder_ = createPointFinder(parts_.reference);
}

bool IterativeRealignment::computeAlignment(AlignerContext& context, Matrix4x4& M) {
  M = Matrix4x4::identity();
  if (!context.aligner || !context.targets || context.targets->size() < 3) return false;
  std::vector<const TargetData*> counted;
  for (const TargetData& entry : *context.targets) {
    if (entry.nominal && entry.measured) counted.push_back(&entry);
  }
  if (counted.size() < 3) return false;
  // A failing host call may have left anything in M: a failed alignment is always the identity.
  Matrix4x4 computed;
  if (!fitAndRefine(context, counted, computed)) return false;
  M = computed;
  return true;
}

void IterativeRealignment::updateSurfacePoint(TargetData& entry, const Matrix4x4& M) {
  if (!pointFinder_) {
    reportAssertion("pointFinder_.get()", assertion_sites::kIterativeSource, __LINE__);
    return;
  }
  if (!entry.nominal || !entry.measured) return;
  Vector3 closest, normal;
  if (!pointFinder_->find(Matrix4x4::transformPoint(M, entry.measured->point), closest, normal)) return;
  if (!entry.surface) entry.surface = IPtr<TargetData::Target>(new TargetData::Target);
  entry.surface->point = closest;
  entry.surface->direction = normal;
}

bool IterativeRealignment::updateAlignment() {
  aligned_ = false;
  Matrix4x4 M;
  const std::optional<ObjectPlacement> placement = ObjectPlacement::ofReference(parts_.reference);
  const bool success = placement && context_ && computeAlignment(*context_, M);
  std::vector<TargetData> noTargets;
  std::vector<TargetData>& targets = parts_.targets ? *parts_.targets : noTargets;
  for (TargetData& entry : targets) {
    entry.setMatrix(M);
    entry.reset();
    // A surface point found under an older alignment says nothing of the raw points now under the identity.
    if (!success) entry.surface.release();
  }
  if (success) {
    if (pointFinder_) {
      for (TargetData& entry : targets) updateSurfacePoint(entry, M);
    }
    for (TargetData& entry : targets) entry.computeDeviation();
  }
  if (parts_.graphics) parts_.graphics->buildTargetGraphics();
  if (IZelPlugin* plugin = getCurrentHardProbePlugin())
    setDeviceTransform(*plugin,
                       success ? hardwareDelivering(*plugin, placement->ownToWorld() * M) : noAlignment_,
                       parts_.display);
  aligned_ = success;
  deviceToModel_ = M;
  showStatistics(success);
  return success;
}

void IterativeRealignment::showStatistics(bool aligned) {
  if (!parts_.dialog) return;
  if (!aligned) {
    parts_.dialog->setControlText(kStatisticsLabel,
                                  tr("Maximum Distance:\nAverage Distance:\nStandard Deviation:"));
    return;
  }
  Statistics statistics;
  statistics.targets = parts_.targets;
  if (computeStatistics(statistics))
    parts_.dialog->setControlText(kStatisticsLabel, statisticsText(statistics));
  // Too few align errors: the label keeps the last figures.
}

ZelString IterativeRealignment::statisticsText(const Statistics& statistics) {
  const int32_t unit = UnitService::currentLengthUnit();
  const int32_t places = userDecimalPlaces();
  SPtr<IUnitService> units;
  const ZelString unitName = units ? UnitService::unitName(unit) : ZelString("Unknown");
  ZelString text = tr("Maximum Distance: %1 %2\n", lengthText(statistics.maximum, unit, places), unitName);
  text += tr("Average Distance: %1 %2\n", lengthText(statistics.mean, unit, places), unitName);
  text += tr("Standard Deviation: %1 %2\n", lengthText(statistics.standardDeviation, unit, places), unitName);
  return text;
}

bool IterativeRealignment::computeStatistics(Statistics& statistics) {
  if (!statistics.targets) return false;
  std::vector<double> errors;
  for (const TargetData& entry : *statistics.targets) {
    if (!isUnset(entry.alignErrorValue())) errors.push_back(entry.alignErrorValue());
  }
  if (errors.empty() || static_cast<int32_t>(errors.size()) < statistics.minimumCount) return false;
  double sum = 0;
  for (double e : errors) sum += e;
  const double mean = sum / static_cast<double>(errors.size());
  double squares = 0;
  for (double e : errors) squares += (e - mean) * (e - mean);
  statistics.maximum = *std::max_element(errors.begin(), errors.end());
  statistics.mean = mean;
  statistics.standardDeviation = std::sqrt(squares / static_cast<double>(errors.size()));
  return true;
}
