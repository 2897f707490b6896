#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/point_objects.h"
#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/object/zel_unknown_impl.h"
#include "host/api/feature_type_ids.h"
#include "host/api/feature_types.h"
#include "host/api/probe_array_source.h"
#include "support/module_fixture.h"

namespace {

// A feature known only by the kind interfaces it answers, as the finder asks for them: the finder must not
// need the features' code.
class KindOnlyFeature : public IZelFeature, public ZelUnknownImpl {
 public:
  explicit KindOnlyFeature(std::vector<std::string> kinds) : kinds_(std::move(kinds)) {}

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain chain(name, out);
    if (!chain.classLeaf("KindOnlyFeature", this, this).offer<IZelFeature>(this).end() && name)
      for (const std::string& kind : kinds_)
        if (kind == name) *out = static_cast<IZelFeature*>(this);
  }
  const char* className() override { return "KindOnlyFeature"; }

 private:
  const std::vector<std::string> kinds_;
};

IPtr<IZelFeature> feature(std::vector<std::string> kinds) {
  return IPtr<IZelFeature>(new KindOnlyFeature(std::move(kinds)));
}

// The type's entity face, as the module reads a feature's type.
IZelEntity* typeOf(IZelFeature* feature) {
  return queryPart<IZelEntity>(SPtr<IZelFeatureTypeFinder>()->featureType(feature));
}

std::u16string displayName(IZelFeature* feature) {
  return typeOf(feature)->displayName().c_str();
}

using FeatureTypes = ModuleTest;

TEST_F(FeatureTypes, OneTypeObjectPerKindWithItsClassIdAndDisplayName) {
  IPtr<IZelFeature> plane = feature({"IZelPlane"}), other = feature({"IZelPlane"}),
                    line = feature({"IZelLine"});
  EXPECT_EQ(typeOf(plane.get()), typeOf(other.get()));
  EXPECT_NE(typeOf(plane.get()), typeOf(line.get()));
  EXPECT_EQ(typeOf(plane.get())->classId(), kPlaneTypeClassId);
  EXPECT_EQ(typeOf(line.get())->classId(), kLineTypeClassId);
  struct Case {
    std::vector<std::string> kinds;
    std::u16string name;
  };
  for (const Case& c :
       {Case{{"IZelPlane"}, u"Plane"}, Case{{"IZelLine"}, u"Line"}, Case{{"IZelArc"}, u"Circle"},
        Case{{"IZelCylinder"}, u"Cylinder"}, Case{{"IZelPoint", "IZelTargetPoint"}, u"Target Point"},
        Case{{"IZelPlane", "IZelParallelPlanes"}, u"Parallel Planes"}}) {
    SCOPED_TRACE(c.kinds.back());
    EXPECT_EQ(displayName(feature(c.kinds).get()), c.name) << "the special kind is found as itself";
  }
  EXPECT_EQ(displayName(queryPart<IZelFeature>(createPoint().get())), u"Point") << "the host's own point";
  EXPECT_EQ(SPtr<IZelFeatureTypeFinder>()->featureType(feature({}).get()), nullptr);
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
  IPtr<IZelFeature> plane = feature({"IZelPlane"}), line = feature({"IZelLine"});
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
