#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "basic_types/bit_vector.h"
#include "creator_fixture.h"
#include "features/creators/hard_probe_feature_creator_base.h"
#include "framework/object/query_chain.h"
#include "host/core/host_unknown.h"
#include "host/core/zel_id_text.h"
#include "host_api/feature_fitter.h"
#include "host_api/interface_name_collector.h"
#include "host_api/registry_paths.h"

namespace {

struct CreatorRow {
  const char* name;
  const char* id;  // stored in documents as "<ZelID>": never changes
  int32_t minPoints;
  bool pointSet;
};

constexpr CreatorRow kCreators[] = {
    {"HardProbePlaneCreator", "a8891a8a-641b-465b-873d-1057abb60795", 3, false},
    {"HardProbeLineCreator", "3c4f40ab-85f8-4125-beb3-a95177076182", 2, false},
    {"HardProbePointCreator", "03212150-5577-465e-8457-cb1a57234016", 1, false},
    {"HardProbeSurfacePointCreator", "a50538e7-efdb-4d37-9068-e6c2e85a4340", 1, false},
    {"HardProbeTargetPointCreator", "8c35f323-fe65-41f0-ab45-b8de2e5bc855", 1, false},
    {"HardProbeMaxPointCreator", "2764b99a-2a07-404e-ad97-558fec59d4f6", 3, true},
    {"HardProbeMinPointCreator", "3ede4e9e-775c-4c67-bcd5-ebdddd5cfabb", 3, true},
    {"HardProbeSphereCreator", "48a9dc64-faec-4dec-849f-37e58b3a325a", 4, false},
    {"HardProbeCircleCreator", "9162ac9c-1437-4c27-9cf5-6f14f586e38f", 3, false},
    {"HardProbePointCircleCreator", "cd74bc6e-d309-4f36-b2c0-1ac63c466f4c", 1, false},
    {"HardProbeBoltCircleCreator", "23a31f79-110c-47f5-b7c4-a7b149c64a8a", 0, false},
    {"HardProbeParallelPlanesCreator", "a2845c91-a303-4d94-9446-625b50878760", 0, false},
    {"HardProbeParallelPlanesPlaneCreator", "3c6bf61c-5a14-4360-b49e-422ab068b465", 3, false},
    {"HardProbeOvalSlotCreator", "f5915838-9672-4e4a-8318-e769dbc773b0", 0, false},
    {"HardProbeRectangularSlotCreator", "ad771e66-7678-4a4f-8179-e563f3a37dee", 0, false},
    {"HardProbeRoundedSlotCreator", "4bcceeb0-5922-4fae-a9ac-9362e2fb6855", 0, false},
    {"HardProbeConeCreator", "e63cb29c-965e-418a-afc8-c9539015bc33", 7, false},
    {"HardProbeConstrainedConeCreator", "f018d9ec-161d-4e08-9b30-34050627b3ae", 7, false},
    {"HardProbeCylinderCreator", "924d46fc-c432-4a93-8a86-7357e700b25a", 6, false},
    {"HardProbeConstrainedCylinderCreator", "a3d3c0e8-e71c-4d22-a766-86b3a6b7b15d", 6, false},
    {"HardProbeTopBottomPlaneCylinderCreator", "8c8c51ff-cbb5-4076-a1c4-78bc62b5a933", 6, false},
};

// Every name a query answers, in order, as the host collects them.
std::vector<std::string> answeredNames(IZelUnknown* object) {
  ZelCountedArray<ZelCString> classStack;
  ZelCountedArray<InterfaceNameEntry> entries;
  InterfaceNameCollector collector;
  collector.classStack = &classStack;
  collector.entries = &entries;
  object->queryInterface(nullptr, reinterpret_cast<void**>(&collector), true);
  std::vector<std::string> names;
  for (int32_t i = 1; i <= entries.count(); ++i) names.emplace_back(entries[i].name.c_str());
  return names;
}

ZelID recordedCreator(IZelFeature* feature) {
  auto* record = queryPart<IZelParameterTable>(feature->getParameter(ZelString(kProbeConstructionKey)));
  auto* id = record ? queryPart<IZelIDValue>(record->getParameter(ZelString(kCreatorIdKey))) : nullptr;
  return id ? id->value() : ZelID{};
}

IZelParameterTable* recordedParameters(IZelFeature* feature) {
  auto* record = queryPart<IZelParameterTable>(feature->getParameter(ZelString(kProbeConstructionKey)));
  return record ? queryPart<IZelParameterTable>(record->getParameter(ZelString(kParametersKey))) : nullptr;
}

// What a creator hands the host's fitter: the points and each parameter by name.
struct FitterInput {
  int32_t points = -1;
  std::map<std::u16string, IPtr<IZelParameter>> parameters;

