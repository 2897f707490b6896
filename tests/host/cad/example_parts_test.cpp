// The example parts under examples/parts: what the generator writes today, and what the kernel reads of them.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <set>

#include "host/cad/brep_model.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

using Kind = BrepModel::SurfaceKind;

const std::string kPartsDir = std::string(PALPERA_TEST_SOURCE_DIR) + "/../examples/parts/";

std::shared_ptr<const BrepModel> part(const std::string& name) {
  return readStepModel(kPartsDir + name + ".step").model;
}

// The groups of the faces of one kind, each as its sorted faces.
std::set<std::vector<uint32_t>> groupsOf(const BrepModel& model, Kind kind) {
  std::set<std::vector<uint32_t>> groups;
  for (uint32_t face = 1; face <= model.faceCount(); ++face) {
    if (model.surface(face).kind == kind) groups.insert(model.sameSurfaceFaces(face));
  }
  return groups;
}

// The distance of point p from the line through origin along the unit axis.
double offAxis(const BrepModel::Point& p, const BrepModel::Point& origin, const BrepModel::Point& axis) {
  const double d[3] = {p[0] - origin[0], p[1] - origin[1], p[2] - origin[2]};
  const double c[3] = {d[1] * axis[2] - d[2] * axis[1], d[2] * axis[0] - d[0] * axis[2],
                       d[0] * axis[1] - d[1] * axis[0]};
  return std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
}

}  // namespace

TEST(ExampleParts, FilesHoldWhatTheGeneratorWrites) {
  ScratchDirectory scratch;
  ASSERT_EQ(std::system((std::string(PALPERA_PARTS_TOOL) + " '" + scratch.system() + "'").c_str()), 0);
  size_t count = 0;
  for (const auto& written : std::filesystem::directory_iterator(scratch.system())) {
    SCOPED_TRACE(written.path().filename().string());
    EXPECT_EQ(readFile(written.path()), readFile(kPartsDir + written.path().filename().string()));
    ++count;
  }
  EXPECT_EQ(count, 21u);
}

TEST(ExampleParts, EveryPartDeclaresTheMetresItsNumbersAreIn) {
  size_t count = 0;
  for (const auto& file : std::filesystem::directory_iterator(kPartsDir)) {
    if (file.path().extension() != ".step") continue;
    SCOPED_TRACE(file.path().filename().string());
    const std::string text = readFile(file.path());
    EXPECT_NE(text.find("( LENGTH_UNIT() NAMED_UNIT(*) SI_UNIT($,.METRE.) )"), std::string::npos);
    EXPECT_EQ(text.find(".MILLI."), std::string::npos);
    EXPECT_EQ(readStepModel(file.path().string()).lengthUnits, "metre");
    ++count;
  }
  EXPECT_EQ(count, 21u);
}

// The writer's declared unit and its numbers agree: what it writes reads back at the part's size, whatever
// the shipped files hold.
TEST(ExampleParts, APartWrittenAndReadBackHasItsDocumentedSize) {
  const std::map<std::string, BrepModel::Point> sizes = {
      {"plate-bolt-circle", {0.12, 0.12, 0.01}},
      {"plate-bore-boss", {0.12, 0.08, 0.025}},
      {"plate-bore-slot", {0.12, 0.08, 0.01}},
      {"plate-bore", {0.1, 0.08, 0.01}},
      {"plate-boss", {0.1, 0.08, 0.025}},
      {"plate-countersink", {0.1, 0.08, 0.01}},
      {"plate-freeform-boss", {0.1, 0.08, 0.025}},
      {"plate-oval-slot", {0.1, 0.08, 0.01}},
      {"plate-pocket", {0.1, 0.08, 0.01}},
      {"plate-rectangular-slot", {0.1, 0.08, 0.01}},
      {"plate-rounded-slot", {0.1, 0.08, 0.01}},
      {"sphere-on-stand", {0.04, 0.04, 0.045}},
      {"wide-shaft-cone", {0.6, 0.3, 0.07}},
      {"plate-shaft-bore", {0.12, 0.125, 0.06}},
      {"plate-countersinks", {0.12, 0.06, 0.01}},
      {"plate-filleted-rail", {0.1, 0.06, 0.02}},
      {"plate-chamfer", {0.1, 0.08, 0.01}},
      {"workpiece-leaning-sides", {0.1, 0.08, 0.02}},
      {"workpiece-welded-bracket", {0.1, 0.06, 0.065}},
      {"workpiece-leaning-caps", {0.12, 0.08, 0.04 + 0.007 * std::tan(19 * M_PI / 180)}},
      {"turned-cap", {0.05, 0.05, 0.026}},
  };
  ScratchDirectory scratch;
  ASSERT_EQ(std::system((std::string(PALPERA_PARTS_TOOL) + " '" + scratch.system() + "'").c_str()), 0);
  for (const auto& [name, size] : sizes) {
    SCOPED_TRACE(name);
    const StepModel read = readStepModel(scratch.system(name + ".step"));
    EXPECT_EQ(read.lengthUnits, "metre");
    const auto [low, high] = read.model->bounds();
    // The free-form boss's surface bulges a fraction of a micrometre past its nominal box.
    for (size_t axis = 0; axis < 3; ++axis) EXPECT_NEAR(high[axis] - low[axis], size[axis], 1e-6);
  }
}

