#include <gtest/gtest.h>

#include <atomic>
#include <cfloat>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

#include "framework/object/iptr.h"
#include "host_api/event_data_store.h"
#include "support/counted_probe.h"
#include "support/module_fixture.h"
#include "support/recording_receiver.h"

namespace {

using Heard = std::vector<std::string>;

// The store as the module reaches it: the service "IDataStore" through the root.
class DataStoreTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    store_.getService();
    ASSERT_TRUE(store_);
    store_->addGroup("Palpera");
  }

  IPtr<IDataStore> store_;
};

TEST_F(DataStoreTest, ReadsAnswerTheDefaultUntilSetWritesAreClampedAndNanOrAnotherKindRefused) {
  ASSERT_TRUE(store_->addIntItem("Palpera/FontSize", 16, 8, 72, 3));
  ASSERT_TRUE(store_->addDoubleItem("Palpera/Deviation", 0.5, -FLT_MAX, FLT_MAX, 3));
  ASSERT_TRUE(store_->addStringItem("Palpera/Plugin", 256, ZelString(u"Emulator"), 3));
  EXPECT_EQ(store_->getInt("Palpera/FontSize", -1), 16);
  EXPECT_EQ(store_->getDouble("Palpera/Deviation", -1), 0.5);
  EXPECT_EQ(std::u16string(store_->getString("Palpera/Plugin").c_str()), u"Emulator");
  EXPECT_EQ(store_->getInt("Palpera/Missing", -1), -1);
  EXPECT_EQ(store_->getDouble("Palpera/Missing", -2.5), -2.5);
  EXPECT_TRUE(store_->getString("Palpera/Missing").isEmpty());
  EXPECT_EQ(store_->getInt("Palpera/Deviation", -1), -1)
      << "a read of another kind answers the caller's default";
  double minimum = -1, maximum = -1;
  bool known = false;
  store_->getRange("Palpera/FontSize", &minimum, &maximum, &known);
  EXPECT_TRUE(known && minimum == 8 && maximum == 72);
  store_->getRange("Palpera/Plugin", &minimum, &maximum, &known);
  EXPECT_FALSE(known) << "only numbers have a range";
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(store_->addIntItem("Elsewhere/Value", 1, 0, 1, 0) ||
               store_->addGroup("Palpera/Missing/Inner") || store_->addIntItem("TopLevel", 1, 0, 1, 0) ||
               store_->addIntItem("Palpera/", 1, 0, 1, 0) ||
               store_->addIntItem("Palpera/FontSize/Inner", 1, 0, 1, 0))
      << "an item lies in a group, and is none";
  EXPECT_FALSE(store_->addIntItem("Palpera/FontSize", 7, 0, 100, 0) ||
               store_->addDoubleItem("Palpera/FontSize", 7, 0, 100, 0) ||
               store_->addIntItem("Palpera/Inverted", 0, 5, 1, 0) ||
               store_->addDoubleItem("Palpera/Inverted", 0, 5, 1, 0) ||
               store_->addDoubleItem("Palpera/NanBound", 0, nan, 1, 0) ||
               store_->addDoubleItem("Palpera/NanDefault", nan, 0, 1, 0) ||
               store_->addStringItem("Palpera/NoRoom", 0, ZelString(u"x"), 0))
      << "registered once, and only with a possible value; the first range holds";

  EXPECT_TRUE(store_->setInt(nullptr, "Palpera/FontSize", 100));
  EXPECT_EQ(store_->getInt("Palpera/FontSize", -1), 72);
  store_->setInt(nullptr, "Palpera/FontSize", -5);
  EXPECT_EQ(store_->getInt("Palpera/FontSize", -1), 8);
  store_->setDouble(nullptr, "Palpera/Deviation", -1e300);
  EXPECT_EQ(store_->getDouble("Palpera/Deviation", 0), -static_cast<double>(FLT_MAX)) << "the sign is kept";
  store_->setDouble(nullptr, "Palpera/Deviation", std::numeric_limits<double>::infinity());
  EXPECT_FALSE(store_->setDouble(nullptr, "Palpera/Deviation", std::nan("")));
  EXPECT_EQ(store_->getDouble("Palpera/Deviation", 0), static_cast<double>(FLT_MAX)) << "NaN leaves it";
  EXPECT_FALSE(store_->setDouble(nullptr, "Palpera/FontSize", 1.0));
  EXPECT_FALSE(store_->setString(nullptr, "Palpera/FontSize", ZelString(u"1")));
  EXPECT_FALSE(store_->setInt(nullptr, "Elsewhere/Value", 1));
  EXPECT_FALSE(store_->fireEvent(nullptr, "Palpera/FontSize")) << "only events fire";
  EXPECT_EQ(store_->getInt("Palpera/FontSize", -1), 8);
}

