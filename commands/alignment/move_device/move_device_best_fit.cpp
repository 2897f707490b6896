#include "commands/alignment/move_device/move_device_best_fit.h"

#include <vector>

#include "basic_types/transform_checks.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "framework/translation/tr.h"
#include "host_api/datum_align_modifier.h"
#include "host_api/gfx_view.h"
#include "host_api/zel_doc.h"

namespace {

// Room for the pairs the lists can hold, and more: the array never grows.
constexpr size_t kPairCapacity = 21;

// Why a fit failed, after "The best fit failed: ".
constexpr const char* kNoAligner = "the host's aligner or the point objects are missing.";
constexpr const char* kTargetMissing = "every reference needs its target.";
constexpr const char* kUnderdetermined = "at least three references not on one line are needed.";
constexpr const char* kNotRigid = "the aligner's answer is not a rigid motion.";

// One pair per reference; empty when a sub-object or a pair object is missing.
std::vector<IPtr<IZelAlignmentPair>> pairsOf(const MoveDevicePointContainer& references,
                                             const MoveDevicePointContainer& targets) {
  std::vector<IPtr<IZelAlignmentPair>> pairs;
  pairs.reserve(kPairCapacity);
  for (int32_t i = 0; i < references.count(); ++i) {
    IZelSubObject* fixed = queryPart<IZelFeatureSubObject>(references.subObject(i));
    IZelSubObject* floating = queryPart<IZelFeatureSubObject>(targets.subObject(i));
    IPtr<IZelAlignmentPair> pair;
    if (fixed && floating) pair.getService();
    if (!pair) return {};
    pair->set(fixed, floating);
    pairs.push_back(std::move(pair));
  }
  return pairs;
}

bool failWith(const char* reason, ZelString& deviations) {
  deviations = tr("The best fit failed: %1", tr(reason));
  return false;
}

}  // namespace

bool fitTargetsOntoReferences(const MoveDevicePointContainer& references,
                              const MoveDevicePointContainer& targets, Matrix4x4& result,
                              ZelString& deviations) {
  SPtr<IZelDatumBasedAlignModifier> modifier;
  IZelDocObject* fixedObject = references.documentObject();
  IZelDocObject* floatingObject = targets.documentObject();
  if (!modifier || !fixedObject || !floatingObject) return failWith(kNoAligner, deviations);
  modifier->setFixedObject(fixedObject);
  modifier->setFloatingObject(floatingObject);
  std::vector<IPtr<IZelAlignmentPair>> pairs = pairsOf(references, targets);
  if (pairs.empty()) return failWith(kTargetMissing, deviations);
  std::vector<IZelAlignmentPair*> raw;
  for (const IPtr<IZelAlignmentPair>& pair : pairs) raw.push_back(pair.get());
  modifier->setPairs(raw.data(), static_cast<int32_t>(raw.size()));

  // The previous fit's result stays on the targets' object; left there, it would conjugate this fit.
  const Matrix4x4 unmoved = Matrix4x4::identity();
  floatingObject->setTransform(unmoved.m);
  SPtr<IGfxDoc> graphicsDocument;
  Matrix4x4 nodeBefore;
  if (!graphicsDocument || !graphicsDocument->objectNodeTransform(floatingObject, nodeBefore.m))
    return failWith(kNoAligner, deviations);
  if (!modifier->run(0, 0, 0)) return failWith(kUnderdetermined, deviations);
  SPtr<IGenGfxService> graphics;
  Matrix4x4 objectAfter;
  if (!graphics || !graphics->worldTransform(floatingObject, objectAfter.m))
    return failWith(kNoAligner, deviations);
  result = objectAfter * (modifier->resultTransform() * Matrix4x4::inverse(nodeBefore));
  floatingObject->setTransform(result.m);
  if (!isProperRigid(result)) return failWith(kNotRigid, deviations);
  floatingObject->transform(result.m);

  double mean = 0, largest = 0, rms = 0;
  int32_t count = 0;
  ZelString report;
  modifier->report(mean, largest, rms, &report, count);
  if (!report.isEmpty()) deviations = report;
  return true;
}

int32_t firstPairBeyond(const MoveDevicePointContainer& references, const MoveDevicePointContainer& targets,
                        const Matrix4x4& result, double tolerance) {
  for (int32_t i = 0; i < references.count(); ++i) {
    const Vector3 moved = Matrix4x4::transformPoint(result, targets.position(i));
    if ((moved - references.position(i)).length() > tolerance) return i;
  }
  return -1;
}

bool spanAPlane(const MoveDevicePointContainer& references, double spread) {
  const Vector3 first = references.position(0);
  Vector3 along;
  for (int32_t i = 1; i < references.count(); ++i) {
    const Vector3 offset = references.position(i) - first;
    if (offset.squaredLength() > along.squaredLength()) along = offset;
  }
  for (int32_t i = 1; i < references.count(); ++i) {
    if (Vector3::perpendicularPart(references.position(i) - first, along).length() >= spread) return true;
  }
  return false;
}
