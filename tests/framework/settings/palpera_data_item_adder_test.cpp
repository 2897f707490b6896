#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <string>
#include <vector>

#include "framework/host_glue/statistics.h"
#include "framework/object/iptr.h"
#include "framework/registrations/registered_classes.h"
#include "host/api/data_store.h"
#include "host/api/zel_initializer.h"
#include "support/module_fixture.h"

namespace {

// The adder as the host runs it: created by its class id through the root, then initialised.
class DataItemAdder : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    store_.getService();
  }

  void runAdder() {
    IPtr<IZelInitializer> adder;
    adder.createInstance(classIdOf("PalperaDataItemAdder"));
    ASSERT_TRUE(adder);
    adder->initialise();
  }

  std::vector<std::string> keys() {
    std::vector<std::string> keys;
    for (const DataItemRegistration& item : host_.dataStore().listGroup("Palpera")) keys.push_back(item.key);
    return keys;
  }

  ptrdiff_t indexOf(const std::string& key) {
    std::vector<std::string> all = keys();
    return std::find(all.begin(), all.end(), key) - all.begin();
  }

  std::pair<double, double> range(const char* key) {
    double minimum = 0, maximum = 0;
    bool known = false;
    store_->getRange(key, &minimum, &maximum, &known);
    EXPECT_TRUE(known) << key;
    return {minimum, maximum};
  }

  IPtr<IDataStore> store_;
};

TEST_F(DataItemAdder, RegistersEveryItemOnceAndNothingIsRefused) {
  runAdder();
  std::vector<std::string> all = keys();
  EXPECT_EQ(all.size(), 83u) << "a refused registration would be missing here";
  EXPECT_EQ(all.front(), "Palpera");
  EXPECT_EQ(all.back(), "Palpera/RealTimeDeviation/Tolerance");
  std::vector<std::string> sorted = all;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
}

TEST_F(DataItemAdder, CompletesTheGroupOnceAfterEveryRegistration) {
  runAdder();
  std::vector<HostDataStore::Completion> completions = host_.dataStore().completions();
  ASSERT_EQ(completions.size(), 1u);
  EXPECT_EQ(completions[0].group, "Palpera");
  EXPECT_EQ(completions[0].registrationsBefore, 83u);
}

TEST_F(DataItemAdder, EventsStandBetweenTheirNeighbours) {
  runAdder();
  ptrdiff_t replayFinished = indexOf("Palpera/LogReplayFinished");
  EXPECT_EQ(replayFinished, indexOf("Palpera/Emulator/ExplicitlySet") + 1);
  EXPECT_EQ(replayFinished + 1, indexOf("Palpera/Tile"));
  ptrdiff_t compensation = indexOf("Palpera/Tile/Temperature Compensation Updated");
  EXPECT_EQ(compensation, indexOf("Palpera/Tile/DimensionHeader") + 1);
  EXPECT_EQ(compensation + 1, indexOf("Palpera/Gfx"));
  EXPECT_TRUE(store_->fireEvent(nullptr, "Palpera/LogReplayFinished")) << "registered as an event";
}

TEST_F(DataItemAdder, TheActivePluginDefaultIsTranslatedByTheHostsTranslator) {
  host_.translator().setText("Hard Probe Emulator", u"\u00c9mulateur de palpeur");
  host_.enable(StandinHost::Optional::kTranslatorService, true);
  runAdder();
  EXPECT_EQ(std::u16string(store_->getString("Palpera/ActivePlugin").c_str()), u"\u00c9mulateur de palpeur");
}

TEST_F(DataItemAdder, TheActivePluginDefaultIsTheEnglishTextWithoutATranslator) {
  runAdder();
  EXPECT_EQ(std::u16string(store_->getString("Palpera/ActivePlugin").c_str()), u"Hard Probe Emulator");
}

TEST_F(DataItemAdder, SingleFloatBoundsReadBackExactlyAndSigned) {
  runAdder();
  auto [minimum, maximum] = range("Palpera/Tile/RealTimeDeviationX");
  EXPECT_EQ(minimum, -3.4028234663852886e38);
  EXPECT_EQ(maximum, 3.4028234663852886e38);
  EXPECT_EQ(range("Palpera/FeatureMatching/MaxDistance").second, static_cast<double>(FLT_MAX));
}

TEST_F(DataItemAdder, StatisticsStartNotComputedWhichNoRealBoundIs) {
  runAdder();
  double deviation = store_->getDouble("Palpera/Tile/FeatureStandardDeviation", 0);
  EXPECT_EQ(deviation, 3.4e38);
  EXPECT_TRUE(isNotComputed(deviation));
  EXPECT_TRUE(isNotComputed(store_->getDouble("Palpera/Tile/FeatureMaxNegativeDistance", 0)));
  EXPECT_FALSE(isNotComputed(range("Palpera/Tile/FeatureStandardDeviation").second)) << "FLT_MAX is a bound";
  EXPECT_EQ(store_->getDouble("Palpera/Tile/RealTimeDeviation", -1), 0.0);
}

TEST_F(DataItemAdder, FractionalMinimaAreTheExactQuotients) {
  runAdder();
  EXPECT_EQ(range("Palpera/ProbeCapture/TimeRate").first, 1.0 / 30.0);
  EXPECT_EQ(range("Palpera/Tile/Scale").first, 1.0 / 3.0);
  store_->setDouble(nullptr, "Palpera/ProbeCapture/TimeRate", 0.0);
  EXPECT_EQ(store_->getDouble("Palpera/ProbeCapture/TimeRate", -1), 1.0 / 30.0) << "clamped, not refused";
}

TEST_F(DataItemAdder, UserSettingsCarryFlags3AndRunTimeValuesFlags0) {
  runAdder();
  auto flagsOf = [&](const std::string& key) {
    for (const DataItemRegistration& item : host_.dataStore().listGroup("Palpera")) {
      if (item.key == key) return item.flags;
    }
    return 99u;
  };
  EXPECT_EQ(flagsOf("Palpera/UserInstructions/FontSize"), 3u);
  EXPECT_EQ(flagsOf("Palpera/Alignment/Hardware Alignment"), 3u);
  EXPECT_EQ(flagsOf("Palpera/Hard Probe Features In Command"), 0u);
  EXPECT_EQ(flagsOf("Palpera/Tile/FeatureName"), 0u);
}

TEST_F(DataItemAdder, RegistersNothingWithoutADataStore) {
  host_.root().setService(IDataStore::interfaceName, nullptr);
  runAdder();
  EXPECT_TRUE(host_.dataStore().listGroup("Palpera").empty());
  EXPECT_TRUE(host_.dataStore().completions().empty());
}

}  // namespace
