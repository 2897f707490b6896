#include "commands/alignment/iterative/target_data.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using Target = PalperaIterativeAlignmentCmd::Target;

IPtr<Target> target(const Vector3& point, const Vector3& direction = {}) {
  IPtr<Target> made(new Target);
  made->point = point;
  made->direction = direction;
  return made;
}

// Nominal at the origin facing +z, tolerance 1 mm, a probe of 3 mm touching at (1 mm, 0, 0).
TargetData probedEntry(std::optional<Vector3> surface) {
  TargetData entry;
  entry.nominal = target({0, 0, 0}, {0, 0, 1});
  entry.measured = target({.001, 0, .003});
  if (surface) entry.surface = target(*surface);
  entry.tolerance = .001;
  entry.probeRadius = .003;
  return entry;
}

TEST(TargetDataTest, UnsetMarkerIsItsOwnValueAndATestedBand) {
  EXPECT_EQ(kUnsetValue, 3.4e38);
  EXPECT_TRUE(isUnset(3.399e38));
  EXPECT_TRUE(isUnset(3.401e38));
  EXPECT_FALSE(isUnset(3.398e38));
  EXPECT_FALSE(isUnset(3.402823466e38));  // the largest float is no unset marker
  TargetData fresh;
  EXPECT_TRUE(isUnset(fresh.alignErrorValue()));
  EXPECT_TRUE(isUnset(fresh.zoneDeviation));
  EXPECT_FALSE(fresh.isInTolerance());
}

TEST(TargetDataTest, DeviationSplitsAlongAndAcrossTheNominal) {
  struct Case {
    const char* name;
    std::optional<Vector3> surface;
    bool inTolerance;
    double zoneDeviation;
  };
  const Case cases[] = {
      {"touched on the zone's edge", Vector3{.001, 0, 0}, true, 0},
      {"touched half a millimetre outside", Vector3{.0015, 0, 0}, false, .0005},
      {"no surface point", std::nullopt, false, kUnsetValue},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TargetData entry = probedEntry(c.surface);
    entry.computeDeviation();
    EXPECT_EQ(entry.isInTolerance(), c.inTolerance);
    if (c.surface) {
      const double expected = (Vector3{.001, 0, .003} - *c.surface).length() - .003;
      EXPECT_NEAR(entry.alignErrorValue(), expected, 1e-15);
      EXPECT_NEAR(entry.zoneDeviation, c.zoneDeviation, 1e-15);
    } else {
      EXPECT_EQ(entry.alignErrorValue(), kUnsetValue);
      EXPECT_EQ(entry.zoneDeviation, kUnsetValue);
    }
  }
}

TEST(TargetDataTest, DeviationUsesTheMatrixAndTheNormalDistanceOnlyForTheAlignError) {
  TargetData entry = probedEntry(Vector3{.001, 0, 0});
  entry.measured->point = {0, 0, .0025};  // half a millimetre into the material once aligned
  entry.setMatrix(Matrix4x4::translation({.001, 0, 0}));
  entry.computeDeviation();
  EXPECT_NEAR(entry.alignErrorValue(), -.0005, 1e-15);
  EXPECT_TRUE(entry.isInTolerance());
  EXPECT_EQ(entry.zoneDeviation, 0);
}

TEST(TargetDataTest, ZeroNominalDirectionCountsTheWholeOffsetAsSideways) {
  TargetData entry = probedEntry(Vector3{0, 0, .002});
  entry.nominal->direction = {};
  entry.computeDeviation();
  EXPECT_FALSE(entry.isInTolerance());
  EXPECT_NEAR(entry.zoneDeviation, .001, 1e-15);
  // With the direction, the same offset lies along the normal and is no sideways offset at all.
  entry.nominal->direction = {0, 0, 1};
  entry.computeDeviation();
  EXPECT_TRUE(entry.isInTolerance());
}

TEST(TargetDataTest, DeviationAndResetClearTheLiveFlags) {
  TargetData entry = probedEntry(Vector3{.001, 0, 0});
  entry.setInZone(true);
  entry.setCurrent(true);
  entry.computeDeviation();
  EXPECT_FALSE(entry.inZone);
  EXPECT_FALSE(entry.isCurrent);
  entry.setInZone(true);
  entry.reset();
  EXPECT_FALSE(entry.inZone);
  EXPECT_FALSE(entry.isInTolerance());
  EXPECT_TRUE(isUnset(entry.alignErrorValue()));
}

TEST(TargetDataTest, CopiesShareTheirTargets) {
  TargetData entry = probedEntry(std::nullopt);
  TargetData copy = entry;
  EXPECT_EQ(copy.nominalTarget(), entry.nominalTarget());
  EXPECT_EQ(entry.nominal->refCount(), 2u);
}

TEST(TargetDataTest, ProbeDistancesMeasureTheContactPointPerEntry) {
  std::vector<TargetData> entries(2);
  entries[0].nominal = target({0, 0, 0}, {0, 0, 1});
  const std::vector<double> distances = probeDistances(entries, {0, 0, .003}, .003);
  ASSERT_EQ(distances.size(), 2u);
  EXPECT_EQ(distances[0], 0);
  EXPECT_EQ(distances[1], kUnsetValue);
  EXPECT_NEAR(probeDistances(entries, {.0004, 0, .003}, .003)[0], .0004, 1e-15);
}

}  // namespace
