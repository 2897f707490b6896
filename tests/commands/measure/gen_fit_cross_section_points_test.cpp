#include "commands/measure/gen_fit_cross_section_points.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "framework/host_glue/point_objects.h"
#include "framework/object/host_lookup.h"
#include "tests/commands/support/command_fixture.h"

namespace {

using Start = CommandRunner::Start;

class FitPlanarPoints : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    host_.gui().commandContainer().setWorkingSize(0.1);
  }
  // A 3 x 3 grid in z = 0, its middle point raised by lift.
  IPtr<IZelDocObject> addGrid(const char16_t* name, double lift) {
    IPtr<IZelDocObject> object = createPointObject(ZelString(name));
    RealPArray* points = getPointArray(object.get());
    for (int x = -1; x <= 1; ++x) {
      for (int y = -1; y <= 1; ++y) {
        const double p[3] = {0.01 * x, 0.01 * y, x == 0 && y == 0 ? lift : 0.0};
        points->append(p);
      }
    }
    return object;
  }
  GenFitCrossSectionPoints& command() { return *static_cast<GenFitCrossSectionPoints*>(command_.get()); }
  std::u16string proposedName() {
    FitCrossSectionPointsWidget* panel = command().curveWidget();
    return dialog().control(panel->id(FitCrossSectionPointsWidget::kName))->text;
  }
};

TEST_F(FitPlanarPoints, WarnsOnceForPointsAboveTheirPlaneOnly) {
  struct Case {
    const char* name;
    double lift;
    size_t messages;
  };
  for (const Case& c : {Case{"above", 0.002, 1}, Case{"below", -0.002, 0}}) {
    SCOPED_TRACE(c.name);
    std::vector<IPtr<IZelDocObject>> objects{addGrid(u"Flat 1", 0.0), addGrid(u"Bent", c.lift),
                                             addGrid(u"Flat 2", 0.0)};
    host_.core().errors().clear();
    ASSERT_EQ(start("GenFitCrossSectionPoints"), Start::kStarted);
    ASSERT_EQ(command().sections().size(), 3u);
    for (size_t i = 0; i < objects.size(); ++i) {
      EXPECT_EQ(command().sections()[i]->pointArray(), getPointArray(objects[i].get()));
      EXPECT_NEAR(std::abs(command().sections()[i]->plane()[2]), 1.0, 1e-9);
    }
    std::vector<std::u16string> expected(c.messages, u"Some point sets are not planar.");
    EXPECT_EQ(errorMessages(), expected);
    const int32_t before = host_.document().doc().objectCount();
    ASSERT_TRUE(runner_.apply());
    EXPECT_EQ(host_.document().doc().objectCount(), before);
    for (const IPtr<IZelDocObject>& object : objects) {
      EXPECT_EQ(getPointArray(object.get())->count(), 9);
      SPtr<IZelObjectRemover>()->removeObject(object.get(), 0, true);
    }
  }
}

TEST_F(FitPlanarPoints, HasNoFinishStatus) {
  ASSERT_EQ(start("GenFitCrossSectionPoints"), Start::kStarted);
  host_.core().assertions().clear();
  EXPECT_EQ(command().hostQuery33(), 0u);
  const auto reports = host_.core().assertions().reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].expression, "false");
  EXPECT_EQ(reports[0].file, "genfitcrosssectionpoints");
  EXPECT_EQ(reports[0].line, 215);
}

TEST_F(FitPlanarPoints, WithoutPointObjectsShowsThePanelAlone) {
  ASSERT_EQ(start("GenFitCrossSectionPoints"), Start::kStarted);
  EXPECT_TRUE(command().sections().empty());
  EXPECT_TRUE(errorMessages().empty());
  EXPECT_EQ(proposedName(), u"Curves 1");
  EXPECT_EQ(dialog().control(command().curveWidget()->id(FitCrossSectionPointsWidget::kMainBox))->text,
            u"Curve Fitting");
}

}  // namespace