TEST_F(DataStoreTest, StringsAreCutBetweenPairsBlobsKeepTheirSizeAndObjectsAreHeldUntilReplaced) {
  store_->addStringItem("Palpera/Name", 4, ZelString(u"abcdefg"), 0);
  EXPECT_EQ(std::u16string(store_->getString("Palpera/Name").c_str()), u"abcd") << "the default too";
  store_->setString(nullptr, "Palpera/Name", ZelString(u"xyz\U0001F600"));  // the pair is units 4 and 5
  EXPECT_EQ(std::u16string(store_->getString("Palpera/Name").c_str()), u"xyz");

  store_->addBlobItem("Palpera/Alignment", 4, nullptr, 3);
  bool found = true;
  uint32_t size = 99;
  EXPECT_EQ(store_->getBlob("Palpera/Alignment", &size, &found), nullptr);
  EXPECT_FALSE(found) << "no default: not found until set";
  const uint8_t bytes[5] = {1, 2, 3, 4, 5};
  EXPECT_FALSE(store_->setBlob(nullptr, "Palpera/Alignment", bytes, 5));
  EXPECT_FALSE(store_->setBlob(nullptr, "Palpera/Alignment", bytes, 3));
  EXPECT_TRUE(store_->setBlob(nullptr, "Palpera/Alignment", bytes, 4));
  auto* stored = static_cast<const uint8_t*>(store_->getBlob("Palpera/Alignment", &size, &found));
  ASSERT_TRUE(found);
  EXPECT_EQ(std::vector<uint8_t>(stored, stored + size), (std::vector<uint8_t>{1, 2, 3, 4}));

  std::atomic<int> destroyed{0};
  IPtr<CountedProbe> probe(new CountedProbe(&destroyed));
  EXPECT_TRUE(store_->setObject(nullptr, "Palpera/Alignment", probe.get())) << "on an item of any kind";
  EXPECT_EQ(store_->getObject("Palpera/Alignment"), static_cast<IZelUnknown*>(probe.get()));
  EXPECT_FALSE(store_->setObject(nullptr, "Palpera/Missing", probe.get()));
  probe.release();
  EXPECT_EQ(destroyed, 0) << "the store keeps it alive";
  store_->setObject(nullptr, "Palpera/Alignment", nullptr);
  EXPECT_EQ(destroyed, 1);
}

TEST_F(DataStoreTest, NarrowStringsCountBytesAndAreNeverCutInsideACharacter) {
  ASSERT_TRUE(store_->addNarrowStringItem("Palpera/Material", 5, "Aluminium", 3));
  EXPECT_STREQ(store_->getNarrowString("Palpera/Material").c_str(), "Alumi") << "the default too";
  EXPECT_TRUE(store_->setNarrowString(nullptr, "Palpera/Material", "Stahl"));
  EXPECT_STREQ(store_->getNarrowString("Palpera/Material").c_str(), "Stahl");
  EXPECT_TRUE(store_->setNarrowString(nullptr, "Palpera/Material", "Ma\xC3\x9F\xC3\x9F"));  // 6 bytes
  EXPECT_STREQ(store_->getNarrowString("Palpera/Material").c_str(), "Ma\xC3\x9F")
      << "half a character does not fit";
  EXPECT_EQ(std::u16string(store_->getString("Palpera/Material").c_str()), u"Ma\u00df");
  EXPECT_FALSE(store_->setNarrowString(nullptr, "Palpera/Missing", "x"));
}

class DataStoreDelivery : public DataStoreTest {
 protected:
  void SetUp() override {
    DataStoreTest::SetUp();
    store_->addIntItem("Palpera/Size", 1, 0, 10, 0);
    store_->addEvent("Palpera/Finished", nullptr);
  }

  IPtr<RecordingReceiver> a_{new RecordingReceiver}, b_{new RecordingReceiver};
};

