#include "commands/measure/section_crossings.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Crossing {
  int32_t plane;
  double x;
};

// The planes x = 1 and x = 2, as sections 1 and 2.
SectionCrossings acrossTwoPlanes() {
  SectionPlaneList planes;
  planes.append({1, 0, 0, 1});
  planes.append({1, 0, 0, 2});
  SectionCrossings crossings;
  crossings.setPlanes(planes);
  return crossings;
}

std::vector<Crossing> walk(SectionCrossings& crossings, const std::vector<Vector3>& path) {
  std::vector<Crossing> found;
  for (const Vector3& p : path) {
    crossings.add(p, [&](int32_t plane, const Vector3& x) { found.push_back({plane, x.x}); });
  }
  return found;
}

TEST(SectionCrossings, AStepThatChangesSidesGivesThePointOnThePlane) {
  struct Case {
    const char* name;
    std::vector<Vector3> path;
    std::vector<Crossing> expected;
  };
  const std::vector<Case> cases = {
      {"one step over both planes, lowest first", {{0, 0, 0}, {3, 0, 0}}, {{1, 1.0}, {2, 2.0}}},
      {"backwards over both", {{3, 0, 0}, {0, 0, 0}}, {{1, 1.0}, {2, 2.0}}},
      {"touching from the negative side crosses twice",
       {{0, 0, 0}, {1, 0, 0}, {0, 0, 0}},
       {{1, 1.0}, {1, 1.0}}},
      {"touching from the positive side crosses nothing", {{1.5, 0, 0}, {1, 0, 0}, {1.5, 0, 0}}, {}},
      {"ending on the plane, then leaving to the negative side",
       {{1.5, 0, 0}, {1, 0.2, 0}, {0, 0.2, 0}},
       {{1, 1.0}}},
      {"a step of zero length", {{0.5, 0, 0}, {0.5, 0, 0}}, {}},
      {"a step along the plane", {{1, 0, 0}, {1, 5, 0}, {1, 0, 3}}, {}},
      {"the first position alone", {{5, 0, 0}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SectionCrossings crossings = acrossTwoPlanes();
    const std::vector<Crossing> found = walk(crossings, c.path);
    ASSERT_EQ(found.size(), c.expected.size());
    for (size_t i = 0; i < found.size(); ++i) {
      EXPECT_EQ(found[i].plane, c.expected[i].plane) << i;
      EXPECT_NEAR(found[i].x, c.expected[i].x, 1e-12) << i;
    }
  }
}

TEST(SectionCrossings, ARestartedPathIsNotJoinedToTheOldOne) {
  SectionCrossings crossings = acrossTwoPlanes();
  EXPECT_TRUE(walk(crossings, {{0, 0, 0}, {0.5, 0, 0}}).empty());
  crossings.restart();
  EXPECT_TRUE(walk(crossings, {{1.5, 0, 0}}).empty()) << "would cross x = 1 if joined";
  EXPECT_EQ(walk(crossings, {{2.5, 0, 0}}).size(), 1u);
}

TEST(SectionCrossings, ALongSweepPastTheWindowKeepsJoiningTheLastTwoPositions) {
  SectionCrossings crossings = acrossTwoPlanes();
  std::vector<Vector3> path;
  for (int i = 0; i < 40; ++i) path.push_back({i % 2 == 0 ? 0.5 : 1.5, 0.01 * i, 0});
  const std::vector<Crossing> found = walk(crossings, path);
  ASSERT_EQ(found.size(), 39u);
  for (const Crossing& crossing : found) {
    EXPECT_EQ(crossing.plane, 1);
    EXPECT_NEAR(crossing.x, 1.0, 1e-12);
  }
}

TEST(SectionCrossings, ThePointIsWhereTheStepMeetsAnOutOfAxisPlane) {
  SectionPlaneList planes;
  planes.append({0, 0, 2, 1});  // z = 0.5, with a normal not of unit length
  SectionCrossings crossings;
  crossings.setPlanes(planes);
  std::vector<Vector3> found;
  crossings.add({0, 0, 0}, [&](int32_t, const Vector3& x) { found.push_back(x); });
  crossings.add({1, 2, 1}, [&](int32_t, const Vector3& x) { found.push_back(x); });
  ASSERT_EQ(found.size(), 1u);
  EXPECT_NEAR(found[0].x, 0.5, 1e-12);
  EXPECT_NEAR(found[0].y, 1.0, 1e-12);
  EXPECT_NEAR(found[0].z, 0.5, 1e-12);
}

}  // namespace
