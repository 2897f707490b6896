#include "commands/measure/fit_cross_section_points_widget.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/object/host_lookup.h"
#include "host/fitting/host_curve_fit_data.h"
#include "host_api/zel_doc.h"
#include "support/module_fixture.h"

namespace {

using Panel = FitCrossSectionPointsWidget;

class CurveFittingPanel : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    ASSERT_TRUE(panel_->buildGui(&dialog(), nullptr));
    panel_->setWorkingSize(0.5);
  }
  HostGuiDialog& dialog() { return host_.gui().dialog(); }
  HostGuiDialog::Control control(int32_t offset) { return dialog().control(panel_->id(offset)).value(); }
  void addCurve(const char16_t* name) {
    SPtr<IZelObjectBuilder> builder;
    builder->beginObject("Curve", ZelString(name), false);
    IPtr<IZelDocObject> curve;
    curve.takeOwnership(builder->endObject(true));
  }
  std::u16string proposedName() {
    EXPECT_TRUE(panel_->activate());
    return control(Panel::kName).text;
  }

  IPtr<Panel> panel_{new Panel(nullptr, 1)};
};

TEST_F(CurveFittingPanel, BuildsItsRowsInOneLayoutBatch) {
  EXPECT_EQ(dialog().closedBatches(), 1);
  EXPECT_EQ(dialog().openBatches(), 0);
  EXPECT_EQ(dialog().layoutRefreshes(), 1);
  EXPECT_EQ(dialog().openLayouts(), 0u);
}

TEST_F(CurveFittingPanel, ProposesTheNextFreeCurveNumberOfTheCurrentPhase) {
  EXPECT_EQ(proposedName(), u"Curves 1");
  // Curves of another phase, and names without a number that fits, do not count.
  host_.document().doc().setCurrentPhase(2);
  addCurve(u"Curves 40");
  host_.document().doc().setCurrentPhase(1);
  addCurve(u"Curvesx");
  addCurve(u"Curves 99999999999");
  addCurve(u"Curves 2147483647");
  EXPECT_EQ(proposedName(), u"Curves 1");
  addCurve(u"Curves 3b");
  EXPECT_EQ(proposedName(), u"Curves 4");
  addCurve(u"Curves 1");
  addCurve(u"Curves 7");
  EXPECT_EQ(proposedName(), u"Curves 8");
  addCurve(u"Curves\t1 2");
  EXPECT_EQ(proposedName(), u"Curves 13");
}

TEST_F(CurveFittingPanel, ScalesItsLengthsToTheWorkingSize) {
  ASSERT_TRUE(panel_->activate());
  struct Case {
    int32_t offset;
    double value, minimum, maximum;
  };
  for (const Case& c : {Case{Panel::kDistance, 0.005, 5e-7, 0.5}, Case{Panel::kTolerance, 0.0005, 5e-8, 0.5},
                        Case{Panel::kLineArcTolerance, 0.001, 5e-8, 0.5}}) {
    SCOPED_TRACE(c.offset);
    HostGuiDialog::Control field = control(c.offset);
    EXPECT_DOUBLE_EQ(field.value, c.value);
    EXPECT_DOUBLE_EQ(field.minimum, c.minimum);
    EXPECT_DOUBLE_EQ(field.maximum, c.maximum);
  }
  EXPECT_EQ(control(Panel::kMainBox).text, u"Curve Fitting");
  EXPECT_EQ(control(Panel::kControlPoints).value, 20.0);
  EXPECT_EQ(control(Panel::kMultipleCurveObjects).value, 1.0);
}

TEST_F(CurveFittingPanel, SwitchesTheFieldsOfTheChosenCurveType) {
  ASSERT_TRUE(panel_->activate());
  auto shown = [&] {
    std::vector<int32_t> on;
    for (int32_t k : {5, 7, 8, 9, 10, 11, 12, 13})
      if (control(k).flag) on.push_back(k);
    return on;
  };
  EXPECT_EQ(shown(), (std::vector<int32_t>{5, 8, 9, 13}));
  ASSERT_TRUE(dialog().chooseEntry(panel_->id(Panel::kFitting), Panel::kConstant));
  EXPECT_EQ(shown(), (std::vector<int32_t>{5, 8, 12, 13}));
  ASSERT_TRUE(dialog().chooseEntry(panel_->id(Panel::kCurveType), Panel::kLineArc));
  EXPECT_EQ(shown(), (std::vector<int32_t>{7, 11}));
}

TEST_F(CurveFittingPanel, FillsTheCurveFitRecordForEachChoice) {
  ASSERT_TRUE(panel_->activate());
  ASSERT_TRUE(dialog().enterValue(panel_->id(Panel::kTension), 0.25));
  struct Case {
    const char* name;
    int32_t curveType, fitting, method;
    int32_t mode;
  };
  for (const Case& c : {Case{"distance", Panel::kSpline, Panel::kByDistance, Panel::kLocal, 0},
                        Case{"tolerance", Panel::kSpline, Panel::kByTolerance, Panel::kLocal, 1},
                        Case{"constant", Panel::kSpline, Panel::kConstant, Panel::kLocal, 3},
                        Case{"line/arc local", Panel::kLineArc, Panel::kByDistance, Panel::kLocal, 4},
                        Case{"line/arc global", Panel::kLineArc, Panel::kByDistance, Panel::kGlobal, 5}}) {
    SCOPED_TRACE(c.name);
    dialog().chooseEntry(panel_->id(Panel::kCurveType), c.curveType);
    dialog().chooseEntry(panel_->id(Panel::kFitting), c.fitting);
    dialog().chooseEntry(panel_->id(Panel::kFittingMethod), c.method);
    IPtr<HostCurveFitData> record(new HostCurveFitData);
    panel_->fillCurveFitData(record.get());
    EXPECT_EQ(record->mode(), c.mode);
    EXPECT_EQ(record->tension(), 0.25);
    switch (c.mode) {
      case 0:
        EXPECT_EQ(record->spacing(), 0.005);
        EXPECT_EQ(record->spacingLimit(), -1.0);
        break;
      case 1:
        EXPECT_EQ(record->tolerance(), 0.0005);
        break;
      case 3:
        EXPECT_EQ(record->controlPoints(), 20);
        break;
      default:
        EXPECT_EQ(record->tolerance(), 0.001);
        EXPECT_FALSE(record->spacing());
    }
  }
}

TEST_F(CurveFittingPanel, ACreaseAngleTypedInOnePanelStartsTheNext) {
  ASSERT_TRUE(panel_->activate());
  ASSERT_TRUE(dialog().enterValue(panel_->id(Panel::kCreaseAngle), 42.5));
  IPtr<Panel> next(new Panel(nullptr, 3));
  ASSERT_TRUE(next->buildGui(&dialog(), nullptr));
  ASSERT_TRUE(next->activate());
  EXPECT_EQ(dialog().control(next->id(Panel::kCreaseAngle))->value, 42.5);
}

TEST_F(CurveFittingPanel, TheFlipToggleFlipsTheOffset) {
  ASSERT_TRUE(dialog().pressButton(panel_->id(Panel::kFlipOffset)));
  EXPECT_TRUE(panel_->flipOffset());
  ASSERT_TRUE(dialog().pressButton(panel_->id(Panel::kFlipOffset)));
  EXPECT_FALSE(panel_->flipOffset());
}

}  // namespace
