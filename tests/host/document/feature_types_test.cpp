#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/point_objects.h"
#include "host_api/feature_type_ids.h"
#include "host_api/feature_types.h"
#include "host_api/probe_array_source.h"
#include "support/module_fixture.h"
#include "tests/host/document/made_feature.h"

namespace {

// The type's entity face, as the module reads a feature's type.
IZelEntity* typeOf(IZelFeature* feature) {
  return queryPart<IZelEntity>(SPtr<IZelFeatureTypeFinder>()->featureType(feature));
}

std::u16string displayName(IZelFeature* feature) {
  return typeOf(feature)->displayName().c_str();
}

using FeatureTypes = ModuleTest;

TEST_F(FeatureTypes, OneTypeObjectPerKindWithItsClassIdAndDisplayName) {
  IPtr<IZelFeature> plane = feature<IZelPlane>(), other = feature<IZelPlane>(), line = feature<IZelLine>();
  EXPECT_EQ(typeOf(plane.get()), typeOf(other.get()));
  EXPECT_NE(typeOf(plane.get()), typeOf(line.get()));
  EXPECT_EQ(typeOf(plane.get())->classId(), kPlaneTypeClassId);
  EXPECT_EQ(typeOf(line.get())->classId(), kLineTypeClassId);
  struct Case {
    IPtr<IZelFeature> feature;
    std::u16string name;
  };
  for (const Case& c : {Case{feature<IZelPlane>(), u"Plane"}, Case{feature<IZelLine>(), u"Line"},
                        Case{feature<IZelArc>(), u"Circle"}, Case{feature<IZelCylinder>(), u"Cylinder"},
                        Case{feature<IZelTargetPoint>(), u"Target Point"},
                        Case{feature<IZelParallelPlanes>(), u"Parallel Planes"}}) {
    EXPECT_EQ(displayName(c.feature.get()), c.name) << "the special kind is found as itself";
  }
  EXPECT_EQ(displayName(queryPart<IZelFeature>(createPoint().get())), u"Point") << "the host's own point";
  EXPECT_EQ(SPtr<IZelFeatureTypeFinder>()->featureType(nullptr), nullptr);
}

// Features numbered as the module numbers them: the type's class id from the finder, then update and read.
class RunningNumbering : public ModuleTest {
 protected:
  static int32_t next(IZelFeatureSubObjectMgr* features, IZelFeature* feature) {
    ZelID type = typeOf(feature)->classId();
    features->updateRunningNumber(type);
    return features->runningNumber(type);
  }
};

TEST_F(RunningNumbering, ThreePlanesAre123AndGivingBack3MakesTheNextPlane3AgainPerType) {
  IZelFeatureSubObjectMgr* features = getFeatureSubObjectMgr(createPointObject(ZelString(u"Probed")).get());
  IPtr<IZelFeature> plane = feature<IZelPlane>(), line = feature<IZelLine>();
  EXPECT_EQ(features->runningNumber(kPlaneTypeClassId), 0) << "before the first plane";
  EXPECT_EQ(
      (std::vector{next(features, plane.get()), next(features, plane.get()), next(features, plane.get())}),
      (std::vector{1, 2, 3}));
  EXPECT_EQ(next(features, line.get()), 1) << "numbers are per type";
  features->giveBackRunningNumber(kPlaneTypeClassId);
  EXPECT_EQ(next(features, plane.get()), 3);
  EXPECT_EQ(next(features, line.get()), 2);
  IZelFeatureSubObjectMgr* others = getFeatureSubObjectMgr(createPointObject(ZelString(u"Other")).get());
  others->giveBackRunningNumber(kPlaneTypeClassId);
  EXPECT_EQ(next(others, plane.get()), 1) << "per object, and a count never goes below 0";
}

TEST_F(FeatureTypes, TheRecreationModifierAppliesMode0OnceToTheFeatureSetAndLetsGoOfIt) {
  IPtr<IZelPoint> point = createPoint();
  SPtr<IZelFeatureRecreationModifier> modifier;
  EXPECT_FALSE(modifier->apply(0)) << "no feature yet";
  EXPECT_FALSE(modifier->setFeature(nullptr));
  ASSERT_TRUE(modifier->setFeature(queryPart<IZelFeature>(point.get())));
  EXPECT_EQ(std::vector({modifier->apply(1), modifier->apply(0), modifier->apply(0)}),
            std::vector({false, true, false}))
      << "mode 0 only, once";
  EXPECT_EQ(point->refCount(), 1u) << "applied, it holds the feature no more";
}

TEST_F(FeatureTypes, ASubObjectsProbeArraySourceIsRefilledWholeAndTakesOnlyFinitePoints) {
  IZelFeatureSubObjectMgr* features = getFeatureSubObjectMgr(createPointObject(ZelString(u"Probed")).get());
  IPtr<IZelFeatureSubObject> shown;
  shown.takeOwnership(features->createSubObject(queryPart<IZelFeature>(createPoint().get())));
  auto* source = queryPart<IZelProbeArraySource>(shown.get());
  ASSERT_NE(source, nullptr);
  source->begin(2);
  EXPECT_TRUE(source->append({1, 2, 3}));
  EXPECT_FALSE(source->append({0, NAN, 0}));
  source->begin(1);
  EXPECT_TRUE(source->append({4, 5, 6}));
  Vector3 p;
  EXPECT_EQ((std::tuple{source->count(), source->pointAt(1, p), source->pointAt(2, p)}),
            std::tuple(1, true, false));
  EXPECT_EQ(p, Vector3(4, 5, 6)) << "begin replaces the old points";
}

}  // namespace
