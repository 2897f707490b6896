#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/capture/capture_info_tile.h"
#include "framework/object/query_part.h"
#include "host/scene/host_scene_nodes.h"
#include "support/module_fixture.h"
#include "support/module_settings.h"
#include "support/recording_receiver.h"

namespace {

class CaptureInfoTile : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    registerModuleSettings();
    HostDataStore& store = host_.core().dataStore();
    store.setInt(nullptr, "Palpera/Tile/FeatureInfoVisible", 1);
    store.setInt(nullptr, "Palpera/Tile/BriefInstructionsVisible", 1);
    for (const DataItemRegistration& item : store.listGroup("Palpera/Tile"))
      store.addListener(item.key.c_str(), listener_.get());
  }
  // The overlay the tile is drawn on; made when a tile is first shown.
  HostVisibilitySensitiveNode* overlay() {
    const auto& children = host_.document().graphics().root().children();
    return children.empty() ? nullptr : queryPart<HostVisibilitySensitiveNode>(children[0].get());
  }

  IPtr<RecordingReceiver> listener_{new RecordingReceiver};
};

TEST_F(CaptureInfoTile, ShowsTheDeviceTileWithoutFeatureInformationOrInstructionsAndClearsWhenHidden) {
  showInfoTile(true);
  EXPECT_EQ(listener_->heard(), (std::vector<std::string>{"int Palpera/Tile/FeatureInfoVisible 0",
                                                          "int Palpera/Tile/BriefInstructionsVisible 0",
                                                          "int Palpera/Tile/Active 1"}));
  ASSERT_TRUE(overlay());
  EXPECT_TRUE(overlay()->visible());

  showInfoTile(false);
  EXPECT_EQ(listener_->heard().size(), 7u);
  EXPECT_EQ(listener_->heard().back(), "notify Palpera/Tile/Clear");
  EXPECT_EQ(listener_->heard()[5], "int Palpera/Tile/Active 0");
  EXPECT_FALSE(overlay()->visible());
}

}  // namespace
