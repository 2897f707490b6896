#include <gtest/gtest.h>

#include "framework/object/iptr.h"
#include "host/api/event_data_store.h"
#include "support/module_fixture.h"
#include "support/recording_receiver.h"

namespace {

using Heard = std::vector<std::string>;
using DocumentEvents = ModuleTest;

TEST_F(DocumentEvents, AFiredEventReachesTheSubscribersOfThatEventOnly) {
  SPtr<IEventDataStore> events;
  ASSERT_TRUE(events);
  IPtr<RecordingReceiver> reset(new RecordingReceiver), aligned(new RecordingReceiver);
  ASSERT_TRUE(events->addListener("Document/Reset", reset.get()));
  ASSERT_TRUE(events->addListener("General/AlignmentChanged", aligned.get()));
  EXPECT_TRUE(host_.eventDataStore().fire("Document/Reset"));
  EXPECT_EQ(reset->heard(), Heard{"notify Document/Reset"});
  EXPECT_TRUE(aligned->heard().empty());
  EXPECT_TRUE(events->removeListener("Document/Reset", reset.get()));
  host_.eventDataStore().fire("Document/Reset");
  EXPECT_EQ(reset->heard().size(), 1u);
}

TEST_F(DocumentEvents, AnEventTheHostDoesNotKnowCanNeitherBeHeardNorFired) {
  SPtr<IEventDataStore> events;
  IPtr<RecordingReceiver> receiver(new RecordingReceiver);
  EXPECT_FALSE(events->addListener("Document/Reste", receiver.get()));
  EXPECT_FALSE(events->addListener("Document", receiver.get())) << "a group is no event";
  EXPECT_FALSE(host_.eventDataStore().fire("Document/Reste"));
  EXPECT_FALSE(events->removeListener("Document/Reset", receiver.get()));
}

}  // namespace
