#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "framework/object/host_lookup.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "host/api/feature_fitter.h"
#include "host/api/feature_kinds.h"
#include "host/api/registry_paths.h"
#include "support/module_fixture.h"

namespace {

constexpr double kTolerance = 1e-9;
constexpr double kPi = 3.14159265358979323846;

using Points = std::vector<Vector3>;

// n points round a circle of the radius about centre, square to z, from angle `from` over `span`.
Points ring(const Vector3& centre, double radius, int n, double from = 0.0, double span = 2 * kPi) {
  Points points;
  for (int i = 0; i < n; ++i) {
    double a = from + span * i / n;
    points.push_back(centre + Vector3{radius * std::cos(a), radius * std::sin(a), 0.0});
  }
  return points;
}

// Rings at the heights, of the radius radiusAt(height), about the z axis through (1, 2, 0).
Points solidOfRevolution(std::function<double(double)> radiusAt) {
  Points points;
  for (double z : {0.0, 0.5, 1.2, 2.0}) {
    for (const Vector3& p : ring({1, 2, z}, radiusAt(z), 7, z)) points.push_back(p);
  }
  return points;
}

Points grid(double z) {
  Points points;
  for (double x : {-1.0, 0.5, 2.0})
    for (double y : {0.0, 1.0, 3.0}) points.push_back({x, y, z});
  return points;
}

Points sphere() {
  Points points;
  for (double polar : {0.4, 1.3, 2.5}) {
    for (const Vector3& p : ring({0, 0, 0}, 2 * std::sin(polar), 6, polar)) {
      points.push_back(p + Vector3{1, -2, 3 + 2 * std::cos(polar)});
    }
  }
  return points;
}

Points line(int n) {
  Points points;
  for (int i = 0; i < n; ++i) points.push_back({1.0 + 0.5 * i, 2.0, 3.0 - i});
  return points;
}

void expectNear(const Vector3& actual, const Vector3& expected, double tolerance = kTolerance) {
  EXPECT_NEAR((actual - expected).length(), 0.0, tolerance) << actual.x << " " << actual.y << " " << actual.z;
}

// Fitters made from their registry paths and given point sets made as the feature creators make them.
class Fitters : public ModuleTest {
 protected:
  static RegPtr<IZelFeatureFitter> fitter(const std::string& path) {
    return RegPtr<IZelFeatureFitter>(ZelCString(path.c_str()));
  }

  // The point set of a region of the points, which the fitter is given; the region stays with the test.
  IZelPointSetInterface* pointSet(const Points& points) {
    IPtr<RealPArray> array;
    array.takeOwnership(SPtr<IRealPArrayFactory>()->createArray(6, static_cast<int32_t>(points.size())));
    for (const Vector3& p : points) {
      const double entry[6] = {p.x, p.y, p.z, 0, 0, 1};
      array->append(entry);
    }
    SPtr<IComplex0D> complex;
    complex->setArray(array.get());
    SPtr<IZelCreateRegionHandler> handler;
    handler->setDimension(0);
    handler->setParentRegion(-1);
    handler->setOptions(0);
    regions_.emplace_back();
    regions_.back().takeOwnership(handler->createRegion(complex.get(), 0, true));
    return queryPart<IZelPointSetInterface>(regions_.back().get());
  }

  template <class Kind>
  IPtr<Kind> fit(IZelFeatureFitter* made, const Points& points) {
    made->setPointSet(pointSet(points));
    IPtr<IZelFeature> feature;
    feature.takeOwnership(made->fit());
    return IPtr<Kind>(queryPart<Kind>(feature.get()));
  }

  template <class Kind>
  IPtr<Kind> fitAt(const std::string& path, const Points& points) {
    RegPtr<IZelFeatureFitter> made = fitter(path);
    EXPECT_TRUE(made) << path;
    return made ? fit<Kind>(made.get(), points) : IPtr<Kind>();
  }

  // By a narrow name, as the module names fitter parameters.
  static void set(IZelFeatureFitter* made, const char* name, const IPtr<IZelParameter>& value) {
    EXPECT_TRUE(made->setParameter(ZelString(name), value.get())) << name;
  }