  template <class T>
  T* as(const char16_t* name) {
    auto it = parameters.find(name);
    return it == parameters.end() ? nullptr : queryPart<T>(it->second.get());
  }
};

// A fitter that keeps what it is given and fits nothing.
class RecordingFitter final : public IZelFeatureFitter, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "RecordingFitter";

  explicit RecordingFitter(FitterInput& input) : input_(input) {}
  void setPointSet(IZelPointSetInterface* points) override {
    input_.points = points ? points->pointCount() : -1;
  }
  bool setParameter(const ZelString& name, IZelParameter* value) override {
    input_.parameters[name.c_str()] = IPtr<IZelParameter>(value);
    return true;
  }
  IZelFeature* fit() override { return nullptr; }
  ZelString failure() override { return {}; }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelFeatureFitter>(this).end();
  }
  const char* className() override { return interfaceName; }

 private:
  FitterInput& input_;
};

using CreatorBase = CreatorTest;

TEST_F(CreatorBase, TheHostFitterIsSetUpForItsTypeWithEveryPointSelected) {
  struct Row {
    const char* creator;
    const char* fitter;  // after "Features/Fitters/BestFitFitter/"
    bool givenWorkPlane;
    bool fitsInWorkPlane;
    bool justBoundary;
  };
  const Row rows[] = {{"HardProbePlaneCreator", "IZelPlane", false, false, true},
                      {"HardProbeSphereCreator", "IZelSphere", false, false, true},
                      {"HardProbeCircleCreator", "IZelArc", true, true, true},
                      {"HardProbeLineCreator", "Direct/IZelLine", true, false, false}};
  const Points tips = {{0, 0, .002}, {.1, 0, .002}, {0, .1, .002}, {.1, .1, .002}, {.05, .02, .003}};
  IPtr<IZelFeature> workPlane = planeFeature({.3, .2, .001}, {0, 0, 1});
  for (const Row& row : rows) {
    SCOPED_TRACE(row.creator);
    FitterInput input;
    const HostRoot::HostClass recording{{0x7e57f17e, 0x0025, 0x0001, {0, 0, 0, 0, 0, 0, 0, 1}}, {}, [&input] {
                                          return static_cast<IZelUnknown*>(new RecordingFitter(input));
                                        }};
    host_.root().addHostClass(recording);
    host_.root().registry().add(std::string(kBestFitFitterPath) + row.fitter, registryText(recording.id));
    EXPECT_FALSE(probe(row.creator, tips, {0, 0, 1}, .001, row.givenWorkPlane ? workPlane.get() : nullptr));
    host_.root().removeHostClass(recording);

    EXPECT_EQ(input.points, static_cast<int32_t>(tips.size()));
    auto* iterations = input.as<IZelIntValue>(u"<Robust Fit Iterations>");
    ASSERT_TRUE(iterations);
    EXPECT_EQ(iterations->value(), 0);
    auto* selection = input.as<IZelBitVectorArray>(u"<Selection>");
    ASSERT_TRUE(selection);
    ASSERT_EQ(selection->count(), 1);
    const BitVector* selected = selection->bitVectorAt(1);
    ASSERT_TRUE(selected);
    for (int32_t i = 1; i <= static_cast<int32_t>(tips.size()) + 1; ++i)
      EXPECT_EQ(selected->test(i), i <= static_cast<int32_t>(tips.size())) << "bit " << i;
    auto* justBoundary = input.as<IZelIntValue>(u"<JustBoundary>");
    ASSERT_EQ(justBoundary != nullptr, row.justBoundary);
    if (justBoundary) {
      EXPECT_EQ(justBoundary->value(), 1);
    }
    auto* plane = input.as<IZelVectorsValue>(u"<WorkPlane>");
    ASSERT_EQ(plane != nullptr, row.fitsInWorkPlane);
    if (plane) {
      EXPECT_EQ(pointsOf(*plane), (Points{{.3, .2, .001}, {0, 0, 1}})) << "its point, then its normal";
    }
  }
}

