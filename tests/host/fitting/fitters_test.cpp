#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "host_api/feature_fitter.h"
#include "host_api/feature_kinds.h"
#include "host_api/registry_paths.h"
#include "support/module_fixture.h"
#include "support/point_region.h"

namespace {

using Points = std::vector<Vector3>;
const std::string kBestFit = kBestFitFitterPath;

// n points round a circle square to z, from angle `from` over `span`.
Points ring(const Vector3& centre, double radius, int n, double from = 0.0, double span = 6.283185307179586) {
  Points points;
  for (int i = 0; i < n; ++i)
    points.push_back(centre +
                     radius * Vector3{std::cos(from + span * i / n), std::sin(from + span * i / n), 0});
  return points;
}

// Rings at four heights about the z axis through (1, 2, 0), of the radius radiusAt(height).
Points revolved(std::function<double(double)> radiusAt) {
  Points points;
  for (double z : {0.0, 0.5, 1.2, 2.0})
    for (const Vector3& p : ring({1, 2, z}, radiusAt(z), 7, z)) points.push_back(p);
  return points;
}

Points grid(double z) {
  Points points;
  for (double x : {-1.0, 0.5, 2.0})
    for (double y : {0.0, 1.0, 3.0}) points.push_back({x, y, z});
  return points;
}

// The sphere of radius 2 about (1, -2, 3).
Points sphere() {
  Points points;
  for (double polar : {0.4, 1.3, 2.5})
    for (const Vector3& p : ring({1, -2, 3 + 2 * std::cos(polar)}, 2 * std::sin(polar), 6, polar))
      points.push_back(p);
  return points;
}

Points line(int n) {
  Points points(n);
  for (int i = 0; i < n; ++i) points[i] = {1.0 + 0.5 * i, 2.0, 3.0 - i};
  return points;
}

void expectNear(const Vector3& actual, const Vector3& expected, double tolerance = 1e-7) {
  EXPECT_NEAR((actual - expected).length(), 0.0, tolerance) << actual.x << " " << actual.y << " " << actual.z;
}

template <class Value, class T>
IPtr<IZelParameter> value(const T& v) {
  SPtr<Value> made;
  made->setValue(v);
  return IPtr<IZelParameter>(made.get());
}

using Parameters = std::vector<std::pair<const char*, IPtr<IZelParameter>>>;

// Fitters made from their registry paths, as the feature creators make them, and given point sets made as
// the creators make them.
class Fitters : public ModuleTest {
 protected:
  // The fitter under the path with the parameters set by their narrow names, as the module names them.
  static RegPtr<IZelFeatureFitter> fitter(const std::string& path, const Parameters& set = {}) {
    RegPtr<IZelFeatureFitter> made(ZelCString(path.c_str()));
    EXPECT_TRUE(made) << path;
    for (const auto& [name, parameter] : set)
      EXPECT_TRUE(made->setParameter(ZelString(name), parameter.get()));
    return made;
  }

  // The best fit of the kind to the points, as Kind.
  template <class Kind>
  IPtr<Kind> fit(const std::string& kind, const Points& points, const Parameters& set = {}) {
    RegPtr<IZelFeatureFitter> made = fitter(kBestFit + kind, set);
    if (!made) return {};
    IPtr<IZelRegionHandler> region = pointRegion(points);
    made->setPointSet(queryPart<IZelPointSetInterface>(region.get()));
    IPtr<IZelFeature> feature;
    feature.takeOwnership(made->fit());
    return IPtr<Kind>(queryPart<Kind>(feature.get()));
  }

