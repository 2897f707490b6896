#include <gtest/gtest.h>

#include "collector_fixture.h"
#include "features/collectors/simple_collector.h"
#include "host/gui/host_image.h"
#include "host/gui/png_image.h"
#include "support/device_stream.h"

namespace {

using LineCollector = CollectorTest;
using SimpleCollectors = CollectorTest;

TEST_F(LineCollector, ProbesItsWorkPlaneFirstThenTheLineAndTheTileFollowsEveryPoint) {
  IPtr<IZelFeatureCollector> line = collector("LineCollector");
  ProbingRun& run = listen(line);
  EXPECT_EQ(featureName(), u"Line (Plane)");
  EXPECT_EQ(brief(), u"Probe points on the plane");
  EXPECT_EQ(pointsRequired(), 3);

  DeviceStream device(line.get());
  device.radius(.002);
  const std::u16string planeTexts[] = {u"Probe points on the plane", u"Probe points on the plane",
                                       u"Probe points on the plane or define the offset direction to finish",
                                       u"Probe points on the plane or define the offset direction to finish"};
  for (size_t i = 0; i < kPlaneTips.size(); ++i) {
    SCOPED_TRACE(i + 1);
    device.sample(kPlaneTips[i]);
    EXPECT_EQ(pointsTaken(), static_cast<int32_t>(i + 1));
    EXPECT_EQ(brief(), planeTexts[i]);
  }
  EXPECT_TRUE(base(line).sampledPoints().empty()) << "the plane child took the points";

  device.stop(kAbovePlane);
  EXPECT_EQ(run.heard(), (std::vector<std::string>{"AddedChildFeature", "UserInstructionsChanged"}));
  ASSERT_TRUE(queryPart<SimpleCollector>(line.get())->workPlane());
  EXPECT_FALSE(base(line).activeChild());
  EXPECT_EQ(featureName(), u"Line");
  EXPECT_EQ(pointsRequired(), 2);
  EXPECT_EQ(pointsTaken(), 0);
  EXPECT_EQ(brief(), u"Probe points on the line");

  device.sample({.02, .002, .01});
  EXPECT_EQ(brief(), u"Probe points on the line");
  EXPECT_EQ(pointsTaken(), 1);
  device.sample({.09, .002, .01});
  EXPECT_EQ(brief(), u"Probe points on the line or define the offset direction to finish");
  EXPECT_EQ(pointsTaken(), 2);
  EXPECT_EQ(base(line).sampledPoints().size(), 2u);
}

TEST_F(LineCollector, AStopWhileTheChildIsActiveIsKeptByTheParentToo) {
  IPtr<IZelFeatureCollector> line = collector("LineCollector");
  ProbingRun& run = listen(line);
  DeviceStream(line.get()).sample(kPlaneTips[0]).stop({1, 2, 3});
  EXPECT_EQ(base(line).stopPoint(), (Vector3{1, 2, 3}));
  EXPECT_EQ(run.heard(), std::vector<std::string>{"Stop"})
      << "the plane child refused with one point: the stop goes up for the utility to try";
  EXPECT_EQ(base(base(line).activeChild()).sampledPoints().size(), 1u) << "the refused points stay";
}

TEST_F(LineCollector, APickedPlaneSkipsProbingItAndASecondPlaneIsRefused) {
  IPtr<IZelFeatureCollector> line = collector("LineCollector");
  EXPECT_FALSE(line->acceptFeature(nullptr));
  IPtr<IZelPoint> point = made<IZelPoint>();
  EXPECT_FALSE(line->acceptFeature(queryPart<IZelFeature>(point.get())));
  EXPECT_TRUE(base(line).activeChild()) << "a point is no work plane";

  EXPECT_TRUE(line->acceptFeature(planeFeature({0, 0, 0}, {0, 0, 1}).get()));
  EXPECT_FALSE(base(line).activeChild());
  EXPECT_EQ(brief(), u"Probe points on the line");
  IZelPlane* held = queryPart<SimpleCollector>(line.get())->workPlane();
  EXPECT_FALSE(line->acceptFeature(planeFeature({0, 0, 1}, {0, 1, 0}).get()));
  EXPECT_EQ(queryPart<SimpleCollector>(line.get())->workPlane(), held);

  ProbingRun& run = listen(line);
  DeviceStream(base(line).children()[0].get()).sample(kPlaneTips).stop(kAbovePlane);
  EXPECT_TRUE(run.heard().empty()) << "the plane child is no longer active: its stop is not taken";
}

TEST_F(LineCollector, TheWorkPlaneOutlivesTheFeatureSoTheNextLineNeedsNoPlane) {
  IZelDocObject* target = addObject(u"TestObject");
  IPtr<IZelFeatureCollector> line = collector("LineCollector");
  ProbingRun& run = listen(line, target);
  DeviceStream device(line.get());
  device.radius(.002).sample(kPlaneTips).stop(kAbovePlane);
  device.sample({{.02, .002, .01}, {.09, .002, .01}}).stop({.05, .02, .01});
  device.sample({{.02, .052, .01}, {.09, .052, .01}}).stop({.05, .07, .01});
  EXPECT_EQ(run.addedNames(), (std::vector<std::u16string>{u"Line 1", u"Line 2"}));
  EXPECT_TRUE(base(line).sampledPoints().empty());
  EXPECT_FALSE(base(line).activeChild()) << "the line collects at once";
  auto* second = queryPart<IZelLine>(queryPart<IZelFeatureSubObject>(run.added()[1].get())->feature());
  ASSERT_TRUE(second);
  EXPECT_NEAR(second->start().z, 0.0, 1e-12) << "projected onto the kept work plane";
  EXPECT_NEAR(second->start().y, .05, 1e-12) << "compensated away from the stop point";
}

TEST_F(SimpleCollectors, OfferTheFinishingStepOnceTheirCreatorHasEnoughPoints) {
  struct Step {
    int32_t taken;
    std::u16string brief;
  };
  struct Case {
    const char* className;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {"PointCollector", {{1, u"Probe points or finish"}, {2, u"Probe points or finish"}}},
      {"MaxPointCollector", {{1, u"Probe points"}, {2, u"Probe points"}, {3, u"Probe points or finish"}}},
      {"MinPointCollector", {{2, u"Probe points"}, {3, u"Probe points or finish"}}},
      {"SurfacePointCollector", {{1, u"Probe points or finish"}}},
      {"SphereCollector",
       {{3, u"Probe points on the sphere"},
        {4, u"Probe points on the sphere or define the offset direction to finish"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.className);
    IPtr<IZelFeatureCollector> made = collector(c.className);
    // Collectors with a work plane take a picked one, so the points are their own.
    made->acceptFeature(planeFeature({0, 0, 0}, {0, 0, 1}).get());
    EXPECT_FALSE(base(made).activeChild());
    int32_t sampled = 0;
    for (const Step& step : c.steps) {
      for (; sampled < step.taken; ++sampled)
        DeviceStream(made.get()).sample({.01 * sampled, .02 * sampled, .001});
      EXPECT_EQ(pointsTaken(), step.taken);
      EXPECT_EQ(brief(), step.brief) << step.taken;
    }
  }
}

TEST_F(SimpleCollectors, TakeTheirTypeNamesAndFlagsFromTheirKind) {
  struct Case {
    const char* className;
    const char16_t* typeName;
    int32_t required;
    bool workPlaneChild;
    bool canFinish;
    bool statistics;
  };
  const Case cases[] = {
      {"LineCollector", u"Line", 2, true, true, true},
      {"PointCollector", u"Point", 1, false, false, false},
      {"PlaneCollector", u"Plane", 3, false, false, true},
      {"SurfacePointCollector", u"Point", 1, true, false, false},
      {"TargetPointCollector", u"Target Point", 1, true, false, false},
      {"MaxPointCollector", u"Point", 3, true, false, false},
      {"MinPointCollector", u"Point", 3, true, false, false},
      {"SphereCollector", u"Sphere", 4, false, false, true},
      {"ConeCollector", u"Cone", 7, false, false, true},
      {"ConstrainedConeCollector", u"Cone", 7, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.className);
    IPtr<IZelFeatureCollector> made = collector(c.className);
    EXPECT_EQ(text(made->typeName()), c.typeName);
    EXPECT_EQ(base(made).pointsRequired(), c.required);
    EXPECT_EQ(base(made).children().size(), c.workPlaneChild ? 1u : 0u);
    EXPECT_EQ(made->showFeatureStatistics(), c.statistics);
    // The plane child cannot finish; the collector itself answers its own flag once the plane is held.
    EXPECT_FALSE(made->canFinish());
    made->acceptFeature(planeFeature({0, 0, 0}, {0, 0, 1}).get());
    EXPECT_EQ(made->canFinish(), c.canFinish);
  }
}

TEST_F(SimpleCollectors, ATargetPointCollectorMakesATargetPointOnItsWorkPlane) {
  IZelDocObject* target = addObject(u"TestObject");
  IPtr<IZelFeatureCollector> made = collector("TargetPointCollector");
  ProbingRun& run = listen(made, target);
  DeviceStream(made.get())
      .radius(.002)
      .sample(kPlaneTips)
      .stop(kAbovePlane)
      .sample({.03, .04, .002})
      .stop(kAbovePlane);
  ASSERT_EQ(run.addedNames(), std::vector<std::u16string>{u"Target Point 1"});
  EXPECT_TRUE(queryPart<IZelTargetPoint>(queryPart<IZelFeatureSubObject>(run.added()[0].get())->feature()));
}

using CollectorInstructions = CollectorTest;

// The pictures the operator is shown, asked as the utility asks: through the instruction source, with the
// third picture.
int32_t picturesShown(const IPtr<IZelFeatureCollector>& collector) {
  IPtr<IZelUserInstructions> instructions;
  queryPart<IZelUserInstructionSource>(collector.get())->userInstructions(instructions, true);
  if (!instructions) return -1;
  for (int32_t i = 0; i < instructions->imageCount(); ++i) {
    EXPECT_EQ(instructions->image(i)->width(), 225u);
    EXPECT_EQ(instructions->image(i)->height(), 150u);
  }
  return instructions->imageCount();
}

TEST_F(CollectorInstructions, ShowTheActiveChildsPicturesWithoutItsThirdThenTheirOwn) {
  struct Case {
    const char* className;
    int32_t whileThePlaneIsProbed;  // -1: no instructions
    int32_t own;
  };
  const Case cases[] = {{"LineCollector", 2, 3},
                        {"PlaneCollector", 3, 3},
                        {"PointCollector", 2, 2},
                        {"SurfacePointCollector", 2, 3},
                        {"SphereCollector", 3, 3},
                        {"MaxPointCollector", 2, -1},
                        {"ConstrainedConeCollector", 2, -1},
                        {"ParallelPlanesCollector", 2, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.className);
    IPtr<IZelFeatureCollector> made = collector(c.className);
    EXPECT_EQ(picturesShown(made), c.whileThePlaneIsProbed);
    made->acceptFeature(planeFeature({0, 0, 0}, {0, 0, 1}).get());
    EXPECT_EQ(picturesShown(made), c.own);
  }
}

// After every point the utility asks again: the pictures follow the step (the work plane's, then the
// feature's own) and each collector decodes its pictures once.
TEST_F(CollectorInstructions, PicturesFollowTheStepAndAreNotDecodedAgainForEveryPoint) {
  IPtr<IZelFeatureCollector> made = collector("LineCollector");
  auto shown = [&] {
    IPtr<IZelUserInstructions> instructions;
    queryPart<IZelUserInstructionSource>(made.get())->userInstructions(instructions, true);
    return instructions;
  };
  auto pixels = [](IZelImage* image) {
    std::optional<DecodedImage> picture = queryPart<HostImage>(image)->picture();
    return picture ? picture->rgba : std::vector<uint8_t>();
  };
  IPtr<IZelUserInstructions> plane = shown();
  DeviceStream(made.get()).radius(.002).sample({.01, .02, .002});
  IPtr<IZelUserInstructions> planeAfterAPoint = shown();
  ASSERT_EQ(plane->imageCount(), 2);
  ASSERT_EQ(planeAfterAPoint->imageCount(), 2);
  for (int32_t i = 0; i < 2; ++i) EXPECT_EQ(plane->image(i), planeAfterAPoint->image(i)) << i;

  made->acceptFeature(planeFeature({0, 0, 0}, {0, 0, 1}).get());
  IPtr<IZelUserInstructions> line = shown();
  DeviceStream(made.get()).sample({.01, .02, .002});
  IPtr<IZelUserInstructions> lineAfterAPoint = shown();
  ASSERT_EQ(line->imageCount(), 3);
  ASSERT_EQ(lineAfterAPoint->imageCount(), 3);
  for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(line->image(i), lineAfterAPoint->image(i)) << i;
  for (int32_t i = 0; i < 2; ++i) EXPECT_NE(pixels(line->image(i)), pixels(plane->image(i))) << i;
}

TEST_F(SimpleCollectors, FillTheirCreatorsTableInOneOfTheFourProbingForms) {
  struct Case {
    const char* className;
    std::vector<std::u16string> keys;
  };
  const Case cases[] = {
      {"LineCollector", {u"<SampledPoints>", u"<StopPoint>", u"<ProbeRadius>", u"<WorkPlane>"}},
      {"MaxPointCollector", {u"<SampledPoints>", u"<StopPoint>", u"<ProbeRadius>", u"<WorkPlane>"}},
      {"PlaneCollector", {u"<SampledPoints>", u"<StopPoint>", u"<ProbeRadius>"}},
      {"SphereCollector", {u"<SampledPoints>", u"<StopPoint>", u"<ProbeRadius>"}},
      {"PointCollector", {u"<SampledPoints>"}},
      {"SurfacePointCollector", {u"<SampledPoints>", u"<WorkPlane>"}},
  };
  // On one sphere, which refuses touches that lie on none.
  const Points tips = {{.08, .05, .02}, {.05, .08, .02}, {.02, .05, .02}, {.05, .05, .05}, {.068, .05, .044}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.className);
    IPtr<IZelFeatureCollector> made = collector(c.className);
    made->acceptFeature(planeFeature({0, 0, 0}, {0, 0, 1}).get());
    DeviceStream(made.get()).radius(.002).sample(tips).stop({.05, .05, .5});
    ASSERT_TRUE(made->fillCreatorParameters());
    IPtr<IZelFeature> feature = made->takeFeature();
    std::vector<std::u16string> expected = c.keys;
    expected.push_back(u"<CompensatedPoints>");
    EXPECT_EQ(keysOf(recordedParameters(feature.get())), expected);
  }
}

}  // namespace
