#include "commands/measure/multiple_planes_widget.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <utility>
#include <vector>

#include "framework/object/query_part.h"
#include "host/scene/host_scene_nodes.h"
#include "host/scene/host_shape_factory.h"
#include "host/scene/host_style_nodes.h"
#include "support/module_fixture.h"

namespace {

// Stands in for the owning command: a 0.2 by 0.2 rectangle in the plane z = 0.1, once there is one.
class RectangleOwner : public SectionPlanesOwner {
 public:
  bool planeRectangle(std::array<Vector3, 4>& corners) override {
    if (!hasRectangle) return false;
    corners = {Vector3{0, 0, 0.1}, Vector3{0.2, 0, 0.1}, Vector3{0.2, 0.2, 0.1}, Vector3{0, 0.2, 0.1}};
    return true;
  }
  bool hasRectangle = true;
};

class MultiplePlanes : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    ASSERT_TRUE(widget_->buildGui(&dialog(), nullptr));
    widget_->setSize(0.1);
    ASSERT_TRUE(widget_->activate());
    widget_->setBasePlane({0.0, 0.0, 1.0, 0.1});
  }
  HostGuiDialog& dialog() { return host_.gui().dialog(); }
  int32_t id(int32_t offset) { return widget_->idBase() + offset; }
  std::vector<double> distances() {
    SectionPlaneList planes;
    EXPECT_TRUE(widget_->computePlanes(planes));
    std::vector<double> d;
    for (int32_t i = 1; i <= planes.count(); ++i) {
      EXPECT_EQ(planes.at(i).normal(), widget_->basePlane().normal());
      d.push_back(planes.at(i).d);
    }
    return d;
  }

  HostGroupNode& root() { return host_.document().graphics().root(); }
  int32_t redraws() { return host_.scene().renderer().counts().redraws; }
  // The shapes the widget's node draws now.
  std::vector<HostStaticIteratorNode::Primitive> drawn() {
    if (root().children().size() != 1) return {};
    auto* separator = queryPart<HostNode>(root().children()[0].get());
    for (const auto& child : separator->children()) {
      if (auto* node = queryPart<HostStaticIteratorNode>(child.get())) return node->drawPrimitives();
    }
    return {};
  }

  RectangleOwner owner_;
  IPtr<MultiplePlanesWidget> widget_{new MultiplePlanesWidget(owner_)};
};

void expectNear(const std::vector<double>& actual, const std::vector<double>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i) EXPECT_NEAR(actual[i], expected[i], 1e-12) << "plane " << i + 1;
}

TEST_F(MultiplePlanes, LaysOutTheFamilyByCountLayoutAndFlip) {
  struct Case {
    const char* name;
    int32_t sections;
    int32_t layout;
    bool flip;
    std::vector<double> d;
  };
  const std::vector<Case> cases = {
      {"centred", 4, MultiplePlanesWidget::kCentered, false, {0.085, 0.095, 0.105, 0.115}},
      {"centred flipped", 4, MultiplePlanesWidget::kCentered, true, {0.115, 0.105, 0.095, 0.085}},
      {"one way", 3, MultiplePlanesWidget::kOneWay, false, {0.1, 0.11, 0.12}},
      {"one way flipped", 3, MultiplePlanesWidget::kOneWay, true, {0.1, 0.09, 0.08}},
      {"one centred", 1, MultiplePlanesWidget::kCentered, true, {0.1}},
      {"one one way", 1, MultiplePlanesWidget::kOneWay, true, {0.1}},
  };
  ASSERT_TRUE(dialog().enterValue(id(MultiplePlanesWidget::kSpacing), 10)) << "10 mm, in the user's unit";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(dialog().enterValue(id(MultiplePlanesWidget::kNumSections), c.sections));
    // The flip is set while "One Way" allows it; "Centered" then disables the toggle but keeps the flip.
    ASSERT_TRUE(dialog().chooseEntry(id(MultiplePlanesWidget::kLayout), MultiplePlanesWidget::kOneWay));
    if (widget_->flip() != c.flip) {
      ASSERT_TRUE(dialog().pressButton(id(MultiplePlanesWidget::kFlip)));
    }
    ASSERT_TRUE(dialog().chooseEntry(id(MultiplePlanesWidget::kLayout), c.layout));
    EXPECT_EQ(dialog().isControlEnabled(id(MultiplePlanesWidget::kFlip)),
              c.layout == MultiplePlanesWidget::kOneWay);
    expectNear(distances(), c.d);
  }
}

// The flip is what the box holds, however often the same value is given to it.
TEST_F(MultiplePlanes, TheFlipIsWhatTheBoxHolds) {
  ASSERT_TRUE(dialog().chooseEntry(id(MultiplePlanesWidget::kLayout), MultiplePlanesWidget::kOneWay));
  ASSERT_TRUE(dialog().enterValue(id(MultiplePlanesWidget::kNumSections), 2));
  ASSERT_TRUE(dialog().enterValue(id(MultiplePlanesWidget::kSpacing), 10));
  const std::pair<int32_t, std::vector<double>> entries[] = {
      {1, {0.1, 0.09}}, {1, {0.1, 0.09}}, {0, {0.1, 0.11}}, {0, {0.1, 0.11}}, {1, {0.1, 0.09}}};
  for (const auto& [value, d] : entries) {
    SCOPED_TRACE(value);
    ASSERT_TRUE(dialog().enterValue(id(MultiplePlanesWidget::kFlip), value));
    EXPECT_EQ(widget_->flip(), value != 0);
    expectNear(distances(), d);
  }
}

