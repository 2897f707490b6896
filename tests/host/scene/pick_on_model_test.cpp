#include <gtest/gtest.h>

#include <cfloat>
#include <vector>

#include "framework/object/iptr.h"
#include "host/cad/cad_model.h"
#include "host/cad/mesh_shapes.h"
#include "host_api/gfx_view.h"
#include "host_api/pick_on_model.h"
#include "host_api/view_input.h"
#include "host_api/zel_mesh.h"
#include "support/module_fixture.h"

namespace {

using Vector = std::vector<double>;

// Exact in binary for the shapes below; rotation by 90 degrees brings cosines of order 1e-17.
constexpr double kTolerance = 1e-12;

void expectNear(const double* actual, const Vector& expected) {
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(actual[k], expected[k], kTolerance) << "component " << k;
}

// Picks as the emulator does: the mouse data of the ray, the picker prepared from it, the object picked.
class PickOnModel : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    box_ = boxMesh({0, 0, 0}, {2, 4, 1});
  }

  IPtr<IZelPickOnModel> pick(IZelDocObject* object, Vector origin, Vector direction) {
    IPtr<IZelMouseData> mouse;
    mouse.getService();
    mouse->setMouseData(
        IPtr<HostGfxMouseData>(
            new HostGfxMouseData(
                {0, 0, 0, {origin[0], origin[1], origin[2]}, {direction[0], direction[1], direction[2]}}))
            .get());
    IPtr<IZelPickOnModel> picker;
    picker.getService();
    EXPECT_TRUE(picker->prepare(mouse.get()));
    hit_ = picker->pick(object);
    return picker;
  }

  IPtr<HostMesh> box_;
  bool hit_ = false;
};

TEST_F(PickOnModel, ARayHitsTheNearestFaceFromEitherSideWithItsOutwardNormalOrMissesAndLeavesNoHit) {
  struct Case {
    const char* what;
    Vector origin, direction;
    bool hits;
    Vector point, normal;
  };
  const Case cases[] = {
      {"onto the top", {0.5, 3, 10}, {0, 0, -1}, true, {0.5, 3, 1}, {0, 0, 1}},
      {"through the bottom, facing the ray", {1, 1, -5}, {0, 0, 1}, true, {1, 1, 0}, {0, 0, -1}},
      {"along the diagonal the top's two triangles share", {1, 2, 5}, {0, 0, -1}, true, {1, 2, 1}, {0, 0, 1}},
      {"pointing away", {0.5, 3, 10}, {0, 0, 1}, false, {}, {}},
      {"passing by", {3, 3, 10}, {0, 0, -1}, false, {}, {}},
  };
  auto object = addCadModel(host_.document().doc(), u"RefObject", box_.get());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    IPtr<IZelPickOnModel> picker = pick(object.get(), c.origin, c.direction);
    double point[3], normal[3];
    ASSERT_EQ(hit_, c.hits);
    ASSERT_EQ(picker->hitPoint(point), c.hits);
    EXPECT_EQ(picker->hitElement() >= 0, c.hits);
    if (!c.hits) continue;
    ASSERT_TRUE(picker->hitNormal(normal));
    expectNear(point, c.point);
    expectNear(normal, c.normal);
  }
}

TEST_F(PickOnModel, AnObjectWithoutAValidSurfaceModelIsNeverHit) {
  IPtr<HostMesh> badIndex(new HostMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 3}}));
  DocObjectDescription::Transform flattened{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};  // no inverse
  for (const IPtr<HostDocObject>& object :
       {host_.document().doc().add({"Plane", u"Plane 1", std::nullopt, {}, {}}, false),
        addCadModel(host_.document().doc(), u"Broken", badIndex.get()),
        addCadModel(host_.document().doc(), u"Flat", box_.get(), flattened)}) {
    pick(object.get(), {0.2, 0.2, 10}, {0, 0, -1});
    EXPECT_FALSE(hit_);
  }
  EXPECT_FALSE(IPtr<HostMesh>(new HostMesh({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, {{0, 1, 2}}))->isValid());
}

// The hit lies on the top's triangle (0,0,1) (2,4,1) (0,4,1): a point outside it projects to its nearest edge
// or corner.
TEST_F(PickOnModel, TheCadObjectsSurfaceModelRefinesAHitByProjectionOntoItsElementsNearestPoint) {
  auto object = addCadModel(host_.document().doc(), u"RefObject", box_.get());
  ASSERT_TRUE(object->isType("CAD"));
  void* part = nullptr;
  object->subObject("SurfModel")->queryInterface(IZelMeshExt::interfaceName, &part, false);
  auto* mesh = static_cast<IZelMeshExt*>(part);
  ASSERT_TRUE(mesh);
  IPtr<IZelPickOnModel> picker = pick(object.get(), {0.5, 3, 10}, {0, 0, -1});
  ZelMeshHandle handle = mesh->handle();
  ZelMeshLocation location;
  ASSERT_TRUE(mesh->locate(handle, picker->hitElement(), &location));
  EXPECT_EQ(location.u, FLT_MAX);
  double point[3], normal[3];
  EXPECT_FALSE(mesh->evaluate(handle, location, point, normal)) << "not projected yet";
  const double above[3] = {0.5, 3, 1.25}, beyondEdge[3] = {-1, 2, 3}, beyondCorner[3] = {-1, 5, 0};
  for (const auto& [from, onto] :
       {std::pair{above, Vector{0.5, 3, 1}}, std::pair{beyondEdge, Vector{0, 2, 1}},
        std::pair{beyondCorner, Vector{0, 4, 1}}}) {
    ASSERT_TRUE(mesh->project(handle, from, &location));
    ASSERT_TRUE(mesh->evaluate(handle, location, point, normal));
    expectNear(point, onto);
    expectNear(normal, {0, 0, 1});
  }
  IPtr<HostMesh> other = boxMesh({0, 0, 0}, {1, 1, 1});
  EXPECT_FALSE(mesh->project(other->handle(), above, &location)) << "a handle of another mesh";
  EXPECT_FALSE(mesh->locate(handle, box_->elementCount(), &location));
}

}  // namespace
