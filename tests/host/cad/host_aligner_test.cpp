// The stand-in aligner: pair fits and surface refinement on the paged arrays the module hands over.

#include "host/cad/host_aligner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "framework/object/iptr.h"
#include "host/cad/mesh_shapes.h"

namespace {

// An array of records 1 to values.size(), record 0 filled with junk that must never be read.
template <class T>
std::unique_ptr<ZelChunkedArray> pagedArray(const std::vector<T>& values, const T& junk) {
  auto array = std::make_unique<ZelChunkedArray>(static_cast<int32_t>(sizeof(T)), 4);
  array->createChunks(static_cast<int32_t>(values.size()) + 1);
  *reinterpret_cast<T*>(array->element(0)) = junk;
  for (size_t i = 0; i < values.size(); ++i)
    *reinterpret_cast<T*>(array->element(static_cast<int32_t>(i + 1))) = values[i];
  return array;
}

struct PairArrays {
  std::unique_ptr<ZelChunkedArray> measured;
  std::unique_ptr<ZelChunkedArray> nominal;
};

PairArrays pairs(const std::vector<Vector3>& nominal, const Matrix4x4& motion, double noise = 0) {
  std::mt19937 random(7);
  std::normal_distribution<double> jitter(0, noise > 0 ? noise : 1);
  std::vector<Vector3> measured;
  std::vector<AlignerPointPair> nominalPairs;
  for (const Vector3& p : nominal) {
    Vector3 m = Matrix4x4::transformPoint(motion, p);
    if (noise > 0) m = m + Vector3{jitter(random), jitter(random), jitter(random)};
    measured.push_back(m);
    nominalPairs.push_back({p, {0, 0, 1}});
  }
  return {pagedArray(measured, Vector3{1e6, 1e6, 1e6}),
          pagedArray(nominalPairs, AlignerPointPair{{-1e6, 0, 0}, {}})};
}

const std::vector<Vector3> kCorners = {{0, 0, 0},   {.2, 0, 0},    {0, .1, 0},
                                       {0, 0, .02}, {.2, .1, .02}, {.1, .05, 0}};

Matrix4x4 pose() {
  return Matrix4x4::translation({.05, -.03, .02}) *
         Matrix4x4::rotation({1, 1, 1}, 10 * std::acos(-1.0) / 180);
}

void expectMatrixNear(const Matrix4x4& actual, const Matrix4x4& expected, double tolerance) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual.m[i], expected.m[i], tolerance) << "element " << i;
}

TEST(HostAlignerTest, PairFitRecoversAKnownMotionToTheNoiseLevel) {
  IPtr<HostAligner> aligner(new HostAligner);
  const PairArrays exact = pairs(kCorners, pose());
  Matrix4x4 fitted;
  ASSERT_TRUE(aligner->fitPairs(6, *exact.measured, *exact.nominal, fitted));
  expectMatrixNear(fitted, pose(), 1e-12);

  const PairArrays noisy = pairs(kCorners, pose(), 1e-5);
  ASSERT_TRUE(aligner->fitPairs(6, *noisy.measured, *noisy.nominal, fitted));
  for (const Vector3& corner : kCorners) {
    const Vector3 error =
        Matrix4x4::transformPoint(fitted, corner) - Matrix4x4::transformPoint(pose(), corner);
    EXPECT_LT(error.length(), 5e-5);
  }
}

TEST(HostAlignerTest, PairFitRefusesTooFewOrCollinearPairsAndLeavesTheResult) {
  IPtr<HostAligner> aligner(new HostAligner);
  const Matrix4x4 untouched = Matrix4x4::translation({1, 2, 3});
  struct Case {
    const char* name;
    std::vector<Vector3> points;
    int32_t count;
  };
  const Case cases[] = {
      {"two pairs", {{0, 0, 0}, {.1, 0, 0}}, 2},
      {"collinear pairs", {{0, 0, 0}, {.1, .1, 0}, {.3, .3, 0}, {-.2, -.2, 0}}, 4},
      {"a count past the array", kCorners, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PairArrays arrays = pairs(c.points, pose());
    Matrix4x4 result = untouched;
    EXPECT_FALSE(aligner->fitPairs(c.count, *arrays.measured, *arrays.nominal, result));
    expectMatrixNear(result, untouched, 0);
  }
  // Swapped arrays are records of another size.
  const PairArrays arrays = pairs(kCorners, pose());
  Matrix4x4 result;
  EXPECT_FALSE(aligner->fitPairs(6, *arrays.nominal, *arrays.measured, result));
}

TEST(HostAlignerTest, MirroredPointsGetAProperRotationNeverAReflection) {
  IPtr<HostAligner> aligner(new HostAligner);
  const PairArrays mirrored = pairs(kCorners, Matrix4x4::scaling(1, 1, -1));
  Matrix4x4 fitted;
  ASSERT_TRUE(aligner->fitPairs(6, *mirrored.measured, *mirrored.nominal, fitted));
  EXPECT_TRUE(fitted.isRigid());
  EXPECT_NEAR(fitted.determinant3(), 1, 1e-12);
}

TEST(HostAlignerTest, RefinementLaysPointsAtTheOffsetAboveTheSurface) {
  IPtr<HostAligner> aligner(new HostAligner);
  Matrix4x4 matrix;
  const std::vector<Vector3> noNormals(6, Vector3{0, 0, 1});
  // Probe centres 3 mm above three faces of the unit box, all shifted by (0.2, -0.1, 0.3) mm.
  const Vector3 shift{.0002, -.0001, .0003};
  std::vector<Vector3> centres = {{.3, .3, 1.003}, {.7, .3, 1.003}, {.5, .7, 1.003},
                                  {.3, -.003, .5}, {.7, -.003, .5}, {-.003, .5, .5}};
  std::vector<Vector3> normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, -1, 0}, {0, -1, 0}, {-1, 0, 0}};
  for (Vector3& c : centres) c = c + shift;
  const auto points = pagedArray(centres, Vector3{});
  const auto hints = pagedArray(normals, Vector3{});
  EXPECT_FALSE(aligner->refine(6, *points, *hints, matrix, false, false, 0, nullptr, .01, false, .003));

  IPtr<HostAlignerInput> input(new HostAlignerInput);
  IPtr<HostMesh> box = boxMesh({0, 0, 0}, {1, 1, 1});
  ASSERT_TRUE(input->setUp(static_cast<IZelMesh*>(box.get()), nullptr, 1.7976931348623157e308, false));
  aligner->setInput(input.get());
  ASSERT_TRUE(aligner->refine(6, *points, *hints, matrix, false, false, 0, nullptr, .01, false, .003));
  expectMatrixNear(matrix, Matrix4x4::translation(-shift), 1e-12);
  // Touches farther from their offset surface than the tolerance sit out: too few are left.
  Matrix4x4 start;
  EXPECT_FALSE(aligner->refine(6, *points, *hints, start, false, false, 0, nullptr, .00005, false, .003));
  expectMatrixNear(start, Matrix4x4::identity(), 0);
  // A start that scales, or mirrors the box onto itself, is no placement to refine from, though every touch
  // lies near a face under it: refused, and left as it was.
  for (const Matrix4x4& improper : {Matrix4x4::uniformScaling(1.0005),
                                    Matrix4x4::translation({1, 0, 0}) * Matrix4x4::scaling(-1, 1, 1)}) {
    Matrix4x4 given = improper;
    EXPECT_FALSE(aligner->refine(6, *points, *hints, given, false, false, 0, nullptr, .01, false, .003));
    expectMatrixNear(given, improper, 0);
  }
}

}  // namespace