TEST_F(MultiplePlanes, AnInvalidBasePlaneGivesNoPlanes) {
  SectionPlaneList planes;
  ASSERT_TRUE(widget_->computePlanes(planes));
  ASSERT_EQ(planes.count(), 5);
  widget_->setBasePlane({0.0, 0.0, 0.0, 0.1});
  EXPECT_FALSE(widget_->computePlanes(planes));
  EXPECT_EQ(planes.count(), 0);
}

TEST_F(MultiplePlanes, DrawsTheOwnersRectangleOnEachPlaneWhileActive) {
  ASSERT_EQ(root().children().size(), 1u);
  auto* separator = queryPart<HostNode>(root().children()[0].get());
  ASSERT_TRUE(separator);
  EXPECT_EQ(separator->name(), "MultiplePlanesWidget graphics");
  ASSERT_EQ(separator->children().size(), 2u);
  auto* color = queryPart<HostColorNode>(separator->children()[0].get());
  ASSERT_TRUE(color);
  EXPECT_EQ(color->name(), "node");
  EXPECT_EQ(color->color().g, HostShapeFactory::kDepthBorder.g);

  ASSERT_TRUE(dialog().enterValue(id(MultiplePlanesWidget::kSpacing), 10));
  ASSERT_TRUE(dialog().enterValue(id(MultiplePlanesWidget::kNumSections), 2));
  std::vector<HostStaticIteratorNode::Primitive> shapes = drawn();
  ASSERT_EQ(shapes.size(), 2u);
  for (size_t i = 0; i < shapes.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(shapes[i].type, 2);
    ASSERT_EQ(shapes[i].vertices.size(), 4u);
    EXPECT_NEAR(shapes[i].vertices[2].x, 0.2, 1e-12);
    EXPECT_NEAR(shapes[i].vertices[2].y, 0.2, 1e-12);
    for (const Vector3& corner : shapes[i].vertices) EXPECT_NEAR(corner.z, 0.1 + 0.01 * double(i), 1e-12);
  }

  owner_.hasRectangle = false;  // the corners stay those last given
  shapes = drawn();
  ASSERT_EQ(shapes.size(), 2u);
  EXPECT_NEAR(shapes[1].vertices[0].z, 0.11, 1e-12);

  widget_->setBasePlane({0.0, 0.0, 0.0, 0.1});
  EXPECT_TRUE(drawn().empty());

  widget_->deactivate();
  EXPECT_TRUE(root().children().empty());
}

TEST_F(MultiplePlanes, WithoutTheShapeFactoryThePlanesAreDrawnWithoutTheBorderColour) {
  widget_->deactivate();
  host_.root().setService("IZelShapeFactory", nullptr);
  ASSERT_TRUE(widget_->activate());
  ASSERT_EQ(root().children().size(), 1u);
  auto* separator = queryPart<HostNode>(root().children()[0].get());
  ASSERT_EQ(separator->children().size(), 1u);
  EXPECT_TRUE(queryPart<HostStaticIteratorNode>(separator->children()[0].get()));
  EXPECT_EQ(drawn().size(), 5u);
}

TEST_F(MultiplePlanes, EveryChangeOfTheFamilyAsksForARedraw) {
  const auto changes = std::vector<std::pair<const char*, std::function<bool()>>>{
      {"flip", [&] { return dialog().pressButton(id(MultiplePlanesWidget::kFlip)); }},
      {"count", [&] { return dialog().enterValue(id(MultiplePlanesWidget::kNumSections), 3); }},
      {"spacing", [&] { return dialog().enterValue(id(MultiplePlanesWidget::kSpacing), 7); }},
      {"layout", [&] { return dialog().chooseEntry(id(MultiplePlanesWidget::kLayout), 0); }},
  };
  for (const auto& [name, change] : changes) {
    SCOPED_TRACE(name);
    const int32_t before = redraws();
    ASSERT_TRUE(change());
    EXPECT_EQ(redraws(), before + 1);
  }
}

TEST_F(MultiplePlanes, ActivationScalesTheSpacingToTheWorkingSizeAndClearsTheFlip) {
  ASSERT_TRUE(dialog().pressButton(id(MultiplePlanesWidget::kFlip)));
  ASSERT_TRUE(widget_->flip());
  widget_->setSize(0.5);
  ASSERT_TRUE(widget_->activate());
  EXPECT_FALSE(widget_->flip());
  EXPECT_EQ(dialog().control(id(MultiplePlanesWidget::kFlip))->value, 0) << "the box shows it cleared";
  ASSERT_TRUE(dialog().enterValue(id(MultiplePlanesWidget::kFlip), 1));
  EXPECT_TRUE(widget_->flip()) << "a value entered is taken as a click";
  HostGuiDialog::Control spacing = dialog().control(id(MultiplePlanesWidget::kSpacing)).value();
  EXPECT_DOUBLE_EQ(spacing.value, 0.05);
  EXPECT_DOUBLE_EQ(spacing.minimum, 5e-7);
  EXPECT_DOUBLE_EQ(spacing.maximum, 5000.0);
  HostGuiDialog::Control sections = dialog().control(id(MultiplePlanesWidget::kNumSections)).value();
  EXPECT_EQ(sections.value, 5.0);
  EXPECT_EQ(sections.maximum, 1000.0);
  EXPECT_EQ(dialog().control(id(MultiplePlanesWidget::kMainBox))->text, u"Multiple Sections");
}

}  // namespace