TEST(ExampleParts, FacesHaveTheDocumentedSurfaces) {
  struct Expected {
    std::string name;
    Kind kind;
    size_t groups;  // groups of faces of that kind
    double radius;  // the nominal radius of each
  };
  const Expected table[] = {
      {"plate-bore", Kind::cylinder, 1, 0.01},
      {"plate-boss", Kind::cylinder, 1, 0.015},
      {"plate-oval-slot", Kind::cylinder, 2, 0.006},
      {"plate-rounded-slot", Kind::cylinder, 4, 0.004},
      {"plate-countersink", Kind::cone, 1, 0.004},
      {"sphere-on-stand", Kind::sphere, 1, 0.015},
      {"plate-bolt-circle", Kind::cylinder, 6, 0.004},
      {"wide-shaft-cone", Kind::cylinder, 1, 0.127},
      {"wide-shaft-cone", Kind::cone, 1, 0.127},
      {"plate-countersinks", Kind::cone, 2, 0.004},
      {"plate-filleted-rail", Kind::cylinder, 2, 0.003679},
      {"turned-cap", Kind::cylinder, 1, 0.025},
  };
  // A bore beside a boss or a slot on one plate, or in a shaft's end: each cylinder group of its own radius,
  // the slot's two ends alike.
  for (const auto& [name, expected] :
       {std::pair{"plate-bore-boss", std::multiset<double>{0.01, 0.015}},
        {"plate-bore-slot", std::multiset<double>{0.006, 0.006, 0.01}},
        {"plate-shaft-bore", std::multiset<double>{0.005, 0.0365125, 0.046482}}}) {
    SCOPED_TRACE(name);
    std::shared_ptr<const BrepModel> model = part(name);
    std::multiset<double> radii;
    for (const std::vector<uint32_t>& group : groupsOf(*model, Kind::cylinder))
      radii.insert(model->surface(group.front()).radius);
    ASSERT_EQ(radii.size(), expected.size());
    for (auto r = radii.begin(), e = expected.begin(); r != radii.end(); ++r, ++e) EXPECT_NEAR(*r, *e, 1e-12);
  }
  for (const Expected& e : table) {
    SCOPED_TRACE(e.name);
    std::shared_ptr<const BrepModel> model = part(e.name);
    const std::set<std::vector<uint32_t>> groups = groupsOf(*model, e.kind);
    EXPECT_EQ(groups.size(), e.groups);
    for (const std::vector<uint32_t>& group : groups) {
      for (uint32_t face : group) EXPECT_NEAR(model->surface(face).radius, e.radius, 1e-12);
    }
  }
}

TEST(ExampleParts, BoreIsOneCylinderOfTheDocumentedAxisAndDiameter) {
  std::shared_ptr<const BrepModel> model = part("plate-bore");
  const std::set<std::vector<uint32_t>> bore = groupsOf(*model, Kind::cylinder);
  ASSERT_EQ(bore.size(), 1u);
  for (uint32_t face : *bore.begin()) {
    const BrepModel::Surface& s = model->surface(face);
    EXPECT_NEAR(2 * s.radius, 0.02, 1e-9);
    EXPECT_NEAR(std::abs(s.axis[2]), 1.0, 1e-9);
    EXPECT_NEAR(offAxis({0.05, 0.04, 0}, s.origin, s.axis), 0.0, 1e-9);
  }
  // Top and bottom, each with the bore through it, and the four sides: six planes, none sharing a surface.
  EXPECT_EQ(groupsOf(*model, Kind::plane).size(), 6u);
}

