#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <numbers>
#include <tuple>

#include "basic_types/box.h"
#include "basic_types/color.h"
#include "basic_types/matrix4x4.h"
#include "basic_types/plane.h"
#include "basic_types/vector3.h"

namespace {

// Round-off of a handful of double operations on values of order 1.
constexpr double kRoundOff = 1e-12;

void expectNear(const Vector3& actual, const Vector3& expected, double tolerance = kRoundOff) {
  for (double Vector3::*axis : {&Vector3::x, &Vector3::y, &Vector3::z})
    EXPECT_NEAR(actual.*axis, expected.*axis, tolerance);
}

TEST(VectorMath, ProjectionsIgnoreDirectionsBelowEpsSquared) {
  Vector3 a(1, 2, 3), tiny(1e-9, 0, 0);
  EXPECT_EQ(Vector3::projectOnto(a, tiny), Vector3());
  EXPECT_EQ(Vector3::perpendicularPart(a, tiny), a);
  expectNear(Vector3::projectOnto(a, Vector3(0, 0, 2)), Vector3(0, 0, 3));
  expectNear(Vector3::perpendicularPart(a, Vector3(0, 0, 2)), Vector3(1, 2, 0));
  Vector3 foot = *projectOntoLine(Vector3(1, 5, 0), Vector3(0, 0, 0), Vector3(2, 0, 0));
  expectNear(foot, Vector3(1, 0, 0));
  EXPECT_FALSE(projectOntoLine(Vector3(1, 5, 0), Vector3(2, 2, 2), Vector3(2, 2, 2)).has_value());
}

TEST(VectorMath, ParallelWithinTheSineToleranceAndOrthonormalBasesRightHanded) {
  EXPECT_TRUE(Vector3::isParallel(Vector3(1, 0, 0), Vector3(-3, 0, 0), 0.0)) << "opposite counts";
  EXPECT_TRUE(Vector3::isParallel(Vector3(1, 0, 0), Vector3(1, 0.01, 0), 0.011));
  EXPECT_FALSE(Vector3::isParallel(Vector3(1, 0, 0), Vector3(1, 0.01, 0), 0.009));
  Vector3 u, v;
  EXPECT_FALSE(Vector3::orthonormalBasis(Vector3(), u, v));
  for (const Vector3& d : {Vector3(0, 0, 5), Vector3(0.9, 0.1, 0), Vector3(1, 1, 1)}) {
    ASSERT_TRUE(Vector3::orthonormalBasis(d, u, v));
    Vector3 n = d.normalized();
    for (const Vector3& w : {v, n}) EXPECT_NEAR(u.dot(w), 0.0, kRoundOff);
    expectNear(Vector3::cross(u, v), n);
  }
}

TEST(PlaneMath, IntersectionRefusesLinesWithinTheParallelThresholdAndThreePointsMakeAPlane) {
  Vector3 hit;
  EXPECT_TRUE((Plane{1e-10, 0, 1, 0}).intersectLine(Vector3(), Vector3(1, 0, 0), hit))
      << "n·u = 1e-10 proceeds";
  EXPECT_FALSE((Plane{0.99e-10, 0, 1, 0}).intersectLine(Vector3(), Vector3(1, 0, 0), hit));
  Plane floor{0, 0, 1, 2};
  ASSERT_TRUE(floor.intersectLine(Vector3(1, 1, 0), Vector3(0, 0, -7), hit));
  expectNear(hit, Vector3(1, 1, 2));
  Plane plane = Plane::throughPoints(Vector3(0, 0, 1), Vector3(1, 0, 1), Vector3(0, 1, 1));
  expectNear(plane.normal(), Vector3(0, 0, 1));
  EXPECT_DOUBLE_EQ(plane.d, 1.0);
  expectNear(plane.projectPoint(Vector3(3, 4, 9)), Vector3(3, 4, 1));
  EXPECT_FALSE(Plane::throughPoints(Vector3(0, 0, 0), Vector3(1, 1, 1), Vector3(2, 2, 2)).isValid())
      << "collinear points give no plane";
  EXPECT_FALSE((Plane{std::numeric_limits<double>::quiet_NaN(), 0, 1, 0}).isValid());
  EXPECT_FALSE(Plane().isValid());
}

TEST(PlaneMath, TransformMovesThePlaneAndRefusesASingularMatrix) {
  Plane plane{0, 0, 1, 1};
  Matrix4x4 move =
      Matrix4x4::translation(Vector3(0, 0, 2)) * Matrix4x4::rotation(Vector3(1, 0, 0), std::numbers::pi / 2);
  ASSERT_TRUE(plane.transform(move));
  expectNear(plane.normal(), Vector3(0, -1, 0));
  EXPECT_NEAR(plane.d, 1.0, kRoundOff) << "the point (0, 0, 1) went to (0, -1, 2)";
  Plane kept{0, 0, 1, 1};
  EXPECT_FALSE(kept.transform(Matrix4x4::scaling(1, 1, 0)));
  EXPECT_EQ(kept.d, 1.0);
}

TEST(MatrixMath, InverseTimesMatrixIsTheIdentityEvenWithPivotingAndASingularOneIsRefused) {
  Matrix4x4 t;
  const double values[16] = {0, 2, 0, 1, 1, 0, 0, 2, 0, 0, 3, 3, 0, 0, 0, 1};  // a zero first pivot
  t.assign(values);
  Matrix4x4 inverse;
  ASSERT_EQ(Matrix4x4::invert(t, inverse), 1);
  Matrix4x4::multiply(t, t, inverse);  // the output may be an operand
  for (int k = 0; k < 16; ++k) EXPECT_NEAR(t.m[k], Matrix4x4().m[k], kRoundOff) << k;
  Matrix4x4 out = Matrix4x4::translation(Vector3(7, 7, 7));
  EXPECT_EQ(Matrix4x4::invert(Matrix4x4::scaling(2, 0, 3), out), 0);
  EXPECT_EQ(out.m[3], 7.0) << "the output is left as it was";
  Matrix4x4 fallback = Matrix4x4::inverse(Matrix4x4::scaling(2, 0, 3));
  EXPECT_EQ(std::memcmp(fallback.m, Matrix4x4().m, sizeof fallback.m), 0);
}

TEST(MatrixMath, PointsTakeTranslationAndDivisionDirectionsDoNot) {
  Matrix4x4 t = Matrix4x4::translation(Vector3(1, 2, 3)) * Matrix4x4::uniformScaling(2);
  EXPECT_EQ(Matrix4x4::transformPoint(t, Vector3(1, 1, 1)), Vector3(3, 4, 5));
  EXPECT_EQ(Matrix4x4::transformVector(t, Vector3(1, 1, 1)), Vector3(2, 2, 2));
  t.m[15] = 2;
  Vector3 out;
  Matrix4x4::transformPointTo(t, Vector3(1, 1, 1), out);
  expectNear(out, Vector3(1.5, 2, 2.5));
  EXPECT_EQ(t.transposed().m[12], 1.0);
}

TEST(MatrixMath, RotationsAreRightHandedAndTurnOneDirectionIntoAnother) {
  Matrix4x4 quarter = Matrix4x4::rotation(Vector3(0, 0, 2), std::numbers::pi / 2);
  expectNear(Matrix4x4::transformVector(quarter, Vector3(1, 0, 0)), Vector3(0, 1, 0));
  Vector3 a(1, 2, 0.5), b(-3, 0.2, 1);
  expectNear(Matrix4x4::transformVector(Matrix4x4::rotationBetween(a, b), a.normalized()), b.normalized());
  Matrix4x4 halfTurn = Matrix4x4::rotationBetween(Vector3(0, 0, 1), Vector3(0, 0, -1));
  expectNear(Matrix4x4::transformVector(halfTurn, Vector3(0, 0, 1)), Vector3(0, 0, -1));
  EXPECT_TRUE(halfTurn.isRigid());
  for (const Matrix4x4& m : {Matrix4x4::rotationBetween(Vector3(1, 0, 0), Vector3(1, 1e-8, 0)),
                             Matrix4x4::rotation(Vector3(), 1.0)})
    for (int k = 0; k < 16; ++k) EXPECT_EQ(m.m[k], Matrix4x4().m[k]) << k;
}

TEST(MatrixMath, BoxCornersAndCentreAndACopiedValueMatrix) {
  Box box{Vector3(-1, 2, -3), Vector3(3, 4, 5)};
  EXPECT_EQ(Box::minimum(&box), Vector3(-1, 2, -3));
  EXPECT_EQ(Box::maximum(&box), Vector3(3, 4, 5));
  EXPECT_EQ(box.center(), Vector3(1, 3, 1));
  EXPECT_EQ(Box::minimum(nullptr), Vector3()) << "a null box is zero";
  EXPECT_EQ(Box::maximum(nullptr), Vector3());
  ZelMatrixValue value;
  Matrix4x4 source = Matrix4x4::translation(Vector3(1, 2, 3)) * Matrix4x4::scaling(4, 5, 6);
  copyMatrix(value, source);
  EXPECT_EQ(std::memcmp(value.matrix.m, source.m, sizeof source.m), 0);
}

TEST(ColorConversion, PrimariesGreyAndRoundTrips) {
  Color magenta{1, 0, 0.5f};
  magenta.rgbToHsl();
  EXPECT_NEAR(magenta.h, 330.0f / 360.0f, 1e-6f) << "a negative hue wraps round";
  for (Color c :
       {Color{0.2f, 0.7f, 0.4f}, Color{0.9f, 0.8f, 0.1f}, Color{0.1f, 0.2f, 0.9f}, Color{0.5f, 0.5f, 0.5f}}) {
    Color round = c;
    round.rgbToHsl();
    EXPECT_EQ(round.s == 0.0f, c.r == c.g) << "grey alone has no saturation";
    round.hslToRgb();
    for (float Color::*channel : {&Color::r, &Color::g, &Color::b})
      EXPECT_NEAR(round.*channel, c.*channel, 1e-5f);
  }
  ColorRGBA scaled = ColorRGBA::fromScaled(Color{0.5f, 0.2f, -1.0f}, 3.0);
  EXPECT_EQ(std::tuple(scaled.r, scaled.b), std::tuple(1.0f, 0.0f));
  EXPECT_FLOAT_EQ(scaled.g, 0.6f);
  ColorSet base{
      {0.2f, 0.2f, 0.2f, 1}, {0.8f, 0.7f, 0.6f, 0.5f}, {0.1f, 0, 0, 1}, {0, 0.3f, 0, 0.9f}, {0.5f, 1}, 2};
  ColorSet copy;
  copy = base;
  EXPECT_EQ(std::memcmp(&copy, &base, sizeof(ColorSet)), 0) << "a colour set is copied as a whole";
}

}  // namespace
