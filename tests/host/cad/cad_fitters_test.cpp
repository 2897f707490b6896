// The nominal features the CAD fitters recreate from the example parts, made by class id as the module
// makes them.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>

#include "basic_types/bit_vector.h"
#include "framework/object/query_part.h"
#include "host/cad/cad_model.h"
#include "host/document/parameters/host_bit_vector_array.h"
#include "host/document/parameters/host_single_values.h"
#include "host_api/feature_fitter.h"
#include "host_api/feature_kinds.h"
#include "host_api/feature_types.h"
#include "host_api/host_class_ids.h"
#include "support/module_fixture.h"
#include "test_paths.h"

namespace {

using Kind = BrepModel::SurfaceKind;

class CadFitters : public ModuleTest {
 protected:
  // Loads the example part as the reference object; answers its model.
  std::shared_ptr<const BrepModel> load(const std::string& name) {
    object_ = loadCadModel(host_.document().doc(), u"RefObject",
                           std::string(PALPERA_TEST_SOURCE_DIR) + "/../examples/parts/" + name + ".step");
    return cadModelById(object_->modelId());
  }

  IPtr<IZelFeature> fitFace(uint32_t face, int32_t sameFaces = 1) {
    return fit(kHostCadFaceFitterClassId, {{u"<Face Identifier>", static_cast<int32_t>(face)},
                                           {u"<Same Faces>", sameFaces},
                                           {u"<Adjacent Only>", 1},
                                           {u"<ContactDatum>", 1}});
  }
  IPtr<IZelFeature> fitEdge(uint32_t edge, IZelParameter* covered = nullptr) {
    return fit(kHostCadEdgeFitterClassId,
               {{u"<Edge Identifier>", static_cast<int32_t>(edge)}, {u"<Allow Convert To Arc>", 1}}, covered);
  }

  IPtr<HostDocObject> object_;

 private:
  IPtr<IZelFeature> fit(const ZelID& id, std::vector<std::pair<const char16_t*, int32_t>> values,
                        IZelParameter* covered = nullptr) {
    IPtr<IZelFeatureFitter> fitter;
    fitter.createInstance(id);
    EXPECT_TRUE(fitter);
    if (!fitter) return {};
    values.emplace_back(u"<CAD Model>", object_->modelId());
    for (const auto& [name, value] : values) {
      IPtr<HostIntValue> parameter(new HostIntValue);
      parameter->setValue(value);
      fitter->setParameter(ZelString(name), parameter.get());
    }
    IPtr<HostDoubleValue> offset(new HostDoubleValue);
    fitter->setParameter(ZelString(u"<Offset>"), offset.get());
    if (covered) fitter->setParameter(ZelString(u"<CadEdgeBvs>"), covered);
    IPtr<IZelFeature> feature;
    feature.takeOwnership(fitter->fit());
    return feature;
  }
};

uint32_t firstFace(const BrepModel& model, const std::function<bool(const BrepModel::Surface&)>& wanted) {
  for (uint32_t face = 1; face <= model.faceCount(); ++face) {
    if (wanted(model.surface(face))) return face;
  }
  return 0;
}

// An edge on the top face (z = 10 mm) that is a circle, or a line when lines is set.
uint32_t topEdge(const BrepModel& model, BrepModel::CurveKind kind) {
  for (uint32_t edge = 1; edge <= model.edgeCount(); ++edge) {
    const BrepModel::Curve& c = model.curve(edge);
    if (c.kind == kind && std::abs(c.start[2] - 0.01) < 1e-12 && std::abs(c.end[2] - 0.01) < 1e-12 &&
        c.start[0] > 0.001 && c.start[0] < 0.099 && c.start[1] > 0.001 && c.start[1] < 0.079)
      return edge;
  }
  return 0;
}

// The entity count and the numbers of faces and edges of the feature's CAD recreation record.
std::tuple<int32_t, uint32_t, uint32_t> recordOf(IZelFeature* feature) {
  IPtr<IZelFeatureRecreationModifier> modifier;
  modifier.getService();
  IPtr<IZelCadRecreationRecord> record;
  record.takeOwnership(modifier->cadRecord(feature));
  if (!record) return {0, 0, 0};
  BitVector faces(1), edges(1);
  faces = record->faces();
  edges = record->edges();
  return {record->entityCount(), faces.count(), edges.count()};
}

void expectVector(const Vector3& actual, const Vector3& expected, double tolerance) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

}  // namespace

TEST_F(CadFitters, TheBoresFacesGiveItsCylinderWithTheDocumentedAxisAndDiameter) {
  std::shared_ptr<const BrepModel> model = load("plate-bore");
  const uint32_t face = firstFace(*model, [](const auto& s) { return s.kind == Kind::cylinder; });
  for (int32_t sameFaces : {0, 1}) {
    SCOPED_TRACE(sameFaces);
    IPtr<IZelFeature> feature = fitFace(face, sameFaces);
    auto* cylinder = queryPart<IZelCylinder>(feature.get());
    ASSERT_TRUE(cylinder);
    EXPECT_NEAR(2 * cylinder->radius(), 0.02, 1e-9);
    const Vector3 a = cylinder->firstEnd(), b = cylinder->secondEnd();
    for (const Vector3& end : {a, b}) {
      EXPECT_NEAR(end.x, 0.05, 1e-9);
      EXPECT_NEAR(end.y, 0.04, 1e-9);
    }
    EXPECT_NEAR(std::abs(b.z - a.z), 0.01, 1e-9);
    // Made from one surface, the bore's two halves or the one half asked for.
    EXPECT_EQ(recordOf(feature.get()), std::tuple(1, sameFaces ? 2u : 1u, 0u));
  }
}

