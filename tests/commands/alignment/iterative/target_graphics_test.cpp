// The target graphics, built into a separator of the stand-in host's scene and drawn as the host draws.

#include "commands/alignment/iterative/target_graphics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "host/cad/cad_model.h"
#include "host/cad/mesh_shapes.h"
#include "host/scene/host_material_nodes.h"
#include "host/scene/host_style_nodes.h"
#include "platform/utf8.h"
#include "support/module_fixture.h"

namespace {

using Target = PalperaIterativeAlignmentCmd::Target;
using Primitive = HostStaticIteratorNode::Primitive;

HostNode& nodeOf(const IPtr<IZelUnknown>& held) {
  return *queryPart<HostNode>(held.get());
}

// The child of node with that name, the index-th of them.
HostNode& child(HostNode& node, const std::string& name, size_t index = 0) {
  for (const IPtr<IZelUnknown>& held : node.children()) {
    if (nodeOf(held).name() == name && index-- == 0) return nodeOf(held);
  }
  ADD_FAILURE() << "no child " << name;
  return node;
}

// The node kinds (class names) of node's children, in order.
template <class Kind>
std::vector<Kind*> childrenOf(HostNode& node) {
  std::vector<Kind*> found;
  for (const IPtr<IZelUnknown>& held : node.children()) {
    if (Kind* kind = queryPart<Kind>(held.get())) found.push_back(kind);
  }
  return found;
}

class TargetGraphicsTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    reference_ = addCadModel(host_.document().doc(), u"RefObject", boxMesh({0, 0, 0}, {.2, .1, .02}).get());
    root_ = createNode<IZelSeparatorNode>(nullptr, "root");
    ASSERT_TRUE(root_);
    graphics_ =
        std::make_unique<TargetGraphics>(queryPart<IZelGroupNode>(root_.get()), entries_, reference_.get());
  }
  void TearDown() override {
    graphics_.reset();
    root_.release();
    ModuleTest::TearDown();
  }

  TargetData& addTarget(const Vector3& point, double criticalDistance = .02, double tolerance = .001) {
    TargetData& entry = entries_.emplace_back();
    entry.nominal = IPtr<Target>(new Target);
    entry.nominal->name = ZelString(("Target " + std::to_string(entries_.size())).c_str());
    entry.nominal->point = point;
    entry.nominal->direction = {0, 0, 1};
    entry.nominal->criticalDistance = criticalDistance;
    entry.tolerance = tolerance;
    return entry;
  }
  HostNode& scene(size_t target) { return nodeOf(queryPart<HostNode>(root_.get())->children().at(target)); }
  HostNode& bullseye(size_t target) { return child(scene(target), "bullseye separator"); }
  // The shapes drawn under a node, in order.
  std::vector<std::vector<Primitive>> shapes(HostNode& node) {
    std::vector<std::vector<Primitive>> drawn;
    for (HostStaticIteratorNode* shape : childrenOf<HostStaticIteratorNode>(node))
      drawn.push_back(shape->drawPrimitives());
    return drawn;
  }
  ColorRGBA bullseyeColor(size_t target) {
    ColorSet material;
    EXPECT_TRUE(childrenOf<HostMaterialSourceNode>(bullseye(target)).at(0)->drawnMaterial(material));
    return material.diffuse;
  }
  bool highlighted(size_t target) {
    return childrenOf<HostVisibilitySensitiveNode>(bullseye(target)).at(0)->drawnInCurrentView();
  }

  IPtr<HostDocObject> reference_;
  IPtr<IZelSeparatorNode> root_;
  std::vector<TargetData> entries_;
  std::unique_ptr<TargetGraphics> graphics_;
};

double radiusOf(const Vector3& vertex, const Vector3& centre) {
  return (vertex - centre).length();
}

void expectColor(const ColorRGBA& actual, const ColorRGBA& expected, double tolerance) {
  EXPECT_NEAR(actual.r, expected.r, tolerance);
  EXPECT_NEAR(actual.g, expected.g, tolerance);
  EXPECT_NEAR(actual.b, expected.b, tolerance);
  EXPECT_EQ(actual.a, expected.a);
}

