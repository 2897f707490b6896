#include <gtest/gtest.h>

#include <cmath>

#include "basic_types/zel_cstring.h"
#include "framework/iterators/zel_itr_base.h"
#include "framework/object/host_lookup.h"
#include "host/api/gfx_renderer.h"
#include "host/scene/host_scene_nodes.h"
#include "host/scene/host_shape_factory.h"
#include "host/scene/host_style_nodes.h"
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

}  // namespace
