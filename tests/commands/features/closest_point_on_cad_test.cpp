// The module's closest point on CAD, driven as its callers drive it, on a box loaded into the host's
// document.

#include <gtest/gtest.h>

#include <cmath>

#include "commands/features/closest_point_on_cad.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "host/cad/cad_model.h"
#include "host/cad/cad_surface_model.h"
#include "host/cad/mesh_shapes.h"
#include "support/module_fixture.h"

namespace {

class ClosestPointOnCadTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    IPtr<HostDocObject> object =
        addCadModel(host_.document().doc(), u"RefObject", boxModel({0, 0, 0}, {0.1, 0.08, 0.01}));
    surface_ = queryPart<CadSurfaceModel>(object->subObject("SurfModel"));
    ASSERT_TRUE(surface_);
    closest_.getService();
    ASSERT_TRUE(closest_);
  }

  const BrepModel& brep() const { return surface_->brep(); }

  CadSurfaceModel* surface_ = nullptr;
  IPtr<IZelClosestPointOnCad> closest_;
};

void expectCoordinatesNear(const Vector3& actual, const Vector3& expected, double tolerance) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// The answers carry single-precision coordinates.
constexpr double kSingle = 1e-7;

TEST_F(ClosestPointOnCadTest, EveryCallerHandsItsOwnFormOfTheModel) {
  IZelMeshExt* mesh = queryPart<IZelMeshExt>(surface_);
  IZelUnknown* forms[] = {mesh, mesh->cadModel(), mesh->topology()};
  for (IZelUnknown* form : forms) {
    SCOPED_TRACE(form->className());
    ASSERT_TRUE(closest_->setCadModel(form));
    Vector3 closest;
    ASSERT_TRUE(closest_->computeClosestPoint({0.03, 0.02, 0.02}, closest));
    expectCoordinatesNear(closest, {0.03, 0.02, 0.01}, kSingle);
  }
}

TEST_F(ClosestPointOnCadTest, AbovePlaneFaceTheFaceWinsAndTheEdgeIsTheNearestEdge) {
  ASSERT_TRUE(closest_->setCadModel(surface_->cadModel()));
  Vector3 closest, facePoint, edgePoint;
  uint32_t face = 0, edge = 0;
  ASSERT_TRUE(closest_->computeClosestPoint({0.03, 0.02, 0.02}, closest));
  ASSERT_TRUE(closest_->getClosestFace(face, facePoint));
  expectCoordinatesNear(facePoint, {0.03, 0.02, 0.01}, kSingle);
  EXPECT_EQ(brep().surface(face).kind, BrepModel::SurfaceKind::plane);
  EXPECT_NEAR(brep().surface(face).axis[2], 1.0, 1e-12);
  // The edge answer is the query's own nearest edge, the top one along x at y = 0, not the face point again.
  ASSERT_TRUE(closest_->getClosestEdge(edge, edgePoint));
  expectCoordinatesNear(edgePoint, {0.03, 0, 0.01}, kSingle);
  const BrepModel::Curve& curve = brep().curve(edge);
  EXPECT_EQ(curve.kind, BrepModel::CurveKind::line);
  EXPECT_NEAR(curve.start[1], 0, 1e-12);
  EXPECT_NEAR(curve.start[2], 0.01, 1e-12);
  EXPECT_NE(edgePoint, facePoint);

  // Where the face is located, the CAD object gives the exact point and the outward normal.
  ZelMeshLocation location;
  ASSERT_TRUE(closest_->locate(location, closest));
  double point[3], normal[3];
  ASSERT_TRUE(surface_->cadModel()->evaluate(location, point, normal));
  expectCoordinatesNear({point[0], point[1], point[2]}, {0.03, 0.02, 0.01}, kSingle);
  expectCoordinatesNear({normal[0], normal[1], normal[2]}, {0, 0, 1}, 1e-12);
}

TEST_F(ClosestPointOnCadTest, NearAnEdgeTheEdgeIsNearestAndTheFacePointLiesOnAFace) {
  ASSERT_TRUE(closest_->setCadModel(surface_->cadModel()));
  Vector3 closest, facePoint, edgePoint;
  uint32_t face = 0, edge = 0;
  ASSERT_TRUE(closest_->computeClosestPoint({0.05, -0.001, 0.011}, closest));
  expectCoordinatesNear(closest, {0.05, 0, 0.01}, kSingle);
  ASSERT_TRUE(closest_->getClosestEdge(edge, edgePoint));
  expectCoordinatesNear(edgePoint, {0.05, 0, 0.01}, kSingle);
  ASSERT_TRUE(closest_->getClosestFace(face, facePoint));
  const std::array<uint32_t, 2> sides = brep().edgeFaces(edge);
  EXPECT_TRUE(face == sides[0] || face == sides[1]);
}

TEST_F(ClosestPointOnCadTest, WithoutAModelEveryOperationAnswersFalse) {
  IPtr<HostMesh> plainMesh = boxMesh({0, 0, 0}, {1, 1, 1});
  for (IZelUnknown* model :
       {static_cast<IZelUnknown*>(nullptr), static_cast<IZelUnknown*>(plainMesh.get())}) {
    // A model attached first must be forgotten by the refused one.
    ASSERT_TRUE(closest_->setCadModel(surface_));
    EXPECT_FALSE(closest_->setCadModel(model));
    Vector3 point;
    uint32_t id = 7;
    ZelMeshLocation location;
    EXPECT_FALSE(closest_->computeClosestPoint({0, 0, 1}, point));
    EXPECT_FALSE(closest_->getClosestEdge(id, point));
    EXPECT_FALSE(closest_->getClosestFace(id, point));
    EXPECT_FALSE(closest_->locate(location, point));
    EXPECT_EQ(id, 7u);
  }
}

TEST_F(ClosestPointOnCadTest, BeforeAnyQueryNoEdgeOrFaceIsAnswered) {
  ASSERT_TRUE(closest_->setCadModel(surface_));
  Vector3 point;
  uint32_t id = 0;
  EXPECT_FALSE(closest_->getClosestEdge(id, point));
  EXPECT_FALSE(closest_->getClosestFace(id, point));
}

TEST_F(ClosestPointOnCadTest, AnotherModelReplacesTheFirstAndNullDetaches) {
  IPtr<HostDocObject> other =
      addCadModel(host_.document().doc(), u"Other", boxModel({1, 1, 1}, {1.1, 1.08, 1.01}));
  auto* otherSurface = queryPart<CadSurfaceModel>(other->subObject("SurfModel"));
  // Made by class id as well as by name, the object answers the same.
  IPtr<IZelClosestPointOnCad> made;
  made.createInstance(classIdOf("ZelClosestPointOnCad"));
  ASSERT_TRUE(made);
  Vector3 closest;
  for (IZelClosestPointOnCad* object : {closest_.get(), made.get()}) {
    ASSERT_TRUE(object->setCadModel(surface_));
    ASSERT_TRUE(object->setCadModel(otherSurface));
    ASSERT_TRUE(object->computeClosestPoint({1.03, 1.02, 1.02}, closest));
    expectCoordinatesNear(closest, {1.03, 1.02, 1.01}, kSingle);
    EXPECT_FALSE(object->setCadModel(nullptr));
    EXPECT_FALSE(object->computeClosestPoint({1.03, 1.02, 1.02}, closest));
  }
}

}  // namespace
