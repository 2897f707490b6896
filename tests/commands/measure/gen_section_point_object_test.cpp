#include "commands/measure/gen_section_point_object.h"

#include <gtest/gtest.h>

#include "framework/host_glue/point_objects.h"
#include "gen/palpera/palpera_cross_section_fitters.h"
#include "tests/commands/support/command_fixture.h"

namespace {

using Start = CommandRunner::Start;

class CrossSectionPoints : public CommandTest {
 protected:
  GenSectionPointObject& command() { return *static_cast<GenSectionPointObject*>(command_.get()); }
};

TEST_F(CrossSectionPoints, TakesTheFirstPointObjectWithItsArray) {
  IPtr<IZelDocObject> first = createPointObject(ZelString(u"Points A"));
  IPtr<IZelDocObject> second = createPointObject(ZelString(u"Points B"));
  ASSERT_EQ(start("GenSectionPointObject"), Start::kStarted);
  EXPECT_EQ(command().pointObject(), first.get());
  EXPECT_EQ(command().pointArray(), getPointArray(first.get()));
  EXPECT_EQ(dialog().control(GenSectionPointObject::kSliceDepth)->name, u"SliceDepth");
  EXPECT_EQ(command().curveWidget()->name(), ZelCString("GenSectionPointObjectCurveWidegt"));
  EXPECT_EQ(command().curveWidget()->kind(), 3);
}

TEST_F(CrossSectionPoints, WithoutPointObjectsActivatesThePanelAlone) {
  ASSERT_EQ(start("GenSectionPointObject"), Start::kStarted);
  EXPECT_FALSE(command().pointObject());
  EXPECT_FALSE(command().pointArray());
  EXPECT_EQ(dialog().control(command().curveWidget()->id(FitCrossSectionPointsWidget::kName))->text,
            u"Curves 1");
}

TEST_F(CrossSectionPoints, RunsOnlyWhenTheHostIsReadyAndAllowsPointObjects) {
  HostCommandContainer& container = host_.gui().commandContainer();
  container.setReady(false);
  EXPECT_EQ(start("GenSectionPointObject"), Start::kCannotRun);
  container.setReady(true);
  container.setTypeAllowed("Point", false);
  EXPECT_EQ(start("GenSectionPointObject"), Start::kCannotRun);
  container.setTypeAllowed("Point", true);
  EXPECT_EQ(start("GenSectionPointObject"), Start::kStarted);
}

}  // namespace
