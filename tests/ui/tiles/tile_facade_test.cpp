#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "framework/registrations/registered_classes.h"
#include "support/module_fixture.h"
#include "support/module_settings.h"
#include "support/recording_receiver.h"
#include "ui/tiles/hard_probe_tile_facade.h"
#include "ui/tiles/zel_hard_probe_tile.h"

namespace {

// A facade as its callers make one, by class id, with a receiver listening to every item of "Palpera/Tile".
class TileFacade : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    registerModuleSettings();
    for (const DataItemRegistration& item : host_.core().dataStore().listGroup("Palpera/Tile"))
      host_.core().dataStore().addListener(item.key.c_str(), listener_.get());
    tile_.createInstance(classIdOf("HardProbeTileFacade"));
    ASSERT_TRUE(tile_);
  }
  void TearDown() override {
    tile_.release();
    ModuleTest::TearDown();
  }

  IPtr<RecordingReceiver> listener_{new RecordingReceiver};
  IPtr<IZelHardProbeTile> tile_;
};

TEST_F(TileFacade, EachFlagWritesItsKeyOnceAndLeavesTheSwitchAsItWas) {
  const std::vector<std::pair<const char*, std::string>> expected = {
      {"PointsTaken", "Palpera/Tile/NumPointsTaken"},
      {"PointsRequired", "Palpera/Tile/NumPointsRequired"},
      {"ShowFeatureInfo", "Palpera/Tile/FeatureInfoVisible"},
      {"ShowFeatureStatistics", "Palpera/Tile/FeatureStatisticsVisible"},
      {"ShowBriefInstructions", "Palpera/Tile/BriefInstructionsVisible"},
      {"RealTimeDeviationStatus", "Palpera/Tile/RealTimeDeviationStatus"},
      {"DimensionDistanceVisible", "Palpera/Tile/DimensionDistanceVisible"},
      {"DimensionAngleVisible", "Palpera/Tile/DimensionAngleVisible"},
  };
  IDataStore& store = host_.core().dataStore();
  for (bool switchedOn : {false, true}) {
    for (const auto& [item, key] : expected) {
      SCOPED_TRACE(std::string(item) + (switchedOn ? " on" : " off"));
      store.enableNotifications(switchedOn);
      const size_t before = listener_->heard().size();
      const int32_t value = key.find("Num") != std::string::npos ? 5 : !store.getInt(key.c_str(), 0);
      tile_->setFlag(item, value);
      EXPECT_EQ(store.getInt(key.c_str(), -1), value);
      EXPECT_EQ(store.notificationsEnabled(), switchedOn);
      ASSERT_EQ(listener_->heard().size(), before + 1);
      EXPECT_EQ(listener_->heard().back(), "int " + key + " " + std::to_string(value));
    }
  }
}

TEST_F(TileFacade, VectorsTextsValuesClearAndActiveReachTheirKeys) {
  const double v[3] = {0.25, -0.5, 2};
  tile_->setVector("RealTimeDeviation", v);
  tile_->setText("FeatureName", ZelString(u"Plane 1"));
  tile_->setValue("FeatureMaxNegativeDistance", -0.125);
  tile_->clear();
  tile_->setActive(true);
  EXPECT_EQ(listener_->heard(),
            (std::vector<std::string>{"double Palpera/Tile/RealTimeDeviationX 0.250000",
                                      "double Palpera/Tile/RealTimeDeviationY -0.500000",
                                      "double Palpera/Tile/RealTimeDeviationZ 2.000000",
                                      "string Palpera/Tile/FeatureName Plane 1",
                                      "double Palpera/Tile/FeatureMaxNegativeDistance -0.125000",
                                      "notify Palpera/Tile/Clear", "int Palpera/Tile/Active 1"}));
}

TEST_F(TileFacade, NamesItDoesNotKnowForAnOperationOrAMissingDataStoreWriteNothing) {
  const double v[3] = {1, 2, 3};
  tile_->setValue("PointsTaken", 1.0);
  tile_->setText("Unknown", ZelString(u"x"));
  tile_->setText("featurename", ZelString(u"x"));
  tile_->setFlag(nullptr, 1);
  tile_->setVector("RealTimeDeviationX", v);
  tile_->setInstructions("BriefInstructions", nullptr);
  tile_->setText("hardprobe instructions tile", ZelString(u"x"));
  tile_->showTile(ZelCString("hardprobe instructions tile"), true);
  EXPECT_TRUE(listener_->heard().empty());

  // Nor does a facade made without a data store write anything.
  host_.root().setService("IDataStore", nullptr);
  IPtr<IZelHardProbeTile> orphan;
  orphan.createInstance(classIdOf("HardProbeTileFacade"));
  ASSERT_TRUE(orphan);
  orphan->setFlag("PointsTaken", 5);
  orphan->clear();
  orphan->setActive(true);
  EXPECT_TRUE(listener_->heard().empty());
}

TEST(RenderedTiles, TheOverlayKnowsThreeTilesByName) {
  for (const auto& [tile, controls] :
       {std::pair{"hardprobe info tile", "HardProbeInfoControl.xaml"},
        std::pair{"hardprobe real time deviation tile", "HardProbeRealTimeDeviationControl.xaml"},
        std::pair{"hardprobe dimension tile", "HardProbeInfoControl.xaml,HardProbeDimensionControl.xaml"}})
    EXPECT_STREQ(HardProbeTileFacade::xamlControlsOf(ZelCString(tile))->data(), controls) << tile;
  EXPECT_EQ(HardProbeTileFacade::xamlControlsOf(ZelCString("hardprobe instructions tile")), nullptr);
}

}  // namespace