TEST_F(CreatorBase, EachCreatorIsMadeByItsPersistentIdWithItsPointCountAndNames) {
  for (const CreatorRow& row : kCreators) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(canonicalText(classIdOf(row.name)), row.id);
    IPtr<IZelHardProbeFeatureCreator> made = creator(row.name);
    ASSERT_TRUE(made);
    EXPECT_EQ(made->minPoints(), row.minPoints);
    auto* base = queryPart<HardProbeFeatureCreatorBase>(made.get());
    ASSERT_TRUE(base);
    EXPECT_EQ(canonicalText(base->classId()), row.id);
    std::vector<std::string> names = {row.name, "HardProbeFeatureCreatorBase", "IZelHardProbeFeatureCreator"};
    if (row.pointSet) names.insert(names.begin() + 1, "HardProbePointSetCreator");
    EXPECT_EQ(answeredNames(made.get()), names);
    EXPECT_FALSE(create(*made)) << "a table never filled gives no feature";
  }
}

TEST_F(CreatorBase, TheRecordNamesTheCreatorAndCopiesItsTableWithTheCompensatedPointsAdded) {
  IPtr<IZelHardProbeFeatureCreator> made = creator("HardProbePlaneCreator");
  const Points sampled = {{0, 0, .002}, {.1, 0, .002}, {0, .1, .002}, {.1, .1, .002}};
  IPtr<IZelParameter> points = pointsValue(sampled);
  made->setParameter(ZelString(kSampledPointsKey), points.get());
  made->setParameter(ZelString(kStopPointKey), pointValue({.05, .05, .05}).get());
  made->setParameter(ZelString(kProbeRadiusKey), doubleValue(.002).get());
  made->setParameter(ZelString(u"<Unread>"), doubleValue(7).get());
  IPtr<IZelFeature> plane = create(*made);
  ASSERT_TRUE(plane);
  EXPECT_EQ(canonicalText(recordedCreator(plane.get())), "a8891a8a-641b-465b-873d-1057abb60795");
  IZelParameterTable* stored = recordedParameters(plane.get());
  ASSERT_TRUE(stored);
  std::vector<std::u16string> keys;
  for (int32_t i = 1; i <= stored->count(); ++i) keys.emplace_back(stored->nameAt(i).c_str());
  EXPECT_EQ(keys, (std::vector<std::u16string>{kSampledPointsKey, kStopPointKey, kProbeRadiusKey, u"<Unread>",
                                               kCompensatedPointsKey}));
  EXPECT_NE(stored->getParameter(ZelString(kSampledPointsKey)), points.get()) << "a copy, not the value";
  EXPECT_EQ(compensated(plane.get()).size(), sampled.size());

  EXPECT_FALSE(
      queryPart<HardProbeFeatureCreatorBase>(made.get())->parameter(ZelString(kCompensatedPointsKey)));

  // The next feature of the same creator leaves the first one's record as it was.
  made->setParameter(ZelString(kSampledPointsKey), pointsValue({{0, 0, 1}, {1, 0, 1}, {0, 1, 1}}).get());
  ASSERT_TRUE(create(*made));
  EXPECT_EQ(compensated(plane.get()).size(), sampled.size());
  expectNear(compensated(plane.get())[3], {.1, .1, 0});
}

TEST_F(CreatorBase, AMissingKeyGivesNoFeatureAndTheOtherEntriesStay) {
  const Points sampled = ring({.1, .2, .3}, {0, 0, 1}, .021, 5);
  const std::vector<const char16_t*> keys = {kSampledPointsKey, kStopPointKey, kProbeRadiusKey};
  for (const char16_t* missing : keys) {
    IPtr<IZelHardProbeFeatureCreator> made = creator("HardProbeCircleCreator");
    std::vector<std::pair<const char16_t*, IPtr<IZelParameter>>> entries = {
        {kSampledPointsKey, pointsValue(sampled)},
        {kStopPointKey, pointValue({.2, .2, .3})},
        {kProbeRadiusKey, doubleValue(.001)},
        {kWorkPlaneKey, featureValue(planeFeature({0, 0, .3}, {0, 0, 1}).get())}};
    for (const auto& [key, value] : entries)
      if (key != missing) made->setParameter(ZelString(key), value.get());
    EXPECT_FALSE(create(*made));
    for (const auto& [key, value] : entries)
      if (key == missing) made->setParameter(ZelString(key), value.get());
    EXPECT_TRUE(create(*made)) << "the other entries stayed";
  }
  IPtr<IZelHardProbeFeatureCreator> wrongKind = creator("HardProbePlaneCreator");
  wrongKind->setParameter(ZelString(kSampledPointsKey), pointsValue(sampled).get());
  wrongKind->setParameter(ZelString(kStopPointKey), doubleValue(1).get());
  wrongKind->setParameter(ZelString(kProbeRadiusKey), doubleValue(.001).get());
  EXPECT_FALSE(create(*wrongKind)) << "a stop point that is not a point";
}

