#include <gtest/gtest.h>

#include <vector>

#include "commands/capture/capture_sampling.h"
#include "tests/commands/capture/capture_cmd_fixture.h"

namespace {

using CaptureView = CaptureTest;

// Points that stay within the box of the first ten, so that once framed they stay in view.
std::vector<Vector3> pointsInPlace(int count, double z) {
  std::vector<Vector3> points;
  for (int i = 0; i < count; ++i) points.push_back({(i % 10) * 0.01, (i % 3) * 0.01, z});
  return points;
}

TEST_F(CaptureView, AFirstPassFitsTheViewAtItsSeventyFifthPointThenOnlyPointsOutOfViewDo) {
  store().setDouble(nullptr, "Palpera/ProbeCapture/DistanceRate", 0);
  ASSERT_EQ(run(Cmd::kDistance), Start::kStarted);
  startCapture();
  const HostGenGfxService& gfx = host_.scene().genGfx();
  const int32_t before = gfx.fits();
  startPass();
  const std::vector<Vector3> points = pointsInPlace(80, 0);
  for (size_t i = 0; i < points.size(); ++i) {
    sample(points[i]);
    ASSERT_EQ(gfx.fits() - before, i + 1 >= 75 ? 1 : 0) << "after point " << i + 1;
  }
  sample({5, 0, 0});
  EXPECT_EQ(gfx.fits() - before, 2) << "a point out of view";
  stopPass();
  pass(pointsInPlace(80, 0.001));
  EXPECT_EQ(gfx.fits() - before, 2) << "a later pass in view";
}

TEST_F(CaptureView, SamplingThinsAFinishedPassToTheSpacing) {
  store().setInt(nullptr, "Palpera/ProbeCapture/Sampling", 1);
  store().setDouble(nullptr, "Palpera/ProbeCapture/Spacing", 0.001);
  store().setDouble(nullptr, "Palpera/ProbeCapture/DistanceRate", 0);
  ASSERT_EQ(run(Cmd::kDistance), Start::kStarted);
  startCapture();
  std::vector<Vector3> line;
  for (int i = 0; i < 1000; ++i) line.push_back({i * 0.0001, 0, 0});
  pass(line);
  const size_t kept = pointsIn(object(u"Scan 1")).size();
  EXPECT_GE(kept, 95u);
  EXPECT_LE(kept, 105u);
  EXPECT_EQ(host_.gui().busy().shown(), 1);
  EXPECT_EQ(host_.gui().busy().open(), 0);
  pass({{1, 0, 0}});
  EXPECT_EQ(pointsIn(object(u"Scan 2")).size(), 1u);
  EXPECT_EQ(host_.gui().busy().shown(), 1) << "a pass of one point is not sampled";
}

TEST_F(CaptureView, SamplingLeavesOnePointOfCoincidentOnesAndNothingWithoutASpacing) {
  IPtr<IZelPoints> points = createPointSet();
  ASSERT_TRUE(points);
  const double p[3] = {1, 2, 3};
  for (int i = 0; i < 50; ++i) points->appendPoint(p, 0, true);
  EXPECT_FALSE(samplePoints(points.get(), 0));
  EXPECT_FALSE(samplePoints(nullptr, 0.001));
  EXPECT_EQ(points->pointCount(), 50);
  EXPECT_TRUE(samplePoints(points.get(), 0.001));
  EXPECT_EQ(points->pointCount(), 1);
  EXPECT_EQ(points->state(), 0) << "closed again";
}

}  // namespace
