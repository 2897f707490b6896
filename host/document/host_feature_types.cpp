#include "host/document/host_feature_types.h"

#include "framework/object/query_chain.h"
#include "host_api/feature_type_ids.h"

namespace {

// A target point is a point too, and parallel planes may answer as a plane: each special kind comes before
// the kind it extends, so that it is found as itself.
constexpr FeatureKind kKinds[] = {
    {"IZelTargetPoint", kTargetPointTypeClassId, u"Target Point"},
    {"IZelPoint", kPointTypeClassId, u"Point"},
    {"IZelParallelPlanes", kParallelPlanesTypeClassId, u"Parallel Planes"},
    {"IZelPlane", kPlaneTypeClassId, u"Plane"},
    {"IZelLine", kLineTypeClassId, u"Line"},
    {"IZelArc", kArcTypeClassId, u"Circle"},
    {"IZelSphere", kSphereTypeClassId, u"Sphere"},
    {"IZelCylinder", kCylinderTypeClassId, u"Cylinder"},
    {"IZelCone", kConeTypeClassId, u"Cone"},
    {"IZelOvalSlot", kOvalSlotTypeClassId, u"Oval Slot"},
    {"IZelRectangularSlot", kRectangularSlotTypeClassId, u"Rectangular Slot"},
    {"IZelRoundedSlot", kRoundedSlotTypeClassId, u"Rounded Slot"},
};

bool answers(IZelUnknown* object, const char* name) {
  void* part = nullptr;
  object->queryInterface(name, &part, false);
  return part != nullptr;
}

}  // namespace

std::span<const FeatureKind> featureKinds() {
  return kKinds;
}

ZelString HostFeatureType::displayName() {
  ZelString name;
  name.setBuffer(displayName_.c_str(), -1);
  return name;
}

void HostFeatureType::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelFeatureType>(this)
      .offer<IZelEntity>(this)
      .end();
}

HostFeatureTypeFinder::HostFeatureTypeFinder() {
  for (const FeatureKind& kind : kKinds)
    kinds_.push_back(
        {kind.interfaceName, IPtr<HostFeatureType>(new HostFeatureType(kind.classId, kind.displayName))});
}

IZelFeatureType* HostFeatureTypeFinder::featureType(IZelFeature* feature) {
  if (!feature) return nullptr;
  for (const Kind& kind : kinds_)
    if (answers(feature, kind.interfaceName)) return kind.type.get();
  return nullptr;
}

void HostFeatureTypeFinder::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelFeatureTypeFinder>(this).end();
}
