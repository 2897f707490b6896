// What the 3-2-1 device alignment shows in the view: markers, reference planes, the probed points' frame
// and the probed points after an alignment, read back from the stand-in host's scene.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "box_reference_points.h"
#include "commands/alignment/device_to_part/probed_point_graphics.h"
#include "commands/alignment/device_to_part/reference_plane_graphics.h"
#include "commands/alignment/iterative/aligner_context.h"
#include "commands/alignment/iterative/closest_point_finder.h"
#include "commands/alignment/plane_probing/probed_points_frame.h"
#include "framework/host_glue/point_objects.h"
#include "framework/object/query_part.h"
#include "host/document/host_point_objects.h"
#include "host/scene/host_alignment_widgets.h"
#include "host/scene/host_scene_nodes.h"
#include "host/scene/host_style_nodes.h"
#include "support/module_fixture.h"
#include "support/nodes_under.h"

namespace {

class AlignmentGraphics : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    reference_ = createPointObject(ZelString(u"RefObject"));
    ASSERT_TRUE(reference_);
  }
  HostNode& referenceNode() {
    return *queryPart<HostNode>(host_.document().graphics().objectNode(reference_.get()));
  }

  IPtr<IZelDocObject> reference_;
  IPtr<DeviceToPartReferencePlanes> data_{new DeviceToPartReferencePlanes};
};

TEST_F(AlignmentGraphics, MarkersShowOnlyThePointsOfTheirPlane) {
  IPtr<ReferencePointMarkers> markers{
      new ReferencePointMarkers(host_.document().graphics().objectNode(reference_.get()))};
  data_->attach(markers.get());
  for (int i = 0; i < 3; ++i) data_->setPoint(1, i, {0.1 * i, 0.2 * (i == 2), 0});
  std::vector<HostMarkersWidget*> widgets = nodesUnder<HostMarkersWidget>(referenceNode());
  ASSERT_EQ(widgets.size(), 1u);
  EXPECT_EQ(widgets[0]->size(), 9);
  EXPECT_EQ(widgets[0]->describe(), "0 at (0, 0, 0), 1 at (0.1, 0, 0), 2 at (0.2, 0.2, 0)");

  markers->setPlane(2);
  data_->setPoint(2, 0, {0.5, 0, 0});
  EXPECT_EQ(widgets[0]->describe(), "0 at (0.5, 0, 0)") << "plane 1's points are not shown";
  data_->detach(markers.get());
  markers.release();
  EXPECT_TRUE(nodesUnder<HostMarkersWidget>(referenceNode()).empty());
}

TEST_F(AlignmentGraphics, PlanesShowInTheirColoursAndAnInvalidPlaneHidesThoseBuiltOnIt) {
  IPtr<ReferencePlaneWidgets> planes{new ReferencePlaneWidgets(reference_.get())};
  data_->attach(planes.get());
  std::vector<HostObjectPlaneWidget*> widgets = nodesUnder<HostObjectPlaneWidget>(referenceNode());
  ASSERT_EQ(widgets.size(), 3u);
  ASSERT_TRUE(widgets[0]->color() && widgets[0]->material());
  EXPECT_EQ(widgets[0]->color()->r, 1.0f);
  EXPECT_EQ(widgets[0]->color()->g, 0.0f);
  EXPECT_NEAR(widgets[0]->material()->diffuse.r, 1.0, 1e-6);
  EXPECT_NEAR(widgets[0]->material()->diffuse.g, 0.7, 1e-6);
  EXPECT_NEAR(widgets[0]->material()->diffuse.b, 0.7, 1e-6);
  EXPECT_NEAR(widgets[2]->material()->diffuse.b, 1.0, 1e-6);

  setBoxReferencePoints(*data_);
  for (HostObjectPlaneWidget* widget : widgets) EXPECT_TRUE(widget->visible());
  EXPECT_EQ(widgets[0]->plane().d, 0.02);

  data_->setPoint(1, 2, {0.3, 0, 0.02});  // on the line of the other two
  for (HostObjectPlaneWidget* widget : widgets) EXPECT_FALSE(widget->visible());
  data_->detach(planes.get());
  planes.release();
  EXPECT_TRUE(nodesUnder<HostObjectPlaneWidget>(referenceNode()).empty()) << "taken off the object";
}