  static IPtr<IZelParameter> vectors(const Points& values) {
    SPtr<IZelVectorsValue> value;
    ZelCountedArray<Vector3> array;
    for (const Vector3& v : values) array.append(v);
    value->setValue(array);
    return IPtr<IZelParameter>(value.get());
  }
  static IPtr<IZelParameter> vector(const Vector3& v) {
    SPtr<IZelVectorValue> value;
    value->setValue(v);
    return IPtr<IZelParameter>(value.get());
  }
  static IPtr<IZelParameter> number(double v) {
    SPtr<IZelDoubleValue> value;
    value->setValue(v);
    return IPtr<IZelParameter>(value.get());
  }
  static IPtr<IZelParameter> parallelTo(const Vector3& direction) {
    SPtr<IZelFeatureConstraintParameter> constraint;
    constraint->setConstraintType(2);
    constraint->setConstrainedElement(1);
    constraint->setReferenceKind(1);
    constraint->setDirection(direction);
    return IPtr<IZelParameter>(constraint.get());
  }
  static IPtr<IZelParameter> selection(const std::vector<std::vector<int32_t>>& groups) {
    SPtr<IZelBitVectorArray> array;
    for (const std::vector<int32_t>& group : groups) {
      BitVector bits(10);
      for (int32_t i : group) bits.set(i);
      array->append(bits);
    }
    return IPtr<IZelParameter>(array.get());
  }

