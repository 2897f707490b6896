#include <gtest/gtest.h>

#include <cmath>

#include "collector_fixture.h"
#include "features/collectors/quick_probe_slot_collectors.h"
#include "features/compensated_points.h"
#include "tests/features/probe_ball.h"

namespace {

using QuickProbeSlots = CollectorTest;

// A nominal slot of that kind along +x about the origin, its width along +y.
template <class Slot>
IPtr<IZelFeature> nominal(double length, double width, double cornerDiameter = 0) {
  IPtr<Slot> slot = made<Slot>();
  slot->setCenter({0, 0, 0});
  slot->setLength(length);
  slot->setWidth(width);
  slot->setAxis({1, 0, 0});
  slot->setSecondDirection({0, 1, 0});
  if constexpr (std::is_same_v<Slot, IZelRoundedSlot>) slot->setCornerDiameter(cornerDiameter);
  return IPtr<IZelFeature>(queryPart<IZelFeature>(slot.get()));
}

// A quick-probe collector seeded and set up as the quick-probe command does, on the face z = 0.
template <class Collector>
IPtr<Collector> seeded(IZelFeature* slot) {
  IPtr<Collector> made(new Collector);
  EXPECT_TRUE(made->seedFromNominal(slot));
  made->refreshInfo();
  made->setProbeRadius(kProbe);
  EXPECT_TRUE(made->acceptFeature(planeFeature({0, 0, 0}, kUp).get()));
  return made;
}

// The same, as the collector all three share.
template <class Collector>
IPtr<QuickProbeSlotCollector> quick(const IPtr<IZelFeature>& slot) {
  return IPtr<QuickProbeSlotCollector>(seeded<Collector>(slot.get()).get());
}

std::vector<size_t> pointsPerComponent(const QuickProbeSlotCollector& collector) {
  std::vector<size_t> counts;
  for (const IPtr<IZelFeatureCollector>& component : collector.componentCollectors())
    counts.push_back(queryPart<FeatureCollectorBase>(component.get())->sampledPoints().size());
  return counts;
}

// Tip centres 3 mm below the face on the arc of that radius about centre, at the angles in degrees.
Points arcTips(const Vector3& centre, double radius, std::initializer_list<double> degrees) {
  Points tips;
  for (double degree : degrees) {
    const double angle = degree * M_PI / 180;
    tips.push_back(centre + Vector3{radius * std::cos(angle), radius * std::sin(angle), -.003});
  }
  return tips;
}

TEST_F(QuickProbeSlots, AreSeededWithTheNominalComponentsInTheirOrder) {
  IPtr<IZelFeature> oval = nominal<IZelOvalSlot>(.05, .01);
  IPtr<QuickProbeOvalSlotCollector> ovalCollector = seeded<QuickProbeOvalSlotCollector>(oval.get());
  ASSERT_EQ(ovalCollector->freeSidePoints().size(), 2u);
  expectClose(ovalCollector->freeSidePoints()[0], {.02, 0, 0}, 1e-15);
  expectClose(ovalCollector->freeSidePoints()[1], {-.02, 0, 0}, 1e-15);

  IPtr<QuickProbeRectangularSlotCollector> rectangular =
      seeded<QuickProbeRectangularSlotCollector>(nominal<IZelRectangularSlot>(.04, .01).get());
  const Vector3 corners[] = {{.02, .005, 0}, {.02, -.005, 0}, {-.02, -.005, 0}, {-.02, .005, 0}};
  ASSERT_EQ(rectangular->nominalEdges().size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i + 1);
    expectClose(rectangular->nominalEdges()[i]->start(), corners[i], 1e-15);
    expectClose(rectangular->nominalEdges()[i]->end(), corners[(i + 1) % 4], 1e-15);
    expectClose(rectangular->freeSidePoints()[i], {0, 0, 0}, 1e-15);  // the slot's centre
  }

  IPtr<QuickProbeRoundedSlotCollector> rounded =
      seeded<QuickProbeRoundedSlotCollector>(nominal<IZelRoundedSlot>(.04, .02, .006).get());
  const Vector3 cornerCentres[] = {{.017, .007, 0}, {-.017, .007, 0}, {-.017, -.007, 0}, {.017, -.007, 0}};
  ASSERT_EQ(rounded->freeSidePoints().size(), 4u);
  for (size_t i = 0; i < 4; ++i) expectClose(rounded->freeSidePoints()[i], cornerCentres[i], 1e-15);

