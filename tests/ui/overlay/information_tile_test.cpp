#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "host/core/module_path.h"
#include "host/gui/host_xaml_renderer.h"
#include "host/scene/host_frame.h"
#include "platform/file.h"
#include "support/module_fixture.h"
#include "support/module_settings.h"
#include "ui/tiles/zel_hard_probe_tile.h"

namespace {

// The information tile as the host draws it: a command shows it through the tile facade, the host draws a
// frame of the overlay and the image node holds what the host's renderer made of the tile's markup.
class InformationTile : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    registerModuleSettings();
    tile_.createInstance(classIdOf("HardProbeTileFacade"));
    ASSERT_TRUE(tile_);
  }

  // Valid once a tile was shown: the overlay is made on first use.
  HostVisibilitySensitiveNode* separator() {
    const auto& children = host_.document().graphics().root().children();
    return children.empty() ? nullptr : queryPart<HostVisibilitySensitiveNode>(children[0].get());
  }
  // The picture the host draws in this frame, or nothing when it draws none.
  std::optional<DecodedImage> drawFrame() {
    std::vector<DrawnImage> drawn = ::drawFrame(host_.document().graphics().root());
    if (drawn.empty()) return std::nullopt;
    EXPECT_EQ(drawn.size(), 1u);
    return drawn[0].picture;
  }
  // The picture the host's renderer makes of these markup files in an 800 by 600 view.
  DecodedImage expected(const std::vector<const char*>& controls) {
    HostXamlImageRenderer renderer(host_.core().dataStore());
    const std::string folder =
        platform::systemPath(host_.core().dirService().directory("exe").c_str()) + "/xaml/";
    std::vector<ZelString> paths;
    for (const char* name : controls) paths.push_back(modulePathOf(folder + name));
    EXPECT_TRUE(renderer.load(paths, modulePathOf(folder + "HardProbeCommonResources.xaml")));
    return renderer.draw(renderer.lines(), 800, 600);
  }
  void show(const char* name, bool on) { tile_->showTile(ZelCString(name), on); }

  IPtr<IZelHardProbeTile> tile_;
};

TEST_F(InformationTile, ShowingTheInfoTileDrawsItsValuesAtTheTopRight) {
  // A host need not serve its renderer by name: the overlay makes it by class id.
  host_.root().setServiceFactory(IZelXAMLImageRenderer::interfaceName, nullptr);
  tile_->setText("FeatureName", ZelString(u"Plane 1"));
  tile_->setFlag("PointsTaken", 4);
  show("hardprobe info tile", true);
  ASSERT_TRUE(separator());
  EXPECT_TRUE(separator()->visible());
  std::optional<DecodedImage> picture = drawFrame();
  ASSERT_TRUE(picture);
  const DecodedImage info = expected({"HardProbeInfoControl.xaml"});
  EXPECT_EQ(picture->rgba, info.rgba);
  EXPECT_GT(info.width, 0u);
  EXPECT_LT(info.width, 800u);

  tile_->setFlag("PointsTaken", 5);
  picture = drawFrame();
  ASSERT_TRUE(picture);
  EXPECT_NE(picture->rgba, info.rgba) << "a new value is rendered again";
}

TEST_F(InformationTile, ASourceInPlaceIsKeptEvenForAnotherTileAndHidingClearsIt) {
  show("hardprobe info tile", true);
  show("hardprobe dimension tile", true);
  std::optional<DecodedImage> picture = drawFrame();
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->rgba, expected({"HardProbeInfoControl.xaml"}).rgba);

  show("hardprobe info tile", false);
  EXPECT_FALSE(separator()->visible());
  EXPECT_FALSE(drawFrame());

  show("hardprobe dimension tile", true);
  picture = drawFrame();
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->rgba, expected({"HardProbeInfoControl.xaml", "HardProbeDimensionControl.xaml"}).rgba);
}

TEST_F(InformationTile, WithoutTheHostsDirectoriesNothingIsLoadedSoNothingIsDrawn) {
  host_.root().setService("IZelDirService", nullptr);
  show("hardprobe info tile", true);
  ASSERT_TRUE(separator());
  EXPECT_TRUE(separator()->visible());
  EXPECT_FALSE(drawFrame());
}

}  // namespace
