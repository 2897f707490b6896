#include "commands/alignment/device_to_part/plane_alignment_solve.h"

#include <algorithm>
#include <vector>

#include "commands/alignment/common/assertion_sites.h"
#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/point_objects.h"
#include "framework/host_glue/renderer_scope.h"
#include "framework/memory/assertion.h"
#include "framework/object/query_part.h"
#include "host_api/datum_align_modifier.h"
#include "host_api/feature_kinds.h"
#include "host_api/gfx_view.h"
#include "host_api/host_class_ids.h"

namespace {

constexpr int32_t kPairCapacity = 21;
const char16_t* const kPlaneNames[] = {u"plane 1", u"plane 2", u"plane 3"};

// Sub-objects made for the solve, taken off their owners again when it ends.
class SolveSubObjects {
 public:
  SolveSubObjects() = default;
  SolveSubObjects(const SolveSubObjects&) = delete;
  SolveSubObjects& operator=(const SolveSubObjects&) = delete;
  ~SolveSubObjects() {
    for (IPtr<IZelSubObject>& made : made_) {
      if (auto* owner = made ? made->ownerManager() : nullptr) owner->removeSubObject(made.get());
    }
  }

  IZelSubObject* add(IZelDocObject* owner, const Plane& plane, int index) {
    made_.push_back(createPlaneSubObject(owner, plane, ZelString(kPlaneNames[index])));
    return made_.back().get();
  }

 private:
  std::vector<IPtr<IZelSubObject>> made_;
};

bool solve(IZelDatumBasedAlignModifier& modifier, const AlignmentPlanes& planes, IZelDocObject* floating,
           Matrix4x4& m) {
  modifier.setFixedObject(planes.reference);
  modifier.setFloatingObject(floating);
  SolveSubObjects subObjects;
  std::vector<IPtr<IZelAlignmentPair>> pairs;
  pairs.reserve(kPairCapacity);
  for (int i = 0; i < 3; ++i) {
    IZelSubObject* fixed = subObjects.add(planes.reference, planes.referencePlanes[i], i);
    IZelSubObject* moving = subObjects.add(floating, planes.devicePlanes[i], i);
    IPtr<IZelAlignmentPair> pair;
    pair.createInstance(kHostAlignmentPairClassId);
    if (!fixed || !moving || !pair) return false;
    pair->set(fixed, moving);
    pairs.push_back(pair);
  }
  std::vector<IZelAlignmentPair*> raw;
  for (const auto& pair : pairs) raw.push_back(pair.get());
  modifier.setPairs(raw.data(), static_cast<int32_t>(raw.size()));
  if (!modifier.run(0, 1, 0)) return false;
  SPtr<IGenGfxService> graphics;
  return graphics && graphics->worldTransform(floating, m.m);
}

}  // namespace

IPtr<IZelSubObject> createPlaneSubObject(IZelDocObject* owner, const Plane& plane, const ZelString& name) {
  IPtr<IZelPlane> feature;
  feature.createInstance(kHostPlaneClassId);
  IZelFeatureSubObjectMgr* features = getFeatureSubObjectMgr(owner);
  auto* subObjects = queryPart<IZelSubObjectMgr>(features);
  if (!feature || !subObjects) return {};
  feature->setPlane(plane.projectPoint(Vector3()), plane.normal(), Vector3(1, 0, 0), 0, 0);
  IPtr<IZelSubObject> made;
  made.takeOwnership(features->createSubObject(queryPart<IZelFeature>(feature.get())));
  if (!made) return {};
  made->setName(name);
  subObjects->addSubObject(made.get());
  return made;
}

bool computeAlignment(const AlignmentPlanes& planes, Matrix4x4& m) {
  m = Matrix4x4::identity();
  const auto valid = [](const Plane& plane) { return plane.isValid(); };
  if (!planes.reference || !std::ranges::all_of(planes.referencePlanes, valid) ||
      !std::ranges::all_of(planes.devicePlanes, valid))
    return false;
  RendererScope suspended;
  IPtr<IZelDatumBasedAlignModifier> modifier;
  modifier.createInstance(kHostDatumAlignModifierClassId);
  if (!modifier) {
    reportAssertion("mod", assertion_sites::kDeviceToPartSource, assertion_sites::kModifierLine);
    return false;
  }
  IPtr<IZelDocObject> floating = createPointObject(ZelString(u"float"));
  if (!floating) return false;
  Matrix4x4 solved;
  const bool solvedOk = solve(*modifier, planes, floating.get(), solved);
  removeObjectFromDocument(floating.get());
  if (solvedOk) m = solved;
  return solvedOk;
}