TEST_F(CreatorBase, ANegativeOrUndefinedProbeRadiusGivesNoFeature) {
  const Points sampled = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  for (double radius : {-0.001, std::nan(""), HUGE_VAL}) {
    SCOPED_TRACE(radius);
    EXPECT_FALSE(probe("HardProbePlaneCreator", sampled, {0, 0, 1}, radius));
  }
  EXPECT_TRUE(probe("HardProbePlaneCreator", sampled, {0, 0, 1}, 0.0)) << "a radius of 0 compensates nothing";
}

TEST_F(CreatorBase, ASampledOrStopPointThatIsNotANumberGivesNoFeature) {
  IPtr<IZelFeature> plane = groundPlane();
  for (double bad : {std::nan(""), HUGE_VAL}) {
    const Points tips = {{.01, 0, bad}, {.02, 0, .003}, {.03, 0, .002}};
    for (const char* name :
         {"HardProbePointCreator", "HardProbeSurfacePointCreator", "HardProbeTargetPointCreator",
          "HardProbeMaxPointCreator", "HardProbeMinPointCreator", "HardProbePointCircleCreator"}) {
      SCOPED_TRACE(name + std::string(" with ") + std::to_string(bad));
      EXPECT_FALSE(probe(name, tips, {0, 0, 1}, .001, plane.get()));
    }
    EXPECT_FALSE(probe("HardProbeLineCreator", {tips[0], tips[1]}, {0, 1, 0}, .001, plane.get()));

    // A stop point without a side would compensate to a guessed one.
    const Points ball = {{.021, 0, 0}, {0, .021, 0}, {-.021, 0, 0}, {0, 0, .021}, {0, -.0126, -.0168}};
    for (const char* name :
         {"HardProbePlaneCreator", "HardProbeLineCreator", "HardProbeMaxPointCreator",
          "HardProbeMinPointCreator", "HardProbeCircleCreator", "HardProbeSphereCreator"}) {
      SCOPED_TRACE(name + std::string(" stopped at ") + std::to_string(bad));
      EXPECT_TRUE(probe(name, ball, {0, .1, 1}, .001, plane.get()));
      EXPECT_FALSE(probe(name, ball, {0, .1, bad}, .001, plane.get()));
    }
  }
}

TEST_F(CreatorBase, ANullFeatureGetsNoRecordAndIsReported) {
  IPtr<IZelHardProbeFeatureCreator> made = creator("HardProbePointCreator");
  made->setParameter(ZelString(kSampledPointsKey), pointsValue({{1, 2, 3}}).get());
  auto* base = queryPart<HardProbeFeatureCreatorBase>(made.get());
  EXPECT_FALSE(base->attachProbeParameters(nullptr, {{1, 2, 3}}));
  auto reports = host_.core().assertions().reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(std::tie(reports[0].expression, reports[0].file, reports[0].line),
            std::tuple("feature", "hardprobefeaturecreatorbase", 45));
  EXPECT_FALSE(getCompensatedPoints(nullptr));
  EXPECT_EQ(host_.core().assertions().reports().size(), 2u);
}

TEST_F(CreatorBase, ACreatorMadeFromTheRecordRefitsFromItsParametersLessOnePoint) {
  const Points sampled = {{0, 0, .002}, {.1, 0, .002}, {0, .1, .002}, {.1, .1, .002}, {.05, .05, .002}};
  IPtr<IZelFeature> first = probe("HardProbePlaneCreator", sampled, {.05, .05, .05}, .002);
  ASSERT_TRUE(first);

  IPtr<IZelHardProbeFeatureCreator> refit;
  refit.createInstance(recordedCreator(first.get()));
  ASSERT_TRUE(refit);
  IZelParameterTable* stored = recordedParameters(first.get());
  for (int32_t i = 1; i <= stored->count(); ++i) {
    IPtr<IZelParameter> value;
    value.takeOwnership(stored->parameterAt(i)->copy());
    if (stored->nameAt(i) == ZelString(kSampledPointsKey))
      queryPart<IZelVectorsValue>(value.get())->removeVector(2);
    refit->setParameter(stored->nameAt(i), value.get());
  }
  IPtr<IZelFeature> second = create(*refit);
  ASSERT_TRUE(second);
  auto* plane = queryPart<IZelPlane>(second.get());
  expectNear(plane->normal(), {0, 0, 1});
  EXPECT_NEAR(plane->center().z, 0.0, 1e-12);
  const Points points = compensated(second.get());
  ASSERT_EQ(points.size(), 4u);
  expectNear(points[1], {0, .1, 0});
}

}  // namespace