TEST(ExampleParts, EdgesJoinTheirTwoFacesAlongTheirCurves) {
  std::shared_ptr<const BrepModel> model = part("plate-oval-slot");
  std::map<BrepModel::CurveKind, int> kinds;
  for (uint32_t edge = 1; edge <= model->edgeCount(); ++edge) {
    SCOPED_TRACE(edge);
    const BrepModel::Curve& curve = model->curve(edge);
    ++kinds[curve.kind];
    const std::array<uint32_t, 2> faces = model->edgeFaces(edge);
    EXPECT_GE(faces[0], 1u);
    EXPECT_GE(faces[1], 1u);
    const std::vector<BrepModel::Point> line = model->polyline(edge, 8);
    ASSERT_EQ(line.size(), 9u);
    for (size_t k = 0; k < 3; ++k) {
      EXPECT_NEAR(line.front()[k], curve.start[k], 1e-12);
      EXPECT_NEAR(line.back()[k], curve.end[k], 1e-12);
    }
    // Every point of an edge lies on both of its faces.
    for (uint32_t face : faces) {
      std::optional<BrepModel::FacePoint> on = model->closestOnFace(face, line[4]);
      ASSERT_TRUE(on);
      for (size_t k = 0; k < 3; ++k) EXPECT_NEAR(on->point[k], line[4][k], 1e-7);
    }
  }
  EXPECT_GT(kinds[BrepModel::CurveKind::line], 0);
  EXPECT_GT(kinds[BrepModel::CurveKind::circle], 0);
}

// Where two solids touch, their faces on the contact plane are equally near any point beside it and face
// opposite ways: the face taken is the one whose outside the point is on, whichever solid it bounds.
TEST(ExampleParts, AtTouchingSolidsTheClosestFaceIsTheOneFacingThePoint) {
  std::shared_ptr<const BrepModel> model = part("workpiece-welded-bracket");
  std::mt19937_64 rng(89);
  std::uniform_real_distribution<double> x(0.005, 0.095), y(0.012, 0.018), off(1e-5, 0.002);
  for (int i = 0; i < 20; ++i) {
    // Beside the plane z = 0 where the base lies on the foot, above it or below.
    const double side = i % 2 == 0 ? 1 : -1;
    const BrepModel::Point p{x(rng), y(rng), side * off(rng)};
    SCOPED_TRACE(std::to_string(p[0]) + " " + std::to_string(p[1]) + " " + std::to_string(p[2]));
    const std::optional<BrepModel::FacePoint> found = model->closestOnFaces(p);
    ASSERT_TRUE(found);
    BrepModel::Point at, normal;
    ASSERT_TRUE(model->evaluate(found->face, found->parameter, at, normal));
    EXPECT_NEAR(found->point[2], 0, 1e-12);
    EXPECT_NEAR(normal[2], side, 1e-12);
  }
}

// The search tries faces nearest box first and skips the rest; it must find what trying every face finds.
TEST(ExampleParts, TheClosestPointOfAPartIsTheNearestOfItsFacesClosestPoints) {
  std::mt19937_64 rng(5);
  for (const char* name : {"plate-bolt-circle", "sphere-on-stand", "plate-countersink"}) {
    SCOPED_TRACE(name);
    std::shared_ptr<const BrepModel> model = part(name);
    const auto [low, high] = model->bounds();
    for (int i = 0; i < 40; ++i) {
      BrepModel::Point p;
      for (int k = 0; k < 3; ++k)
        p[k] = std::uniform_real_distribution<double>(low[k] - 0.01, high[k] + 0.01)(rng);
      double everyFace = HUGE_VAL;
      for (uint32_t face = 1; face <= model->faceCount(); ++face) {
        if (std::optional<BrepModel::FacePoint> on = model->closestOnFace(face, p)) {
          everyFace =
              std::min(everyFace, std::hypot(on->point[0] - p[0], on->point[1] - p[1], on->point[2] - p[2]));
        }
      }
      std::optional<BrepModel::FacePoint> found = model->closestOnFaces(p);
      ASSERT_TRUE(found);
      EXPECT_NEAR(std::hypot(found->point[0] - p[0], found->point[1] - p[1], found->point[2] - p[2]),
                  everyFace, 1e-12);
    }
  }
}
