#include <gtest/gtest.h>

#include <cmath>

#include "basic_types/zel_cstring.h"
#include "framework/iterators/zel_itr_base.h"
#include "framework/object/host_lookup.h"
#include "host/document/features/host_point.h"
#include "host/scene/host_gen_gfx_service.h"
#include "host/scene/host_scene_nodes.h"
#include "host/scene/host_shape_factory.h"
#include "host/scene/host_style_nodes.h"
#include "host_api/gfx_renderer.h"
#include "host_api/host_class_ids.h"
#include "host_api/host_commands.h"
#include "support/module_fixture.h"

namespace {

using SceneServices = ModuleTest;

HostNode* nodePart(IZelUnknown* node) {
  void* part = nullptr;
  node->queryInterface(HostNode::interfaceName, &part, false);
  return static_cast<HostNode*>(part);
}

TEST_F(SceneServices, ATextNodeMadeUnderAParentBelongsToIt) {
  IPtr<IZelText> parent(createNode<IZelText>(nullptr, "labels"));
  ASSERT_TRUE(parent);
  IZelText* child = createNode<IZelText>(parent.get(), "node");
  ASSERT_NE(child, nullptr);
  const auto& children = nodePart(parent.get())->children();
  ASSERT_EQ(children.size(), 1u);
  EXPECT_EQ(children[0].get(), static_cast<IZelUnknown*>(child));
  EXPECT_EQ(nodePart(child)->name(), "node");
  EXPECT_EQ(child->refCount(), 1u) << "the parent's reference alone";
}

TEST_F(SceneServices, AnUnknownInterfaceAForeignParentOrTheWrongOperationMakesNothing) {
  IZelNodeFactory& factory = host_.scene().nodeFactory();
  IPtr<IZelText> parent(createNode<IZelText>(nullptr, "labels"));
  IPtr<ZelItrBase> notANode(new ZelItrBase);
  ZelCString text(IZelText::interfaceName), empty(""), prefix("IZelTex"), noNodeKind(IZelItr::interfaceName);
  struct Case {
    const char* what;
    IZelUnknown* made;
  };
  for (const Case& refused : {
           Case{"no interface name", factory.createNode(nullptr, parent.get(), "n")},
           Case{"an empty name", factory.createNode(&empty, parent.get(), "n")},
           Case{"a prefix of a known name", factory.createNode(&prefix, parent.get(), "n")},
           Case{"an interface no node has", factory.createNode(&noNodeKind, parent.get(), "n")},
           Case{"a parent that is no node", factory.createNode(&text, notANode.get(), "n")},
           Case{"a text node drawing an iterator",
                factory.createNodeWithIterator(&text, parent.get(), "n", notANode.get())},
       }) {
    SCOPED_TRACE(refused.what);
    EXPECT_EQ(refused.made, nullptr);
  }
  EXPECT_TRUE(nodePart(parent.get())->children().empty());
}

TEST(ShapeFactory, ATriadNeedsANodeOfTheSceneAsItsParent) {
  IPtr<HostShapeFactory> shapes(new HostShapeFactory);
  IPtr<ZelItrBase> notANode(new ZelItrBase);
  EXPECT_EQ(shapes->createCoordinateSystem(notANode.get(), 0, 1, 1, 1, 1, false, nullptr), nullptr);
  EXPECT_EQ(shapes->createCoordinateSystem(nullptr, 0, 1, 1, 1, 1, false, nullptr), nullptr);

  IPtr<HostGroupNode> parent(new HostGroupNode("parent"));
  IZelUnknown* triad = shapes->createCoordinateSystem(parent.get(), 2, 1, 1, 1, 1, true, nullptr);
  ASSERT_EQ(parent->children().size(), 1u);
  EXPECT_EQ(parent->children()[0].get(), triad);
  EXPECT_EQ(triad->refCount(), 1u) << "the parent's reference alone";
}

TEST_F(SceneServices, AnUnmatchedRendererEndIsNotedNotTaken) {
  SPtr<IGfxRenderer> renderer;
  renderer->endUpdate();
  const HostGfxRenderer::Counts counts = host_.scene().renderer().counts();
  EXPECT_EQ(std::tuple(counts.unmatchedEnds, counts.depth), std::tuple(1, 0));
}

// Gives the object one point feature at each of the centres.
void addPointFeatures(HostDocObject& object, std::initializer_list<Vector3> centres) {
  auto* manager = queryPart<IZelFeatureSubObjectMgr>(object.attachedObject(kFeatureSubObjectsClassId));
  for (const Vector3& centre : centres) {
    IPtr<HostPoint> point(new HostPoint);
    point->setPosition(centre.x, centre.y, centre.z);
    IPtr<IZelFeatureSubObject> shown;
    shown.takeOwnership(manager->createSubObject(point.get()));
    queryPart<IZelSubObjectMgr>(manager)->addSubObject(shown.get());
  }
}

using GraphicsService = ModuleTest;

TEST_F(GraphicsService, AnObjectsBoxIsItsFeaturesBoxesInTheWorld) {
  HostGenGfxService& graphics = host_.scene().genGfx();
  DocObjectDescription description{
      "Point", u"Moved", std::array<double, 16>{1, 0, 0, 1, 0, 1, 0, 2, 0, 0, 1, 3, 0, 0, 0, 1}, {}, {}};
  IPtr<HostDocObject> object = host_.document().doc().add(description, false);
  double box[6] = {7, 7, 7, 7, 7, 7};
  EXPECT_FALSE(graphics.objectBox(object.get(), box)) << "no features yet";
  EXPECT_FALSE(graphics.objectBox(nullptr, box));
  EXPECT_EQ(box[0], 7);
  addPointFeatures(*object, {{0, 0, 0}, {.5, -1, .25}});
  ASSERT_TRUE(graphics.objectBox(object.get(), box));
  const double expected[6] = {1, 1, 3, 1.5, 2, 3.25};
  for (int i = 0; i < 6; ++i) EXPECT_DOUBLE_EQ(box[i], expected[i]) << i;
}

TEST_F(GraphicsService, AViewWindowFillsTheViewKeepingItsProportionsAndADegenerateOneChangesNothing) {
  HostGenGfxService& graphics = host_.scene().genGfx();
  const double window[4] = {0, 0, .5, .25};
  ASSERT_TRUE(graphics.setViewWindow(0, window));
  Matrix4x4 viewToScene;
  graphics.spaceTransform(viewToScene, 1, 4, 0, 0);
  const Vector3 corner = Matrix4x4::transformPoint(viewToScene, {1, 1, 0});
  EXPECT_DOUBLE_EQ(corner.x, .5);
  EXPECT_DOUBLE_EQ(corner.y, .375) << "the longer side fills the view";
  const double refused[][4] = {{0, 0, 0, 1}, {0, 0, 1, -1}, {0, 0, NAN, 1}, {0, 0, 1, INFINITY}};
  for (const auto& bad : refused) EXPECT_FALSE(graphics.setViewWindow(0, bad));
  Matrix4x4 after;
  graphics.spaceTransform(after, 1, 4, 0, 0);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(after.m[i], viewToScene.m[i]);
}

IPtr<HostDocObject> addPoints(StandinHost& host, const char16_t* name,
                              std::initializer_list<Vector3> centres) {
  IPtr<HostDocObject> object = host.document().doc().add({"Point", name, {}, {}, {}}, false);
  addPointFeatures(*object, centres);
  return object;
}

TEST_F(GraphicsService, FitAllFramesTheShownObjectsInEveryViewAndRefusesAnEmptyScene) {
  HostGenGfxService& graphics = host_.scene().genGfx();
  const Matrix4x4 before = Matrix4x4::translation({5, 5, 5});
  graphics.setViewToScene(0, before);
  EXPECT_FALSE(graphics.fitAll(-1, true, 0)) << "nothing to frame";
  addPoints(host_, u"Empty", {});
  EXPECT_FALSE(graphics.fitAll(-1, true, 0)) << "an object without features has no box";
  Matrix4x4 view;
  graphics.spaceTransform(view, 1, 4, 0, 0);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(view.m[i], before.m[i]) << "a refused fit changes nothing";

  addPoints(host_, u"Shown", {{1, 2, 3}, {5, 3, 3.5}});
  IPtr<HostDocObject> hidden = addPoints(host_, u"Hidden", {{100, 100, 100}});
  hidden->setProperty("Visible", false);
  EXPECT_FALSE(graphics.fitAll(-1, true, -1)) << "a negative margin";
  ASSERT_TRUE(graphics.fitAll(-1, true, 0));
  for (int32_t index : {-1, 0}) {
    SCOPED_TRACE(index);
    graphics.spaceTransform(view, 4, 1, 0, index);
    const Vector3 low = Matrix4x4::transformPoint(view, {1, 2, 3});
    const Vector3 high = Matrix4x4::transformPoint(view, {5, 3, 3.5});
    EXPECT_DOUBLE_EQ(low.x, -1) << "the widest side fills the view";
    EXPECT_DOUBLE_EQ(high.x, 1);
    EXPECT_DOUBLE_EQ(low.y, -.25) << "proportions kept";
    EXPECT_DOUBLE_EQ(high.z, .125);
  }
  ASSERT_TRUE(graphics.fitAll(0, false, 10));
  graphics.spaceTransform(view, 4, 1, 0, 0);
  EXPECT_NEAR(Matrix4x4::transformPoint(view, {100, 100, 100}).x, 1 / 1.1, 1e-12)
      << "hidden included, 10% margin";
}

TEST_F(SceneServices, ASphereKeepsOnlyARealRadiusAndTheThemeKnowsItsOneMaterial) {
  IZelSphereNode* sphere = createNode<IZelSphereNode>(nullptr, "sphere");
  ASSERT_TRUE(sphere);
  IPtr<IZelSphereNode> held(sphere);
  for (double bad : {0.0, -1.0, std::nan(""), HUGE_VAL}) EXPECT_FALSE(sphere->setRadius(bad)) << bad;
  EXPECT_EQ(static_cast<HostSphereNode*>(nodePart(sphere))->radius(), 1.0);
  IPtr<IZelThemeMaterialSource> theme;
  theme.getService();
  ASSERT_TRUE(theme);
  ColorSet material;
  material.integer = 7;
  EXPECT_FALSE(theme->getMaterial(material)) << "no name yet";
  theme->setThemeName("ColorHardProbedPoints");
  EXPECT_FALSE(theme->getMaterial(material));
  EXPECT_EQ(material.integer, 7) << "untouched";
  theme->setThemeName("MaterialLocationSet");
  EXPECT_TRUE(theme->getMaterial(material));
  EXPECT_EQ(material.diffuse.r, 0.5f);
}

TEST_F(GraphicsService, TheResetViewCommandGivesEveryViewTheDefaultAndOnlyKnownCommandsRun) {
  HostGenGfxService& graphics = host_.scene().genGfx();
  graphics.setViewToScene(0, Matrix4x4::translation({5, 5, 5}));
  SPtr<IHostCommandService> commands;
  ASSERT_TRUE(commands);
  EXPECT_FALSE(commands->runCommand("GenZoomCmd"));
  EXPECT_FALSE(commands->runCommand(nullptr));
  ASSERT_TRUE(commands->runCommand("GenResetViewCmd"));
  Matrix4x4 view;
  graphics.spaceTransform(view, 1, 4, 0, 0);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(view.m[i], Matrix4x4::identity().m[i]) << i;
  EXPECT_EQ(host_.scene().commands().runs("GenResetViewCmd"), 1);
  EXPECT_EQ(host_.scene().commands().runs("GenZoomCmd"), 0);
}

}  // namespace