TEST_F(CadFitters, FacesGiveTheFeaturesOfTheirSurfaces) {
  {
    std::shared_ptr<const BrepModel> model = load("plate-countersink");
    IPtr<IZelFeature> feature =
        fitFace(firstFace(*model, [](const auto& s) { return s.kind == Kind::cone; }));
    auto* cone = queryPart<IZelCone>(feature.get());
    ASSERT_TRUE(cone);
    EXPECT_NEAR(cone->halfAngle(), M_PI / 4, 1e-9);
    EXPECT_NEAR(std::max(cone->radiusA(), cone->radiusB()), 0.008, 1e-9);
  }
  {
    std::shared_ptr<const BrepModel> model = load("sphere-on-stand");
    IPtr<IZelFeature> feature =
        fitFace(firstFace(*model, [](const auto& s) { return s.kind == Kind::sphere; }));
    auto* sphere = queryPart<IZelSphere>(feature.get());
    ASSERT_TRUE(sphere);
    EXPECT_NEAR(sphere->radius(), 0.015, 1e-12);
    expectVector(sphere->center(), {0.02, 0.02, 0.03}, 1e-12);
  }
  {
    std::shared_ptr<const BrepModel> model = load("plate-boss");
    const uint32_t top = firstFace(*model, [](const auto& s) {
      return s.kind == Kind::plane && s.axis[2] > 0.5 && std::abs(s.origin[2] - 0.025) < 1e-9;
    });
    IPtr<IZelFeature> feature = fitFace(top);
    auto* plane = queryPart<IZelPlane>(feature.get());
    ASSERT_TRUE(plane);
    expectVector(plane->normal(), {0, 0, 1}, 1e-12);
    EXPECT_NEAR(plane->center().z, 0.025, 1e-12);
  }
}

TEST_F(CadFitters, ASlotsEdgeLoopGivesTheDocumentedSlot) {
  struct Expected {
    const char* part;
    BrepModel::CurveKind edge;
    const char* kind;
    double length, width, corner;
  };
  const Expected table[] = {
      {"plate-oval-slot", BrepModel::CurveKind::circle, "IZelOvalSlot", 0.042, 0.012, 0},
      {"plate-rectangular-slot", BrepModel::CurveKind::line, "IZelRectangularSlot", 0.04, 0.012, 0},
      {"plate-rounded-slot", BrepModel::CurveKind::line, "IZelRoundedSlot", 0.04, 0.02, 0.008},
  };
  for (const Expected& e : table) {
    SCOPED_TRACE(e.part);
    std::shared_ptr<const BrepModel> model = load(e.part);
    IPtr<HostBitVectorArray> covered(new HostBitVectorArray);
    IPtr<IZelFeature> feature = fitEdge(topEdge(*model, e.edge), covered.get());
    ASSERT_TRUE(feature);
    void* part = nullptr;
    feature->queryInterface(e.kind, &part, false);
    ASSERT_TRUE(part);
    auto* slot = queryPart<IZelSlotOutline>(feature.get());
    expectVector(slot->center(), {0.05, 0.04, 0.01}, 1e-9);
    EXPECT_NEAR(slot->length(), e.length, 1e-9);
    EXPECT_NEAR(slot->width(), e.width, 1e-9);
    EXPECT_NEAR(std::abs(slot->axis().x), 1, 1e-9);
    if (auto* rounded = queryPart<IZelRoundedSlot>(feature.get())) {
      EXPECT_NEAR(rounded->cornerDiameter(), e.corner, 1e-9);
    }
    ASSERT_EQ(covered->count(), 1);
    BitVector edges(1);
    edges = *covered->bitVectorAt(1);
    EXPECT_GE(edges.count(), 4u);
    // Made from the plate's top and the edges of the slot's loop there.
    EXPECT_EQ(recordOf(feature.get()),
              std::tuple(static_cast<int32_t>(edges.count()) + 1, 1u, edges.count()));
  }
}

TEST_F(CadFitters, AHolesEdgeGivesItsCircle) {
  std::shared_ptr<const BrepModel> model = load("plate-bolt-circle");
  for (uint32_t edge = 1; edge <= model->edgeCount(); ++edge) {
    const BrepModel::Curve& c = model->curve(edge);
    if (c.kind != BrepModel::CurveKind::circle) continue;
    IPtr<IZelFeature> feature = fitEdge(edge);
    auto* arc = queryPart<IZelArc>(feature.get());
    ASSERT_TRUE(arc);
    EXPECT_NEAR(arc->radius(), 0.004, 1e-12);
    EXPECT_NEAR(std::hypot(arc->center().x - 0.06, arc->center().y - 0.06), 0.04, 1e-9);
  }
}

TEST_F(CadFitters, AnUnknownModelFaceOrEdgeGivesNoFeature) {
  std::shared_ptr<const BrepModel> model = load("plate-bore");
  EXPECT_FALSE(fitFace(0));
  EXPECT_FALSE(fitFace(model->faceCount() + 1));
  EXPECT_FALSE(fitEdge(model->edgeCount() + 1));
  // A feature made otherwise carries no CAD record.
  IPtr<IZelSphere> sphere;
  sphere.getService();
  EXPECT_EQ(recordOf(sphere.get()), std::tuple(0, 0u, 0u));
}
