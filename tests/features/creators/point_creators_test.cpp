#include <gtest/gtest.h>

#include "creator_fixture.h"
#include "features/creators/hard_probe_point_set_creators.h"
#include "framework/object/query_chain.h"
#include "host/core/host_unknown.h"
#include "host_api/unit_service.h"

namespace {

using PointCreators = CreatorTest;

// Units whose base unit is scaled by 25.
class ScaledUnits final : public IUnitService, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "ScaledUnits";

  int32_t currentLengthUnit() override { return 1; }
  double modelScale(int32_t model) override { return model == 0 ? 25.0 : std::nan(""); }
  double unitFactor(int32_t) override { return std::nan(""); }
  bool setCurrentLengthUnit(int32_t) override { return false; }
  ZelString unitName(int32_t) override { return ZelString(); }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IUnitService>(this).end();
  }
  const char* className() override { return interfaceName; }
};

Vector3 positionOf(IZelFeature* feature) {
  double xyz[3] = {};
  queryPart<IZelPoint>(feature)->position(xyz);
  return {xyz[0], xyz[1], xyz[2]};
}

TEST_F(PointCreators, MaxAndMinMoveTheChosenPointOneRadiusAwayFromTheStopPoint) {
  const Points tips = {{0, 0, .011}, {.01, 0, .013}, {.02, 0, .012}};
  struct Case {
    const char* creator;
    Points tips;
    Vector3 stop;
    Vector3 expected;
  };
  const Case cases[] = {
      {"HardProbeMaxPointCreator", tips, {.01, 0, .05}, {.01, 0, .012}},
      {"HardProbeMinPointCreator", tips, {.01, 0, .05}, {0, 0, .010}},
      {"HardProbeMaxPointCreator", {{0, 0, .013}, {.01, 0, .013}, {.02, 0, .012}}, {0, 0, .05}, {0, 0, .012}},
      {"HardProbeMinPointCreator",
       {{0, 0, .011}, {.01, 0, .013}, {.02, 0, .011}},
       {0, 0, -.05},
       {0, 0, .012}},
      {"HardProbeMaxPointCreator", tips, {.5, .5, .013}, {.01, 0, .014}},  // level with the stop: up
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.creator + std::string(" to ") + std::to_string(c.expected.z));
    IPtr<IZelFeature> point = probe(c.creator, c.tips, c.stop, .001, groundPlane().get());
    ASSERT_TRUE(point);
    expectNear(positionOf(point.get()), c.expected);
    EXPECT_EQ(compensated(point.get()), Points{positionOf(point.get())});
  }
  EXPECT_FALSE(probe("HardProbeMaxPointCreator", {tips[0], tips[1]}, {0, 0, 1}, .001, groundPlane().get()));
  EXPECT_FALSE(probe("HardProbeMinPointCreator", tips, {0, 0, 1}, .001)) << "no work plane";
  IPtr<IZelFeature> plane = groundPlane();
  IPtr<IZelHardProbeFeatureCreator> made = creator("HardProbeMaxPointCreator");
  EXPECT_EQ(
      queryPart<HardProbePointSetCreator>(made.get())->pickPoint(*queryPart<IZelPlane>(plane.get()), tips),
      2);
}

TEST_F(PointCreators, PointSurfacePointAndTargetSitAtTheMeanWithoutARadius) {
  const Points tips = {{.01, .02, .005}, {.03, .04, .007}};
  IPtr<IZelFeature> tilted = planeFeature({0, 0, .001}, {0, 0, 1});
  IPtr<IZelFeature> point = probe("HardProbePointCreator", tips, {1, 1, 1}, .002);
  ASSERT_TRUE(point);
  expectNear(positionOf(point.get()), {.02, .03, .006});
  expectNear(compensated(point.get()).at(0), {.02, .03, .006});
  expectNear(positionOf(probe("HardProbePointCreator", {tips[1]}, {}, 0).get()), tips[1]);

  IPtr<IZelFeature> surface = probe("HardProbeSurfacePointCreator", tips, {1, 1, 1}, .002, tilted.get());
  ASSERT_TRUE(surface);
  expectNear(positionOf(surface.get()), {.02, .03, .001});
  expectNear(compensated(surface.get()).at(0), {.02, .03, .001});

  IPtr<IZelFeature> target = probe("HardProbeTargetPointCreator", tips, {1, 1, 1}, .002, tilted.get());
  auto* targetPoint = queryPart<IZelTargetPoint>(target.get());
  ASSERT_TRUE(targetPoint);
  expectNear(positionOf(target.get()), {.02, .03, .001});
  EXPECT_DOUBLE_EQ(targetPoint->size(), 0.04);
  expectNear(targetPoint->direction(), {0, 0, 1});
  expectNear(compensated(target.get()).at(0), {.02, .03, .001});

  EXPECT_FALSE(probe("HardProbeSurfacePointCreator", tips, {}, 0)) << "no work plane";
  EXPECT_FALSE(probe("HardProbeTargetPointCreator", tips, {}, 0)) << "no work plane";
  EXPECT_FALSE(probe("HardProbePointCreator", {}, {}, 0));
}

TEST_F(PointCreators, ATargetIsSizedByTheScaleOfTheBaseUnit) {
  IPtr<IZelFeature> plane = groundPlane();
  IPtr<IUnitService> units(new ScaledUnits);
  struct Case {
    IUnitService* service;
    double size;
  };
  for (const Case& c : {Case{units.get(), 1.0}, Case{nullptr, 0.04}}) {
    SCOPED_TRACE(c.size);
    host_.root().setService(IUnitService::interfaceName, c.service);
    IPtr<IZelFeature> target = probe("HardProbeTargetPointCreator", {{.01, .02, .005}}, {}, 0, plane.get());
    ASSERT_TRUE(target);
    EXPECT_DOUBLE_EQ(queryPart<IZelTargetPoint>(target.get())->size(), c.size);
  }
  host_.root().setService(IUnitService::interfaceName, &host_.core().units());
}

}  // namespace