TEST_F(AlignmentGraphics, ProbedPointsAreHalfColouredSpheresUnderTheHardwareMatrix) {
  const Matrix4x4 hardware = Matrix4x4::translation({0.1, 0.2, 0.3});
  ProbedPointGraphics graphics;
  graphics.draw({{{0, 0, 0}, {1, 0, 0, 1}}, {{0.1, 0, 0}, {0, 1, 0, 1}}}, hardware, reference_.get());
  HostGroupNode& root = host_.document().graphics().root();
  EXPECT_EQ(nodesUnder<HostSphereNode>(root).size(), 2u);
  std::vector<HostColorNode*> colors = nodesUnder<HostColorNode>(root);
  ASSERT_EQ(colors.size(), 2u);
  EXPECT_EQ(colors[0]->color().r, 0.5f);
  EXPECT_EQ(colors[1]->color().g, 0.5f);
  EXPECT_EQ(colors[1]->color().a, 1.0f);
  std::vector<HostMatrixNode*> matrices = nodesUnder<HostMatrixNode>(root);
  ASSERT_EQ(matrices.size(), 3u);
  EXPECT_EQ(matrices[0]->matrix().m[3], 0.1) << "the hardware matrix alone: the points carry the scale";
  // The spheres sit half inside the part: the depth test goes off before the first of them.
  HostNode& group = *queryPart<HostNode>(root.children().back().get());
  std::vector<std::string> order;
  for (const IPtr<IZelUnknown>& child : group.children())
    order.push_back(queryPart<HostNode>(child.get())->name());
  const auto depthTest = std::ranges::find(order, "depth test off");
  ASSERT_NE(depthTest, order.end());
  EXPECT_LT(depthTest - order.begin(), std::ranges::find(order, "probed point") - order.begin());
  ASSERT_EQ(nodesUnder<HostDepthTestNode>(root).size(), 1u);
  EXPECT_FALSE(nodesUnder<HostDepthTestNode>(root)[0]->depthTest());

  graphics.draw({}, hardware, reference_.get());
  EXPECT_TRUE(nodesUnder<HostSphereNode>(root).empty());
  EXPECT_EQ(nodesUnder<HostMatrixNode>(root).size(), 1u);
  graphics.clear();
  EXPECT_TRUE(nodesUnder<HostMatrixNode>(root).empty());
}

TEST_F(AlignmentGraphics, TheThirdProbedPointRefitsTheViewOnceWhenOneLiesOutside) {
  HostGenGfxService& view = host_.scene().genGfx();
  view.setViewToScene(-1, Matrix4x4::uniformScaling(0.1));
  Matrix4x4 before;
  ASSERT_TRUE(view.spaceTransform(before, 1, 4, 0, -1));
  {
    ProbedPointsFrame frame;
    frame.addPoint({0.5, 0, 0});
    frame.addPoint({0, 0.5, 0});
    Matrix4x4 now;
    view.spaceTransform(now, 1, 4, 0, -1);
    EXPECT_EQ(now.m[0], before.m[0]) << "two points never refit";
    frame.addPoint({0, 0, 0});
    view.spaceTransform(now, 1, 4, 0, -1);
    EXPECT_NE(now.m[0], before.m[0]);
    for (const Vector3& p : {Vector3(0.5, 0, 0), Vector3(0, 0.5, 0), Vector3(0, 0, 0)}) {
      Matrix4x4 toView;
      view.spaceTransform(toView, 4, 1, 0, -1);
      const Vector3 q = Matrix4x4::transformPoint(toView, p);
      EXPECT_LE(std::abs(q.x), 1.0);
      EXPECT_LE(std::abs(q.y), 1.0);
    }
  }
  EXPECT_EQ(host_.document().doc().findObject(ZelString(u"points")), nullptr) << "gone with the frame";
}

TEST_F(AlignmentGraphics, TheFramesPointModelHearsOfEveryPointAddedOrTakenBack) {
  ProbedPointsFrame frame;
  IZelPoints* model = pointsOf(host_.document().doc().findObject(ZelString(u"points")));
  ASSERT_TRUE(model);
  auto* hostPoints = queryPart<HostPoints>(model);
  ASSERT_TRUE(hostPoints);
  frame.addPoint({0.1, 0, 0});
  frame.addPoint({0.2, 0, 0});
  EXPECT_EQ(hostPoints->updates(), 2);
  frame.removeLastPoint();
  EXPECT_EQ(model->array()->count(), 1);
  EXPECT_EQ(model->array()->at(1)[0], 0.1);
  EXPECT_EQ(hostPoints->updates(), 3);
  frame.removeLastPoint();
  frame.removeLastPoint();
  EXPECT_EQ(hostPoints->updates(), 4) << "nothing to take back, nothing to tell";
}

TEST_F(AlignmentGraphics, AssertionsNameTheSourceAndLineTheLogHasAlwaysShown) {
  ReferencePointMarkers markers(nullptr);
  markers.setPlane(4);
  markers.update(*data_);
  std::vector<TargetData> targets;
  EXPECT_FALSE(createAlignerContext(nullptr, targets));
  EXPECT_FALSE(createPointFinder(nullptr));
  const auto reports = host_.core().assertions().reports();
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_EQ(std::tuple(reports[0].expression, reports[0].file, reports[0].line),
            std::tuple(std::string("plane_ >= 1 && plane_ <= 3"),
                       std::string("palperadevicetopartalignmentcmd"), 981));
  for (size_t i : {1, 2}) {
    EXPECT_EQ(reports[i].expression, "refObj_");
    EXPECT_EQ(reports[i].file, "palperaiterativealignmentcmd");
  }
}

}  // namespace
