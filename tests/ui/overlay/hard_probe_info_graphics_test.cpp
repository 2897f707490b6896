#include <gtest/gtest.h>

#include <vector>

#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/object/zel_unknown_impl.h"
#include "framework/registrations/registered_classes.h"
#include "host/scene/host_scene_nodes.h"
#include "support/module_fixture.h"
#include "ui/overlay/info_graphics_iterator.h"
#include "ui/overlay/single_frame_visibility_source.h"

namespace {

// Renders a plain picture of a fixed size, as often as the overlay asks.
class PlainPicture : public HardProbeInfoGraphics::ImageSource, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PlainPicture";
  PlainPicture(uint32_t width, uint32_t height) : width_(width), height_(height) {}

  bool needsUpdate() override { return true; }
  bool render(IZelImage* image) override {
    HostImage* target = queryPart<HostImage>(image);
    if (!target) return false;
    target->setPicture({width_, height_, std::vector<uint8_t>(size_t{width_} * height_ * 4, 0xff)});
    return true;
  }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf(interfaceName, this, this).end();
  }
  const char* className() override { return interfaceName; }

 private:
  uint32_t width_, height_;
};

class InfoGraphicsTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    overlay_.createInstance(classIdOf("HardProbeInfoGraphics"));
    graphics_ = queryPart<HardProbeInfoGraphics>(overlay_.get());
    ASSERT_TRUE(graphics_);
    const auto& rootChildren = host_.document().graphics().root().children();
    ASSERT_EQ(rootChildren.size(), 1u);
    separator_ = queryPart<HostVisibilitySensitiveNode>(rootChildren[0].get());
    ASSERT_TRUE(separator_);
    ASSERT_EQ(separator_->children().size(), 2u);
    drawing_ = queryPart<HostStaticIteratorNode>(separator_->children()[1].get());
    ASSERT_TRUE(drawing_);
  }

  HostGfxViewMgr& views() { return host_.scene().view(); }
  std::vector<Vector3> drawFrame() {
    int32_t format = 0;
    return drawing_->drawFrame(format);
  }

  IPtr<IZelUnknown> overlay_;
  HardProbeInfoGraphics* graphics_ = nullptr;
  HostVisibilitySensitiveNode* separator_ = nullptr;
  HostStaticIteratorNode* drawing_ = nullptr;
};

TEST_F(InfoGraphicsTest, IsOneSubgraphUnderTheSceneRootDrawnOverTheModelAndLeftOutOfFits) {
  EXPECT_EQ(separator_->name(), "hard probe info graphics separator");
  auto* depthTest = queryPart<HostDepthTestNode>(separator_->children()[0].get());
  ASSERT_TRUE(depthTest);
  EXPECT_FALSE(depthTest->depthTest());
  EXPECT_FALSE(drawing_->inBounds());
  EXPECT_EQ(drawing_->iterator()->hint(), 16400);

  IPtr<IZelUnknown> again;
  again.createInstance(classIdOf("HardProbeInfoGraphics"));
  EXPECT_EQ(again.get(), overlay_.get());
  EXPECT_EQ(host_.document().graphics().root().children().size(), 1u);

  again.release();
  overlay_.release();
  detachFromHost();  // the module ends: the scene keeps nothing of it
  EXPECT_TRUE(host_.document().graphics().root().children().empty());
}

TEST_F(InfoGraphicsTest, EachLayoutShowsTheOverlayInOneViewOnly) {
  struct Case {
    int32_t mode;
    int32_t shownIn;  // -1: every view, -2: none
  };
  for (const Case& c : {Case{0, -1}, Case{1, 1}, Case{4, 1}, Case{6, 1}, Case{2, 0}, Case{3, 0}, Case{5, 0},
                        Case{7, 2}, Case{8, -2}, Case{12, -2}}) {
    views().setLayoutMode(c.mode);
    for (int32_t view = 0; view < 4; ++view) {
      views().setCurrentIndex(view);
      EXPECT_EQ(separator_->drawnInCurrentView(), c.shownIn == -1 || c.shownIn == view)
          << "mode " << c.mode << " view " << view;
    }
  }
  EXPECT_FALSE(separator_->source()->isPickable());
}

TEST_F(InfoGraphicsTest, WithoutAViewManagerTheOverlayIsReportedAndNotDrawn) {
  host_.root().setService("IGfxViewMgr", nullptr);
  IPtr<IZelVisibilitySource> source(new HardProbeInfoGraphics::SingleFrameVisibilitySource);
  EXPECT_FALSE(source->isVisible());
  ASSERT_EQ(host_.core().assertions().reports().size(), 1u);
  EXPECT_EQ(host_.core().assertions().reports()[0].expression, "viewMgr_");
  EXPECT_EQ(host_.core().assertions().reports()[0].file, "hardprobeinfographics");
}

TEST_F(InfoGraphicsTest, TheImageEndsAtTheViewsTopRightCornerOncePerFrame) {
  EXPECT_TRUE(drawFrame().empty()) << "no image source: nothing drawn";
  graphics_->iterator()->setImageSource(IPtr<PlainPicture>(new PlainPicture(200, 100)).get());

  int32_t format = 0;
  std::vector<Vector3> vertices = drawing_->drawFrame(format);
  ASSERT_EQ(vertices.size(), 1u);
  EXPECT_EQ(format, 10);
  EXPECT_DOUBLE_EQ(vertices[0].x, 0.5);
  EXPECT_NEAR(vertices[0].y, 0.6667, 1e-4);
  EXPECT_EQ(vertices[0].z, 0);
  EXPECT_TRUE(drawing_->drawAgain(format).empty()) << "a second begin without a reset";

  Matrix4x4 shift;
  shift.m[3] = 10;
  host_.scene().genGfx().setViewToScene(2, shift);
  views().setCurrentIndex(2);
  host_.scene().view().scene().setSize(100, 50);  // narrower than the image: it starts left of the view
  vertices = drawFrame();
  ASSERT_EQ(vertices.size(), 1u);
  EXPECT_DOUBLE_EQ(vertices[0].x, 10 - 3);
  EXPECT_DOUBLE_EQ(vertices[0].y, -3);

  for (auto [width, height] : {std::pair{0, 600}, std::pair{800, 0}}) {
    host_.scene().view().scene().setSize(width, height);
    EXPECT_TRUE(drawFrame().empty()) << width << " x " << height;
  }
}

}  // namespace