  std::vector<IPtr<IZelRegionHandler>> regions_;
};

const std::string kBestFit = kBestFitFitterPath;

TEST_F(Fitters, EachPathFitsItsShapeToExactPoints) {
  auto plane = fitAt<IZelPlane>(kBestFit + "IZelPlane", grid(2.0));
  ASSERT_TRUE(plane);
  expectNear(plane->center(), {0.5, 4.0 / 3.0, 2.0});
  expectNear(plane->normal(), {0, 0, 1});
  double box[6];
  ASSERT_TRUE(plane->boundingBox(box));
  const double expectedBox[6] = {-1, 0, 2, 2, 3, 2};
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(box[i], expectedBox[i], kTolerance) << i;

  for (const std::string& path : {kBestFit + "IZelLine", kBestFit + kDirectFitPath + "IZelLine"}) {
    auto fitted = fitAt<IZelLine>(path, line(4));
    ASSERT_TRUE(fitted) << path;
    // The direction's largest component, z, is made positive: the line runs from the last point to the first.
    expectNear(fitted->start(), line(4).back());
    expectNear(fitted->end(), line(4).front());
  }

  auto ball = fitAt<IZelSphere>(kBestFit + "IZelSphere", sphere());
  ASSERT_TRUE(ball);
  expectNear(ball->center(), {1, -2, 3});
  EXPECT_NEAR(ball->radius(), 2.0, kTolerance);

  auto arc = fitAt<IZelArc>(kBestFit + "IZelArc", ring({1, 1, 0}, 3.0, 5, 0.3, 2.0));
  ASSERT_TRUE(arc);
  expectNear(arc->center(), {1, 1, 0});
  expectNear(arc->normal(), {0, 0, 1});
  EXPECT_NEAR(arc->radius(), 3.0, kTolerance);

  auto cylinder =
      fitAt<IZelCylinder>(kBestFit + "IZelCylinder", solidOfRevolution([](double) { return 1.5; }));
  ASSERT_TRUE(cylinder);
  expectNear(cylinder->firstEnd(), {1, 2, 0}, 1e-7);
  expectNear(cylinder->secondEnd(), {1, 2, 2}, 1e-7);
  EXPECT_NEAR(cylinder->radius(), 1.5, 1e-7);

  // Wide at the bottom: A, the narrow end, is at the top and the axis runs down.
  auto cone =
      fitAt<IZelCone>(kBestFit + "IZelCone", solidOfRevolution([](double z) { return 2.0 - 0.5 * z; }));
  ASSERT_TRUE(cone);
  expectNear(cone->endA(), {1, 2, 2}, 1e-7);
  expectNear(cone->endB(), {1, 2, 0}, 1e-7);
  EXPECT_NEAR(cone->radiusA(), 1.0, 1e-7);
  EXPECT_NEAR(cone->radiusB(), 2.0, 1e-7);
  expectNear(cone->axisDirection(), {0, 0, -1}, 1e-7);
}

TEST_F(Fitters, ParallelPlanesComeFromTheTwoSelectedGroups) {
  Points points = grid(0.0);
  for (const Vector3& p : grid(5.0)) points.push_back(p);
  RegPtr<IZelFeatureFitter> made = fitter(kBestFit + "IZelParallelPlanes");
  ASSERT_TRUE(made);
  // The second group first: the normal runs from it towards the first.
  set(made.get(), "<Selection>", selection({{10, 11, 12, 13, 14, 15, 16, 17, 18}, {1, 2, 3, 4}}));
  auto planes = fit<IZelParallelPlanes>(made.get(), points);
  ASSERT_TRUE(planes);
  Vector3 mid, normal, reference, low, high;
  double distance = 0;
  planes->planes(mid, normal, reference, distance, low, high);
  EXPECT_NEAR(distance, 5.0, kTolerance);
  expectNear(normal, {0, 0, -1});
  EXPECT_NEAR(mid.z, 2.5, kTolerance);
  expectNear(low, {-1, 0, 0});
  expectNear(high, {2, 3, 5});

  // Without a selection there is nothing to tell the two faces apart.
  EXPECT_FALSE(fitAt<IZelParallelPlanes>(kBestFit + "IZelParallelPlanes", points));
}

TEST_F(Fitters, PointsThatDoNotDetermineTheShapeGiveNoFeature) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Points coincident(8, Vector3{1, 2, 3});
  const Points flatRing = ring({0, 0, 1}, 2.0, 8);
  Points notFinite = sphere();
  notFinite[3].y = nan;
  Points infinite = sphere();
  infinite[0].x = std::numeric_limits<double>::infinity();
  struct Case {
    std::string kind;
    Points points;
  };
  std::vector<Case> cases;
  for (const char* kind : {"IZelPlane", "IZelLine", "IZelSphere", "IZelArc", "IZelCylinder", "IZelCone"}) {
    for (const Points& points : {Points{{1, 2, 3}}, coincident, notFinite, infinite})
      cases.push_back({kind, points});
    if (std::string(kind) != "IZelLine") cases.push_back({kind, line(8)});
  }
  for (const char* kind : {"IZelSphere", "IZelCylinder", "IZelCone"}) cases.push_back({kind, flatRing});
  for (const Case& c : cases) {
    auto made = fitter(kBestFit + c.kind);
    ASSERT_TRUE(made) << c.kind;
    EXPECT_FALSE(fit<IZelFeature>(made.get(), c.points)) << c.kind << " of " << c.points.size() << " points";
  }
  RegPtr<IZelFeatureFitter> unfed = fitter(kBestFit + "IZelPlane");
  EXPECT_EQ(unfed->fit(), nullptr) << "no point set";
}

TEST_F(Fitters, AWorkPlaneHoldsTheArcAndTheLineInIt) {
  Points wavy = ring({1, 1, 0}, 3.0, 8);
  for (size_t i = 0; i < wavy.size(); ++i) wavy[i].z = (i % 2 ? 0.2 : -0.1);
  auto plane = vectors({{0, 0, 5}, {0, 0, -2}});
  RegPtr<IZelFeatureFitter> arcFitter = fitter(kBestFit + "IZelArc");
  set(arcFitter.get(), "<WorkPlane>", plane);
  auto arc = fit<IZelArc>(arcFitter.get(), wavy);
  ASSERT_TRUE(arc);
  expectNear(arc->center(), {1, 1, 5});
  expectNear(arc->normal(), {0, 0, -1});
  EXPECT_NEAR(arc->radius(), 3.0, kTolerance);

  RegPtr<IZelFeatureFitter> lineFitter = fitter(kBestFit + "IZelLine");
  set(lineFitter.get(), "<WorkPlane>", plane);
  auto fitted = fit<IZelLine>(lineFitter.get(), {{0, 0, 1}, {1, 0, -1}, {2, 0, 0}});
  ASSERT_TRUE(fitted);
  EXPECT_NEAR(fitted->start().z, 5.0, kTolerance);
  EXPECT_NEAR(fitted->end().z, 5.0, kTolerance);

  RegPtr<IZelFeatureFitter> nonsense = fitter(kBestFit + "IZelArc");
  set(nonsense.get(), "<WorkPlane>", number(1.0));
  EXPECT_FALSE(fit<IZelArc>(nonsense.get(), wavy)) << "a work plane that is no plane is not ignored";
}