  IPtr<QuickProbeOvalSlotCollector> other(new QuickProbeOvalSlotCollector);
  EXPECT_FALSE(other->seedFromNominal(nominal<IZelRoundedSlot>(.04, .02, .006).get())) << "not an oval slot";
  EXPECT_TRUE(other->freeSidePoints().empty());
  EXPECT_EQ(text(ovalCollector->briefInstructions()), u"Probe points on the slot");
  EXPECT_EQ(text(rectangular->briefInstructions()), u"Probe points on the slot");
  EXPECT_EQ(queryPart<QuickProbeRoundedSlotCollector>(rounded.get()), rounded.get());
  EXPECT_EQ(queryPart<FeatureCollectorBase>(rounded.get()), rounded.get());
}

TEST_F(QuickProbeSlots, SendEachPointToTheNearestNominalComponentAndKeepNoneThemselves) {
  struct Case {
    const char* kind;
    IPtr<QuickProbeSlotCollector> collector;
    Points points;
    std::vector<size_t> expected;
  };
  const Case cases[] = {
      {"oval, a tie goes to the second circle",
       quick<QuickProbeOvalSlotCollector>(nominal<IZelOvalSlot>(.05, .01)),
       {{0, .004, 0}},
       {0, 1}},
      {"oval",
       quick<QuickProbeOvalSlotCollector>(nominal<IZelOvalSlot>(.05, .01)),
       {{.024, 0, 0}, {.001, .004, 0}, {-.001, -.004, 0}},
       {2, 1}},
      {"rectangular, a tie goes to the first edge",
       quick<QuickProbeRectangularSlotCollector>(nominal<IZelRectangularSlot>(.04, .01)),
       {{.02, .005, 0}, {0, -.004, 0}, {-.019, 0, 0}, {.01, .006, 0}, {-.02, -.005, 0}},
       {1, 2, 1, 1}},
      {"rounded",
       quick<QuickProbeRoundedSlotCollector>(nominal<IZelRoundedSlot>(.04, .02, .006)),
       {{.018, .008, 0}, {-.016, -.006, 0}, {-.016, -.006, 0}, {0, 0, 0}},
       {2, 0, 2, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    DeviceStream(c.collector.get()).sample(c.points);
    EXPECT_EQ(pointsPerComponent(*c.collector), c.expected);
    EXPECT_TRUE(c.collector->sampledPoints().empty());
  }
}

// Quick Probe's undo: each point taken back from the component it went to, newest first, down to none.
TEST_F(QuickProbeSlots, TakeBackTheLastPointFromTheComponentItWentTo) {
  IPtr<QuickProbeSlotCollector> collector =
      quick<QuickProbeRoundedSlotCollector>(nominal<IZelRoundedSlot>(.04, .02, .006));
  DeviceStream(collector.get()).sample({{.018, .008, 0}, {-.016, -.006, 0}, {.018, .008, 0}});
  ASSERT_EQ(pointsPerComponent(*collector), (std::vector<size_t>{2, 0, 1, 0}));
  for (const std::vector<size_t>& left : {std::vector<size_t>{1, 0, 1, 0}, {1, 0, 0, 0}, {0, 0, 0, 0}}) {
    EXPECT_TRUE(collector->deleteLastPoint());
    EXPECT_EQ(pointsPerComponent(*collector), left);
  }
  EXPECT_FALSE(collector->deleteLastPoint());
}

TEST_F(QuickProbeSlots, RefuseASecondPlaneAndFinishNothingWithoutEveryComponent) {
  IPtr<IZelFeature> oval = nominal<IZelOvalSlot>(.05, .01);
  IPtr<QuickProbeOvalSlotCollector> unplaned(new QuickProbeOvalSlotCollector);
  unplaned->seedFromNominal(oval.get());
  EXPECT_FALSE(unplaned->fillCreatorParameters()) << "no component collector before the plane";
  EXPECT_FALSE(unplaned->acceptFeature(arcFeature({0, 0, 0}, .005).get()));
  EXPECT_FALSE(unplaned->slotCollector());

  IPtr<QuickProbeOvalSlotCollector> collector = seeded<QuickProbeOvalSlotCollector>(oval.get());
  IZelFeatureCollector* slot = collector->slotCollector();
  EXPECT_FALSE(collector->acceptFeature(planeFeature({0, 0, 1}, kUp).get()));
  EXPECT_EQ(collector->slotCollector(), slot) << "built once";

  DeviceStream(collector.get()).sample(arcTips({.02, 0, 0}, .003, {-60, 0, 60})).stop({0, 0, .05});
  EXPECT_EQ(pointsPerComponent(*collector), (std::vector<size_t>{3, 0}));
  EXPECT_FALSE(collector->fillCreatorParameters()) << "the other end has no points";
  EXPECT_FALSE(collector->takeFeature());
  collector->reset();
  EXPECT_EQ(pointsPerComponent(*collector), (std::vector<size_t>{0, 0}));
}

TEST_F(QuickProbeSlots, AQuickProbedSlotIsTheTrueSlotCompensatedAndTheNextStartsAtOnce) {
  struct Case {
    const char* kind;
    IPtr<QuickProbeSlotCollector> collector;
    Points tips;  // probe-tip centres, 2 mm off the wall
    double length, width;
  };
  const double inset = .018;  // a rectangular slot's end wall less the radius
  Points rectangularTips = {{inset, -.002, -.003}, {inset, .002, -.003},  {.01, -.003, -.003},
                            {-.01, -.003, -.003},  {-inset, .002, -.003}, {-inset, -.002, -.003},
                            {-.01, .003, -.003},   {.01, .003, -.003}};
  Points ovalTips = arcTips({.02, 0, 0}, .003, {-60, 0, 60});
  for (const Vector3& tip : arcTips({-.02, 0, 0}, .003, {120, 180, 240})) ovalTips.push_back(tip);
  Points roundedTips;
  const double quarters[] = {0, 90, 180, 270};
  const Vector3 corners[] = {{.017, .007, 0}, {-.017, .007, 0}, {-.017, -.007, 0}, {.017, -.007, 0}};
  for (size_t i = 0; i < 4; ++i)
    for (const Vector3& tip :
         arcTips(corners[i], .001, {quarters[i] + 10, quarters[i] + 45, quarters[i] + 80}))
      roundedTips.push_back(tip);
  const Case cases[] = {
      {"oval", quick<QuickProbeOvalSlotCollector>(nominal<IZelOvalSlot>(.05, .01)), ovalTips, .05, .01},
      {"rectangular", quick<QuickProbeRectangularSlotCollector>(nominal<IZelRectangularSlot>(.04, .01)),
       rectangularTips, .04, .01},
      {"rounded", quick<QuickProbeRoundedSlotCollector>(nominal<IZelRoundedSlot>(.04, .02, .006)),
       roundedTips, .04, .02},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    ProbingRun& run = listen(IPtr<IZelFeatureCollector>(c.collector.get()));
    for (int round = 1; round <= 2; ++round) {
      SCOPED_TRACE(round);
      // The operator's stop point lies off the slot's middle, outside every end circle.
      DeviceStream(c.collector.get()).sample(c.tips).stop({0, 0, .05});
      EXPECT_EQ(run.heard(), std::vector<std::string>{"Stop"});
      ASSERT_TRUE(c.collector->fillCreatorParameters());
      // One more point, and the slot made again holds it.
      DeviceStream(c.collector.get()).sample(c.tips.front());
      ASSERT_TRUE(c.collector->fillCreatorParameters());
      IPtr<IZelFeature> made = c.collector->takeFeature();
      EXPECT_EQ(getCompensatedPoints(made.get()).value_or(PointList{}).size(), c.tips.size() + 1);
      c.collector->reset();
      auto* slot = queryPart<IZelSlotOutline>(made.get());
      ASSERT_TRUE(slot);
      EXPECT_NEAR(slot->length(), c.length, 1e-9);
      EXPECT_NEAR(slot->width(), c.width, 1e-9);
      expectClose(slot->center(), {0, 0, 0});
      if (auto* rounded = queryPart<IZelRoundedSlot>(made.get())) {
        EXPECT_NEAR(rounded->cornerDiameter(), .006, 1e-9);
      }
    }
  }
}

}  // namespace
