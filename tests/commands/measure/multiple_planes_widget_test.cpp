#include "commands/measure/multiple_planes_widget.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/module_fixture.h"

namespace {

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

  IPtr<MultiplePlanesWidget> widget_{new MultiplePlanesWidget};
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

TEST_F(MultiplePlanes, AnInvalidBasePlaneGivesNoPlanes) {
  SectionPlaneList planes;
  ASSERT_TRUE(widget_->computePlanes(planes));
  ASSERT_EQ(planes.count(), 5);
  widget_->setBasePlane({0.0, 0.0, 0.0, 0.1});
  EXPECT_FALSE(widget_->computePlanes(planes));
  EXPECT_EQ(planes.count(), 0);
}

TEST_F(MultiplePlanes, ActivationScalesTheSpacingToTheWorkingSizeAndClearsTheFlip) {
  ASSERT_TRUE(dialog().pressButton(id(MultiplePlanesWidget::kFlip)));
  ASSERT_TRUE(widget_->flip());
  widget_->setSize(0.5);
  ASSERT_TRUE(widget_->activate());
  EXPECT_FALSE(widget_->flip());
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