TEST(BullseyeRadiiTest, GoldenRatioRadiiAndDashWidths) {
  const BullseyeRadii radii(.02);
  EXPECT_NEAR(radii.r1, .00381966, 1e-8);
  EXPECT_NEAR(radii.r2, .00763932, 1e-8);
  EXPECT_EQ(radii.r3, .01);
  EXPECT_NEAR(radii.r4, .0105, 1e-15);
  EXPECT_NEAR(radii.r5, .01286068, 1e-8);
  EXPECT_NEAR(toleranceDashHalfWidth(.001, .02), .00002618, 1e-8);
  EXPECT_NEAR(toleranceDashHalfWidth(.01, .02), .0002, 1e-15);  // tolerance ≥ r2: 1% of the distance
  EXPECT_EQ(toleranceDashHalfWidth(0, 0), 0);
  EXPECT_EQ(toleranceDashHalfWidth(.001, 0), 0);
}

TEST_F(TargetGraphicsTest, SceneOfATargetInItsOrder) {
  addTarget({.05, .03, .02});
  graphics_->buildTargetGraphics();
  ASSERT_EQ(queryPart<HostNode>(root_.get())->children().size(), 1u);
  std::vector<std::string> names;
  for (const IPtr<IZelUnknown>& held : scene(0).children()) names.push_back(nodeOf(held).name());
  EXPECT_EQ(names,
            (std::vector<std::string>{"bullseye separator", "label separator", "tolerance zone separator"}));
  EXPECT_FALSE(scene(0).inBounds());
  const std::vector<HostStaticIteratorNode*> drawn = childrenOf<HostStaticIteratorNode>(bullseye(0));
  ASSERT_EQ(drawn.size(), 4u);  // arrow, two rings, disc
  for (HostStaticIteratorNode* node : drawn) EXPECT_FALSE(node->inBounds());
  EXPECT_EQ(drawn[1]->iterator()->className(), std::string("RingIterator"));
  EXPECT_EQ(drawn[3]->iterator()->className(), std::string("DiscIterator"));
  EXPECT_EQ(drawn[1]->iterator()->hint(), 1092);

  // The arrow: from the centre along the normal, as long as half the critical distance.
  const std::vector<Primitive> arrow = drawn[0]->drawPrimitives();
  ASSERT_FALSE(arrow.empty());
  ASSERT_EQ(arrow[0].vertices.size(), 2u);
  EXPECT_EQ(arrow[0].vertices[0], (Vector3{.05, .03, .02}));
  EXPECT_NEAR(arrow[0].vertices[1].z, .03, 1e-15);

  auto* label = childrenOf<HostTextNode>(child(scene(0), "label separator")).at(0);
  EXPECT_EQ(platform::toUtf8(label->text().c_str()), "Target 1");
  EXPECT_EQ(label->anchor(), (Vector3{.05, .03, .02}));
  EXPECT_EQ(label->offsetX(), 0.5);
  EXPECT_EQ(label->offsetY(), -1.0);
  EXPECT_EQ(label->pointSize(), 23);
  EXPECT_TRUE(label->onTop());
  expectColor(label->color(), {0.1f, 0.1f, 0.1f, 1}, 0);
  expectColor(label->background(), {1, 1, 0.8f, 1}, 0);

  host_.gui().guiThemes().setThemeChosen(false);
  graphics_->buildTargetGraphics();
  label = childrenOf<HostTextNode>(child(scene(0), "label separator")).at(0);
  expectColor(label->color(), {0.5f, 0.5f, 0.5f, 1}, 0);
  expectColor(label->background(), {0.5f, 0.5f, 0.5f, 1}, 0);
}