TEST_F(Fitters, AConstraintHoldsTheAxisParallel) {
  // Tilted rings: the free axis leans, the held one stays on z.
  Points leaning = solidOfRevolution([](double) { return 1.5; });
  for (Vector3& p : leaning) p.x += 0.1 * p.z;
  for (const char* kind : {"IZelCylinder", "IZelCone"}) {
    RegPtr<IZelFeatureFitter> made = fitter(kBestFit + kind);
    set(made.get(), "<Constraint>", parallelTo({0, 0, 3}));
    auto held = fit<IZelFeature>(made.get(), leaning);
    ASSERT_TRUE(held) << kind;
    Vector3 axis = kind == std::string("IZelCone") ? queryPart<IZelCone>(held.get())->axisDirection()
                                                   : queryPart<IZelCylinder>(held.get())->axisDirection();
    EXPECT_NEAR(std::fabs(axis.z), 1.0, kTolerance) << kind;

    RegPtr<IZelFeatureFitter> unusable = fitter(kBestFit + kind);
    set(unusable.get(), "<Constraint>", parallelTo({0, 0, 0}));
    EXPECT_FALSE(fit<IZelFeature>(unusable.get(), leaning)) << kind << ": a zero direction holds nothing";
  }
  // One section held square to its axis has no length: a cylinder between coinciding ends has no direction.
  RegPtr<IZelFeatureFitter> section = fitter(kBestFit + "IZelCylinder");
  set(section.get(), "<Constraint>", parallelTo({0, 0, 1}));
  EXPECT_FALSE(fit<IZelCylinder>(section.get(), ring({1, 2, 0}, 1.5, 8)));
}

TEST_F(Fitters, HintsThatAreZeroOrNonsenseStillLeaveTheFitToConverge) {
  Points cylinderPoints = solidOfRevolution([](double) { return 1.5; });
  RegPtr<IZelFeatureFitter> cylinderFitter = fitter(kBestFit + "IZelCylinder");
  set(cylinderFitter.get(), "<Axis>", vector({0, 0, 0}));
  set(cylinderFitter.get(), "<Center>", vector({1e9, 0, 0}));
  set(cylinderFitter.get(), "<Diameter>", number(0.0));
  set(cylinderFitter.get(), "<MaxPtEAx>", number(0.0));
  set(cylinderFitter.get(), "<Unknown>", number(7.0));
  auto cylinder = fit<IZelCylinder>(cylinderFitter.get(), cylinderPoints);
  ASSERT_TRUE(cylinder);
  EXPECT_NEAR(cylinder->radius(), 1.5, 1e-7);

  RegPtr<IZelFeatureFitter> coneFitter = fitter(kBestFit + "IZelCone");
  set(coneFitter.get(), "<CenterFrom>", vector({0, 0, 0}));
  set(coneFitter.get(), "<CenterTo>", vector({0, 0, 0}));
  set(coneFitter.get(), "<DiameterFrom>", number(-1.0));
  set(coneFitter.get(), "<DiameterTo>", number(std::nan("")));
  auto cone = fit<IZelCone>(coneFitter.get(), solidOfRevolution([](double z) { return 1.0 + 0.5 * z; }));
  ASSERT_TRUE(cone);
  EXPECT_NEAR(cone->radiusA(), 1.0, 1e-7);
  EXPECT_NEAR(cone->radiusB(), 2.0, 1e-7);
}

}  // namespace