  static IPtr<IZelParameter> parallelTo(const Vector3& direction) {
    SPtr<IZelFeatureConstraintParameter> constraint;
    constraint->setConstraintType(2);
    constraint->setConstrainedElement(1);
    constraint->setReferenceKind(1);
    constraint->setDirection(direction);
    return IPtr<IZelParameter>(constraint.get());
  }
};

TEST_F(Fitters, EachPathFitsItsShapeToExactPoints) {
  auto plane = fit<IZelPlane>("IZelPlane", grid(2.0), {{"<Unknown>", value<IZelDoubleValue>(7.0)}});
  ASSERT_TRUE(plane);
  expectNear(plane->center(), {0.5, 4.0 / 3.0, 2.0});
  expectNear(plane->normal(), {0, 0, 1});
  double box[6], expectedBox[6] = {-1, 0, 2, 2, 3, 2};
  ASSERT_TRUE(plane->boundingBox(box));
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(box[i], expectedBox[i], 1e-9) << "box " << i;

  for (const std::string& kind : {std::string("IZelLine"), std::string(kDirectFitPath) + "IZelLine"}) {
    auto fitted = fit<IZelLine>(kind, line(4));
    ASSERT_TRUE(fitted) << kind;
    // The direction's largest component, z, is made positive: the line runs from the last point to the first.
    expectNear(fitted->start(), line(4).back());
    expectNear(fitted->end(), line(4).front());
  }

  auto ball = fit<IZelSphere>("IZelSphere", sphere());
  ASSERT_TRUE(ball);
  expectNear(ball->center(), {1, -2, 3});
  EXPECT_NEAR(ball->radius(), 2.0, 1e-9);

  auto arc = fit<IZelArc>("IZelArc", ring({1, 1, 0}, 3.0, 5, 0.3, 2.0));
  ASSERT_TRUE(arc);
  expectNear(arc->center(), {1, 1, 0});
  expectNear(arc->normal(), {0, 0, 1});
  EXPECT_NEAR(arc->radius(), 3.0, 1e-9);

  // A zero start is ignored.
  auto zero = value<IZelVectorValue>(Vector3{});
  auto cylinder =
      fit<IZelCylinder>("IZelCylinder", revolved([](double) { return 1.5; }),
                        {{"<Axis>", zero}, {"<Center>", zero}, {"<Diameter>", value<IZelDoubleValue>(0.0)}});
  ASSERT_TRUE(cylinder);
  expectNear(cylinder->firstEnd(), {1, 2, 0});
  expectNear(cylinder->secondEnd(), {1, 2, 2});
  EXPECT_NEAR(cylinder->radius(), 1.5, 1e-7);

  // Wide at the bottom: A, the narrow end, is at the top and the axis runs down.
  auto cone = fit<IZelCone>("IZelCone", revolved([](double z) { return 2.0 - 0.5 * z; }));
  ASSERT_TRUE(cone);
  expectNear(cone->endA(), {1, 2, 2});
  expectNear(cone->endB(), {1, 2, 0});
  EXPECT_NEAR(cone->radiusA(), 1.0, 1e-7);
  EXPECT_NEAR(cone->radiusB(), 2.0, 1e-7);
}

TEST_F(Fitters, ParallelPlanesComeFromTheTwoSelectedGroups) {
  Points points = grid(0.0);
  for (const Vector3& p : grid(5.0)) points.push_back(p);
  SPtr<IZelBitVectorArray> selection;
  BitVector first(10), second(10);
  for (int32_t i = 10; i <= 18; ++i) first.set(i);
  for (int32_t i = 1; i <= 4; ++i) second.set(i);
  selection->append(first);
  selection->append(second);
  auto planes = fit<IZelParallelPlanes>("IZelParallelPlanes", points,
                                        {{"<Selection>", IPtr<IZelParameter>(selection.get())}});
  ASSERT_TRUE(planes);
  Vector3 mid, normal, reference, low, high;
  double distance = 0;
  planes->planes(mid, normal, reference, distance, low, high);
  EXPECT_NEAR(distance, 5.0, 1e-9);
  expectNear(normal, {0, 0, -1});  // from the first group towards the second
  EXPECT_NEAR(mid.z, 2.5, 1e-9);
  EXPECT_FALSE(fit<IZelParallelPlanes>("IZelParallelPlanes", points)) << "no selection";
}

TEST_F(Fitters, PointsThatDoNotDetermineTheShapeGiveNoFeature) {
  Points notFinite = sphere(), infinite = sphere();
  notFinite[3].y = std::numeric_limits<double>::quiet_NaN();
  infinite[0].x = std::numeric_limits<double>::infinity();
  for (const std::string kind :
       {"IZelPlane", "IZelLine", "IZelSphere", "IZelArc", "IZelCylinder", "IZelCone"}) {
    std::vector<Points> refused{{{1, 2, 3}}, Points(8, Vector3{1, 2, 3}), notFinite, infinite};
    if (kind != "IZelLine") refused.push_back(line(8));
    if (kind == "IZelSphere" || kind == "IZelCylinder" || kind == "IZelCone")
      refused.push_back(ring({}, 2.0, 8));
    for (const Points& points : refused)
      EXPECT_FALSE(fit<IZelFeature>(kind, points)) << kind << ", " << points.size();
  }
  EXPECT_EQ(fitter(kBestFit + "IZelPlane")->fit(), nullptr) << "no point set";
}

TEST_F(Fitters, AWorkPlaneHoldsTheArcAndTheLineInIt) {
  Points wavy = ring({1, 1, 0}, 3.0, 8);
  for (size_t i = 0; i < wavy.size(); ++i) wavy[i].z = (i % 2 ? 0.2 : -0.1);
  ZelCountedArray<Vector3> vectors;
  vectors.append({0, 0, 5});
  vectors.append({0, 0, -2});
  const Parameters plane{{"<WorkPlane>", value<IZelVectorsValue>(vectors)}};
  auto arc = fit<IZelArc>("IZelArc", wavy, plane);
  ASSERT_TRUE(arc);
  expectNear(arc->center(), {1, 1, 5});
  expectNear(arc->normal(), {0, 0, -1});
  EXPECT_NEAR(arc->radius(), 3.0, 1e-9);
  auto fitted = fit<IZelLine>("IZelLine", {{0, 0, 1}, {1, 0, -1}, {2, 0, 0}}, plane);
  ASSERT_TRUE(fitted);
  EXPECT_NEAR(fitted->start().z, 5.0, 1e-9);
  EXPECT_NEAR(fitted->end().z, 5.0, 1e-9);
  EXPECT_FALSE(fit<IZelArc>("IZelArc", wavy, {{"<WorkPlane>", value<IZelDoubleValue>(1.0)}}))
      << "not a plane";
}

TEST_F(Fitters, AConstraintHoldsTheAxisParallel) {
  Points leaning = revolved([](double) { return 1.5; });
  for (Vector3& p : leaning) p.x += 0.1 * p.z;
  auto cylinder = fit<IZelCylinder>("IZelCylinder", leaning, {{"<Constraint>", parallelTo({0, 0, 3})}});
  ASSERT_TRUE(cylinder);
  expectNear(cylinder->axisDirection(), {0, 0, 1}, 1e-12);
  EXPECT_FALSE(fit<IZelCone>("IZelCone", leaning, {{"<Constraint>", parallelTo({})}})) << "no direction";
  // One section has no length: a cylinder between coinciding ends would have no direction.
  EXPECT_FALSE(
      fit<IZelCylinder>("IZelCylinder", ring({1, 2, 0}, 1.5, 8), {{"<Constraint>", parallelTo({0, 0, 1})}}));
}

// Features given to the slot fitters by their parameter forms.
IPtr<IZelParameter> formOf(IZelFeature* feature) {
  IPtr<IZelParameter> form;
  form.takeOwnership(feature->parameterForm());
  return form;
}
IPtr<IZelParameter> lineFrom(const Vector3& start, const Vector3& end) {
  SPtr<IZelLine> made;
  made->setLine(start, end, 0, 0);
  return formOf(made.get());
}
IPtr<IZelParameter> circleAt(const Vector3& centre, double radius) {
  SPtr<IZelArc> made;
  made->setCenter(centre);
  made->setRadius(radius);
  return formOf(made.get());
}

TEST_F(Fitters, SlotsAreBuiltFromTheirFourChildrenInAnyOrder) {
  const std::string path = std::string(kPalperaFitterPath) + "IZelRectangularSlot";
  auto rectangle = fitter(path, {{"<Line1>", lineFrom({-1, 1.5, 3}, {3, 1.5, 3})},
                                 {"<Line2>", lineFrom({-1, 2.5, 3}, {-1, 1.5, 3})},
                                 {"<Line3>", lineFrom({3, 2.5, 3}, {-1, 2.5, 3})},
                                 {"<Line4>", lineFrom({3, 1.5, 3}, {3, 2.5, 3})}});
  auto rounded = fitter(std::string(kPalperaFitterPath) + "IZelRoundedSlot",
                        {{"<Circle1>", circleAt({-0.75, 1.75, 3}, 0.2)},
                         {"<Circle2>", circleAt({2.75, 2.25, 3}, 0.3)},
                         {"<Circle3>", circleAt({-0.75, 2.25, 3}, 0.25)},
                         {"<Circle4>", circleAt({2.75, 1.75, 3}, 0.25)}});
  for (IZelFeatureFitter* made : {rectangle.get(), rounded.get()}) {
    IPtr<IZelFeature> fitted;
    fitted.takeOwnership(made->fit());
    auto* slot = queryPart<IZelSlotOutline>(fitted.get());
    ASSERT_TRUE(slot);
    expectNear(slot->center(), {1, 2, 3});
    EXPECT_NEAR(slot->length(), 4.0, 1e-9);
    EXPECT_NEAR(slot->width(), 1.0, 1e-9);
    EXPECT_NEAR(std::fabs(slot->axis().x), 1.0, 1e-9);
    if (auto* corners = queryPart<IZelRoundedSlot>(fitted.get())) {
      EXPECT_NEAR(corners->cornerDiameter(), 0.5, 1e-9);
    }
  }
  EXPECT_TRUE(rectangle->setParameter(ZelString("<Line3>"), circleAt({}, 1).get()));
  EXPECT_EQ(rectangle->fit(), nullptr) << "a circle among the lines";
  EXPECT_TRUE(rectangle->setParameter(ZelString("<Line3>"), lineFrom({3, 0, 3}, {-1, 4, 3}).get()));
  EXPECT_EQ(rectangle->fit(), nullptr) << "lines that outline no rectangle";
  EXPECT_TRUE(rectangle->setParameter(ZelString("<Line3>"), lineFrom({3, 2.5, 3}, {-1, 2.5, 3}).get()));
  EXPECT_TRUE(rectangle->setParameter(ZelString("<Line4>"), lineFrom({3, 2, 3}, {3, 2, 3}).get()));
  EXPECT_EQ(rectangle->fit(), nullptr) << "a line without length";
}

}  // namespace