TEST_F(TargetGraphicsTest, ShapesWalkTheirVerticesInOrder) {
  const Vector3 centre{.05, .03, .02};
  addTarget(centre);
  graphics_->buildTargetGraphics();
  const BullseyeRadii radii(.02);
  const std::vector<std::vector<Primitive>> drawn = shapes(bullseye(0));

  const std::vector<Primitive>& ring = drawn[1];
  ASSERT_EQ(ring.size(), 1u);
  EXPECT_EQ(ring[0].type, 5);
  ASSERT_EQ(ring[0].vertices.size(), 98u);
  const double step = 2 * std::acos(-1.0) / 48;
  const Vector3 first = ring[0].vertices[0] - centre;
  for (size_t i : {size_t{0}, size_t{1}, size_t{2}, size_t{96}, size_t{97}}) {
    SCOPED_TRACE(i);
    const Vector3 at = ring[0].vertices[i] - centre;
    // Even vertices on the inner radius at i/2 steps, odd ones on the outer at (i + 1)/2 steps.
    EXPECT_NEAR(at.length(), i % 2 ? radii.r3 : radii.r2, 1e-15);
    const double angle = std::atan2(Vector3::cross(first, at).z, first.dot(at));
    const double expected = std::remainder(((i + 1) / 2) * step, 2 * std::acos(-1.0));
    EXPECT_NEAR(angle, expected, 1e-12);
    EXPECT_EQ(ring[0].normals[i], (Vector3{0, 0, 1}));
  }

  const std::vector<Primitive>& disc = drawn[3];
  ASSERT_EQ(disc.size(), 1u);
  EXPECT_EQ(disc[0].type, 6);
  ASSERT_EQ(disc[0].vertices.size(), 49u);
  EXPECT_NEAR((disc[0].vertices.front() - disc[0].vertices.back()).length(), 0, 1e-12);
  EXPECT_NEAR(radiusOf(disc[0].vertices[7], centre), radii.r1, 1e-15);

  const std::vector<Primitive> zone = shapes(child(scene(0), "tolerance zone separator")).at(0);
  ASSERT_EQ(zone.size(), 16u);
  for (const Primitive& dash : zone) {
    EXPECT_EQ(dash.type, 5);
    ASSERT_EQ(dash.vertices.size(), 4u);
    EXPECT_NEAR(radiusOf(dash.vertices[0], centre), .00097382, 1e-8);
    EXPECT_NEAR(radiusOf(dash.vertices[3], centre), .00102618, 1e-8);
  }
  // A dash of one step, then a gap of two: the next dash starts three steps on.
  const Vector3 a = zone[0].vertices[0] - centre, b = zone[1].vertices[0] - centre;
  EXPECT_NEAR(std::acos(a.dot(b) / (a.length() * b.length())), 3 * step, 1e-9);
  // Drawing again walks the same shape from the start.
  EXPECT_EQ(shapes(child(scene(0), "tolerance zone separator")).at(0)[5].vertices, zone[5].vertices);
}

TEST_F(TargetGraphicsTest, ZoneDashesForLargeAndZeroTolerances) {
  addTarget({0, 0, 0}, .02, .01);
  addTarget({.1, 0, 0}, 0, 0);
  addTarget({.1, .05, 0}, 0, .001);
  graphics_->buildTargetGraphics();
  const std::vector<Primitive> wide = shapes(child(scene(0), "tolerance zone separator")).at(0);
  EXPECT_NEAR(radiusOf(wide[0].vertices[0], {0, 0, 0}), .0098, 1e-12);
  EXPECT_NEAR(radiusOf(wide[0].vertices[1], {0, 0, 0}), .0102, 1e-12);
  for (size_t target : {size_t{1}, size_t{2}}) {
    SCOPED_TRACE(target);
    const Vector3 centre = entries_[target].nominal->point;
    for (const std::vector<Primitive>& shape : shapes(child(scene(target), "tolerance zone separator"))) {
      for (const Primitive& dash : shape) {
        EXPECT_EQ(radiusOf(dash.vertices[0], centre), radiusOf(dash.vertices[1], centre));  // width 0
        for (const Vector3& v : dash.vertices) EXPECT_TRUE(std::isfinite(v.x + v.y + v.z));
      }
    }
    for (const std::vector<Primitive>& shape : shapes(bullseye(target))) {
      for (const Primitive& primitive : shape) {
        for (const Vector3& v : primitive.vertices) EXPECT_TRUE(std::isfinite(v.x + v.y + v.z));
      }
    }
  }
}

