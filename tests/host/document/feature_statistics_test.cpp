#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host_api/feature_statistics.h"
#include "support/module_fixture.h"
#include "tests/host/document/made_feature.h"

namespace {

struct Statistics {
  double negative = -7, positive = -7, deviation = -7;  // what the evaluator must leave when it refuses
};

// The evaluator as the feature-probing utility calls it: the points in an array of 6 doubles an entry made
// by the host, and a selection of entry numbers from 1.
class FeatureStatistics : public ModuleTest {
 protected:
  bool evaluate(IZelFeature* feature, const std::vector<Vector3>& points, const std::vector<int32_t>& chosen,
                Statistics& out) {
    IPtr<RealPArray> array = pointArray(points);
    IPtr<BitVector> selection(new BitVector(10));
    for (int32_t i : chosen) selection->set(i);
    return SPtr<IZelFeatureStatisticsEvaluator>()->evaluate(feature, array.get(), out.negative, out.positive,
                                                            out.deviation, selection.get());
  }
};

IPtr<IZelFeature> horizontalPlane() {
  return feature<IZelPlane>([](IZelPlane* p) { p->setPlane({0, 0, 0}, {0, 0, 1}, {1, 0, 0}, 0, 0); });
}

const double kRootTwo = std::sqrt(2.0);

TEST_F(FeatureStatistics, PointsAMillimetreEitherSideOfAPlaneOverTheSelectionOnly) {
  IPtr<IZelFeature> plane = horizontalPlane();
  Statistics s;
  // Entry 2 lies far off and is not selected; bit 9 lies beyond the array and is ignored.
  ASSERT_TRUE(evaluate(plane.get(), {{0, 0, 0.001}, {0, 0, 5}, {1, 1, -0.001}}, {1, 3, 9}, s));
  EXPECT_DOUBLE_EQ(s.negative, -0.001);
  EXPECT_DOUBLE_EQ(s.positive, 0.001);
  EXPECT_DOUBLE_EQ(s.deviation, 0.001 * kRootTwo) << "about the mean, n - 1 in the denominator";
}

// Each kind's distances have the sign of outside: the first point lies 1 mm inside (1 mm off a line, which
// has no inside), the second 3 mm outside.
TEST_F(FeatureStatistics, EachKindMeasuresSignedDistancesOutsidePositive) {
  struct Case {
    const char* kind;
    IPtr<IZelFeature> feature;
    std::vector<Vector3> points;
    double negative = -0.001;
  };
  const Case cases[] = {
      {"sphere",
       feature<IZelSphere>([](IZelSphere* s) {
         s->setCenter({1, 1, 1}), s->setRadius(0.01);
       }),
       {{1.009, 1, 1}, {1, 1, 0.987}}},
      {"circle",
       feature<IZelArc>([](IZelArc* a) {
         a->setCenter({0, 0, 0}), a->setNormal({0, 0, 2}), a->setRadius(0.01);
       }),
       {{0, 0.009, 0.5}, {-0.013, 0, 0}}},
      {"cylinder",
       feature<IZelCylinder>([](IZelCylinder* c) {
         c->redefine({0, 0, 0}, {0, 0, 0.1}, 0.01, {1, 0, 0}, nullptr, nullptr, nullptr);
       }),
       {{0.009, 0, 0.05}, {0, -0.013, 0.2}}},
      {"cone 45 degrees",
       feature<IZelCone>([](IZelCone* c) {
         c->redefine({0, 0, 0}, {0, 0, 0.1}, 0.0, 0.1, {1, 0, 0}, nullptr, nullptr, nullptr);
       }),
       {{0.05 - 0.001 * kRootTwo, 0, 0.05}, {0.05 + 0.003 * kRootTwo, 0, 0.05}}},
      {"cone given its wide end first",
       feature<IZelCone>([](IZelCone* c) {
         c->redefine({0, 0, 0.1}, {0, 0, 0}, 0.1, 0.0, {1, 0, 0}, nullptr, nullptr, nullptr);
       }),
       {{0.05 - 0.001 * kRootTwo, 0, 0.05}, {0.05 + 0.003 * kRootTwo, 0, 0.05}}},
      {"parallel planes",
       feature<IZelParallelPlanes>([](IZelParallelPlanes* p) {
         p->setPlanes({0, 0, 0}, {0, 1, 0}, {1, 0, 0}, 0.02, {1, 1, 1}, {0, 0, 0});
       }),
       {{0, 0.009, 0}, {0, -0.013, 0}}},
      {"line",
       feature<IZelLine>([](IZelLine* l) {
         l->setLine({0, 0, 0}, {1, 0, 0}, 0, 0);
       }),
       {{5, 0.001, 0}, {-1, 0, -0.003}},
       0.0},
  };
  for (const Case& c : cases) {
    Statistics s;
    ASSERT_TRUE(evaluate(c.feature.get(), c.points, {1, 2}, s)) << c.kind;
    EXPECT_NEAR(s.negative, c.negative, 1e-12) << c.kind;
    EXPECT_NEAR(s.positive, 0.003, 1e-12) << c.kind;
  }
}

TEST_F(FeatureStatistics, RefusesWhatGivesNoDistancesAndWritesNothing) {
  IPtr<IZelFeature> plane = horizontalPlane();
  IPtr<IZelFeature> slot =
      feature<IZelOvalSlot>([](IZelOvalSlot* s) { s->setLength(0.03), s->setWidth(0.01); });
  IPtr<IZelFeature> stray = feature<IZelSphere>([](IZelSphere* s) { s->setRadius(NAN); });
  IPtr<IZelFeature> dot = feature<IZelLine>([](IZelLine* l) { l->setLine({1, 1, 1}, {1, 1, 1}, 0, 0); });
  const double huge = std::numeric_limits<double>::max();
  struct Case {
    const char* why;
    IZelFeature* feature;
    std::vector<Vector3> points;
    std::vector<int32_t> chosen;
  };
  const Case cases[] = {
      {"no feature", nullptr, {{0, 0, 1}}, {1}},
      {"nothing selected", plane.get(), {{0, 0, 1}}, {}},
      {"a selected point not finite", plane.get(), {{0, 0, 1}, {0, 0, NAN}}, {1, 2}},
      {"a deviation beyond any double", plane.get(), {{0, 0, huge}, {0, 0, -huge}}, {1, 2}},
      {"a feature value not finite", stray.get(), {{0, 0, 1}}, {1}},
      {"a slot", slot.get(), {{0, 0, 1}}, {1}},
      {"a line whose ends coincide", dot.get(), {{0, 0, 1}}, {1}},
  };
  for (const Case& c : cases) {
    Statistics s;
    EXPECT_FALSE(evaluate(c.feature, c.points, c.chosen, s)) << c.why;
    EXPECT_EQ(s.negative + s.positive + s.deviation, -21) << c.why;
  }
}

}  // namespace
