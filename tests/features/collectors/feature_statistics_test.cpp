#include <gtest/gtest.h>

#include <cmath>

#include "collector_fixture.h"
#include "features/feature_statistics.h"

namespace {

using LiveStatistics = CollectorTest;

TEST_F(LiveStatistics, MeasureTheTrialFeatureOfTheCollectedPointsWithoutRadius) {
  IPtr<IZelFeatureCollector> plane = collector("PlaneCollector");
  // A twisted square: the best plane is z = 0, each corner 1 mm off it, alternately above and below.
  const Points twisted = {{0, 0, .001}, {.1, 0, -.001}, {.1, .1, .001}, {0, .1, -.001}};
  DeviceStream(plane.get()).radius(.002).sample(twisted);
  plane->pushProbeRadius(0);
  ASSERT_TRUE(plane->fillCreatorParameters());
  IPtr<IZelFeature> trial = plane->takeFeature();
  plane->popProbeRadius();

  FeatureStatistics statistics;
  double negative = 9, positive = 9, deviation = 9;
  ASSERT_TRUE(statistics.evaluate(trial.get(), negative, positive, deviation));
  EXPECT_NEAR(negative, -.001, 1e-12);
  EXPECT_NEAR(positive, .001, 1e-12);
  EXPECT_NEAR(deviation, std::sqrt(4e-6 / 3), 1e-12);
}

TEST_F(LiveStatistics, AFeatureWithoutProbingRecordOrNoFeatureGivesNothing) {
  FeatureStatistics statistics;
  double negative = 9, positive = 9, deviation = 9;
  EXPECT_FALSE(statistics.evaluate(planeFeature({0, 0, 0}, {0, 0, 1}).get(), negative, positive, deviation));
  EXPECT_FALSE(statistics.evaluate(nullptr, negative, positive, deviation));
  EXPECT_EQ(negative + positive + deviation, 27);
}

}  // namespace