TEST_F(TargetGraphicsTest, ColoursAndHighlightFollowTheEntriesAtEveryDraw) {
  addTarget({0, 0, 0});
  addTarget({.1, 0, 0});
  graphics_->buildTargetGraphics();
  expectColor(bullseyeColor(0), {0.7f, 0, 0, 1}, 1e-6);
  entries_[0].setInZone(true);
  expectColor(bullseyeColor(0), {0.1f, 1, 0.1f, 1}, 1e-6);
  entries_[0].inTolerance = true;
  expectColor(bullseyeColor(0), {0, 0.7f, 0, 1}, 1e-6);
  expectColor(bullseyeColor(1), {0.7f, 0, 0, 1}, 1e-6);
  // The disc has the same source as the outer ring.
  ColorSet disc;
  ASSERT_TRUE(childrenOf<HostMaterialSourceNode>(bullseye(0)).at(1)->drawnMaterial(disc));
  expectColor(disc.diffuse, {0, 0.7f, 0, 1}, 1e-6);

  EXPECT_FALSE(highlighted(0));
  entries_[1].setCurrent(true);
  EXPECT_FALSE(highlighted(0));
  EXPECT_TRUE(highlighted(1));
  const HostMaterialNode* magenta =
      childrenOf<HostMaterialNode>(
          *queryPart<HostNode>(childrenOf<HostVisibilitySensitiveNode>(bullseye(1)).at(0)))
          .at(0);
  expectColor(magenta->material().diffuse, {1, 0, 1, 1}, 0);
}

TEST_F(TargetGraphicsTest, SurfacePointSphereShowsTheToleranceState) {
  TargetData& entry = addTarget({.05, .03, .02});
  entry.surface = IPtr<Target>(new Target);
  entry.surface->point = {.0505, .03, .02};
  entry.inTolerance = true;
  addTarget({.1, .03, .02}).surface = IPtr<Target>(new Target);
  graphics_->buildTargetGraphics();
  HostNode& inside = child(scene(0), "surface point separator");
  expectColor(childrenOf<HostColorNode>(inside).at(0)->color(), {0.190983f, 0.190983f, 0.190983f, 1}, 1e-6);
  EXPECT_EQ(childrenOf<HostMatrixNode>(inside).at(0)->matrix().m[3], .0505);
  EXPECT_EQ(childrenOf<HostSphereNode>(inside).at(0)->radius(), 1.0);
  // The sphere is 0.005 of the reference's size: 0.2 m here.
  EXPECT_NEAR(childrenOf<HostMatrixSourceNode>(inside).at(0)->drawnMatrix().m[0], .001, 1e-15);
  auto* dual = childrenOf<HostDualMaterialSourceNode>(inside).at(0);
  ASSERT_TRUE(dual->front());
  EXPECT_EQ(queryPart<HostThemeMaterialSource>(dual->front())->themeName(), "MaterialLocationSet");
  expectColor(childrenOf<HostColorNode>(child(scene(1), "surface point separator")).at(0)->color(),
              {0.5f, 0, 0, 1}, 0);
}

TEST_F(TargetGraphicsTest, EntriesAddedOrRemovedAfterABuildAreNeverReadThroughStalePlaces) {
  addTarget({0, 0, 0});
  graphics_->buildTargetGraphics();
  entries_[0].setCurrent(true);
  // Growing the list moves its entries: the sources find theirs again by the nominal target.
  for (int i = 0; i < 40; ++i) addTarget({.001 * i, .05, 0});
  EXPECT_TRUE(highlighted(0));
  expectColor(bullseyeColor(0), {0.7f, 0, 0, 1}, 1e-6);
  entries_.erase(entries_.begin());
  EXPECT_FALSE(highlighted(0));
  graphics_->buildTargetGraphics();
  EXPECT_EQ(queryPart<HostNode>(root_.get())->children().size(), 40u);
  // Ending the graphics empties the root, so nothing left in the view asks about the list.
  graphics_.reset();
  EXPECT_TRUE(queryPart<HostNode>(root_.get())->children().empty());
}

}  // namespace