TEST_F(DataStoreDelivery, ASubscriberHearsOnceNotItsOwnChangesAndNothingWhileNotificationsAreOff) {
  for (const char* key : {"Palpera/Size", "Palpera/Size", "Palpera/Finished"})
    store_->addListener(key, a_.get());
  EXPECT_FALSE(store_->addListener("Palpera/NeverRegistered", a_.get())) << "a misspelt key cannot be heard";
  store_->setInt(nullptr, "Palpera/Size", 3);
  store_->setInt(a_.get(), "Palpera/Size", 4);  // its own change: it knows
  EXPECT_TRUE(store_->notificationsEnabled()) << "a fresh store delivers";
  store_->enableNotifications(false);
  EXPECT_FALSE(store_->notificationsEnabled());
  EXPECT_TRUE(store_->setInt(nullptr, "Palpera/Size", 5));
  EXPECT_TRUE(store_->fireEvent(nullptr, "Palpera/Finished"));
  EXPECT_EQ(store_->getInt("Palpera/Size", -1), 5);
  store_->enableNotifications(true);
  EXPECT_TRUE(store_->notificationsEnabled());
  EXPECT_EQ(a_->heard(), Heard{"int Palpera/Size 3"}) << "nothing is replayed";
  store_->setInt(nullptr, "Palpera/Size", 6);
  EXPECT_EQ(a_->heard().back(), "int Palpera/Size 6") << "switched on again, it delivers again";
  EXPECT_TRUE(store_->removeListener("Palpera/Size", a_.get()));
  EXPECT_FALSE(store_->removeListener("Palpera/Size", a_.get()));
  store_->setInt(nullptr, "Palpera/Size", 7);
  EXPECT_EQ(a_->heard().size(), 2u);
}

TEST_F(DataStoreDelivery, AReceiverMayUnsubscribeItselfOrALaterOneAndWriteFromInsideItsCallback) {
  IPtr<RecordingReceiver> finished(new RecordingReceiver);
  store_->addListener("Palpera/Size", a_.get());
  store_->addListener("Palpera/Size", b_.get());
  store_->addListener("Palpera/Finished", finished.get());
  a_->setDuringCall([&] {
    store_->removeListener("Palpera/Size", b_.get());
    store_->removeListener("Palpera/Size", a_.get());
    store_->fireEvent(a_.get(), "Palpera/Finished");
  });
  for (const int size : {2, 3}) store_->setInt(nullptr, "Palpera/Size", size);
  EXPECT_EQ(a_->heard(), Heard{"int Palpera/Size 2"});
  EXPECT_EQ(b_->heard(), Heard{}) << "removed before its turn";
  EXPECT_EQ(finished->heard(), Heard{"notify Palpera/Finished"});
}

// Named for the ThreadSanitizer run, which takes the suites that exercise threads.
using DataStoreThreads = DataStoreDelivery;

TEST_F(DataStoreThreads, ConcurrentWritersReadersAndSubscribersKeepValuesInRange) {
  std::atomic<bool> outOfRange{false};
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 300; ++i) store_->setInt(nullptr, "Palpera/Size", i * (t + 1) - 50);
    });
  }
  threads.emplace_back([&] {
    for (int i = 0; i < 300; ++i) {
      int32_t value = store_->getInt("Palpera/Size", -1);
      if (value < 0 || value > 10) outOfRange = true;
    }
  });
  threads.emplace_back([&] {
    for (int i = 0; i < 300; ++i) {
      store_->addListener("Palpera/Size", a_.get());
      store_->removeListener("Palpera/Size", a_.get());
    }
  });
  for (std::thread& thread : threads) thread.join();
  EXPECT_FALSE(outOfRange);
}

// The host's own events ("IEventDataStore"): heard by name; one the host does not know neither heard nor
// fired.
TEST_F(DataStoreDelivery, TheHostsDocumentEventsReachTheirSubscribersAndAnUnknownOneNoOne) {
  SPtr<IEventDataStore> events;
  ASSERT_TRUE(events->addListener("Document/Reset", a_.get()));
  EXPECT_FALSE(events->addListener("Document/Reste", b_.get()));
  EXPECT_FALSE(events->addListener("Document", b_.get())) << "a group is no event";
  EXPECT_TRUE(host_.document().eventDataStore().fire("Document/Reset"));
  EXPECT_FALSE(host_.document().eventDataStore().fire("Document/Reste"));
  EXPECT_TRUE(events->removeListener("Document/Reset", a_.get()));
  host_.document().eventDataStore().fire("Document/Reset");
  EXPECT_EQ(a_->heard(), Heard{"notify Document/Reset"});
}

}  // namespace
