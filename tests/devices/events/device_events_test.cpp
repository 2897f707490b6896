#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>
#include <utility>

#include "devices/events/device_event_handlers.h"
#include "devices/events/device_event_names.h"
#include "framework/object/query_part.h"
#include "host_api/main_application.h"
#include "support/device_event_recorder.h"
#include "support/device_records.h"
#include "support/module_fixture.h"
#include "support/module_settings.h"

namespace {

namespace records = device_records;
// Posts as a device's worker thread does: a fresh data event, named, carrying the record.
void post(const char* name, IZelUnknown* data) {
  SPtr<IZelDataEvent> event;
  ASSERT_TRUE(event);
  event->setName(name);
  event->setData(data);
  SPtr<IMainApplication> application;
  ASSERT_TRUE(application->post(event.get()));
}

void postMove(double x) {
  post(ContinuousEventNames::kMoved, records::oriented({x, 0, 0}, {0, 0, -1}, {0, 1, 0}).get());
}

class DeviceEvents : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    registerModuleSettings();
    registerDeviceEventNames(ContinuousEventNames::kGroup, ContinuousEventNames::kAll);
    ASSERT_TRUE(receivers_.add(receiver_->registered()));
  }

  size_t pump() { return host_.core().mainLoop().runPending(); }

  DeviceReceivers<IZelHardProbeContinuousDataReceiver> receivers_;
  IPtr<DeviceEventRecorder> receiver_{new DeviceEventRecorder};
};

TEST_F(DeviceEvents, RegistrationNeedsAReceiverAndKeepsOneEntryPerReceiver) {
  EXPECT_TRUE(receivers_.add(receiver_->registered())) << "once more";
  EXPECT_EQ(receivers_.size(), 1u);
  EXPECT_EQ(receiver_->refCount(), 2u) << "the test's reference and the one entry's";
  EXPECT_TRUE(receivers_.remove(receiver_->registered()));
  EXPECT_FALSE(receivers_.remove(receiver_->registered()));
  EXPECT_EQ(receiver_->refCount(), 1u);
  EXPECT_FALSE(receivers_.add(nullptr));
}

TEST_F(DeviceEvents, TheMoveQueueCountsOneMoveInFlightAndAnyMoveThatArrivesFreesTheWay) {
  DeviceEventHandlers made = makeContinuousEventHandlers(&receivers_);
  IZelHardProbeEventQueue* queue = made.queue;
  ASSERT_EQ(queryPart<IZelHardProbeEventQueue>(made.handlers[3].get()), queue) << "the move handler's";
  queue->decrement();
  queue->increment();
  EXPECT_TRUE(queue->isPending()) << "a decrement at 0 must leave 0, not wrap";

  post(ContinuousEventNames::kMoved, records::radius(0.5).get());  // a record of the wrong kind
  pump();
  EXPECT_FALSE(queue->isPending());
  queue->increment();
  post(ContinuousEventNames::kMoved, nullptr);  // no record at all
  pump();
  EXPECT_FALSE(queue->isPending());
  EXPECT_TRUE(receiver_->calls().empty());

  // Without receivers the events are consumed and the queue keeps working.
  receivers_.remove(receiver_->registered());
  queue->increment();
  postMove(1);
  EXPECT_EQ(pump(), 1u);
  EXPECT_FALSE(queue->isPending());
}

TEST_F(DeviceEvents, AReceiverMayStopTheAcquisitionFromInsideAMove) {
  auto made = std::make_unique<DeviceEventHandlers>(makeContinuousEventHandlers(&receivers_));
  receiver_->setDuringCall([&](const std::string&) { made->handlers.clear(); });
  postMove(1);
  post(ContinuousEventNames::kStop, records::null().get());
  pump();
  EXPECT_EQ(receiver_->calls(), Lines{"moved 1,0,0 0,0,-1 0,1,0"});
}

using DeviceEventsThreads = DeviceEvents;

// The device's side of the one-move rule, run on a worker thread while the main thread delivers.
TEST_F(DeviceEventsThreads, MovesFromAWorkerAreNeverMoreThanOneInFlightAndTheCountNeverSticks) {
  DeviceEventHandlers made = makeContinuousEventHandlers(&receivers_);
  IZelHardProbeEventQueue* queue = made.queue;
  std::atomic<int> inFlightSeen{0};
  receiver_->setDuringCall([&](const std::string& call) {
    if (call.rfind("moved", 0) == 0 && !queue->isPending()) ++inFlightSeen;
  });

  constexpr int kEvents = 2000;
  std::atomic<int> postedMoves{0};
  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (int i = 0; i < kEvents; ++i) {
      post(ContinuousEventNames::kSampled, records::oriented({double(i), 0, 0}, {}, {}).get());
      if (queue->isPending()) continue;
      queue->increment();
      postMove(i);
      ++postedMoves;
    }
    done = true;
  });
  ASSERT_TRUE(host_.core().mainLoop().runUntil([&] { return done.load(); }, std::chrono::seconds(30)));
  worker.join();
  pump();

  int moves = 0, sampled = 0;
  double x = 0, lastMove = -1;
  for (const std::string& call : receiver_->calls()) {
    if (std::sscanf(call.c_str(), "sampledOriented %lf", &x) == 1) {
      EXPECT_EQ(x, sampled++);
    } else if (std::sscanf(call.c_str(), "moved %lf", &x) == 1) {
      EXPECT_GT(x, std::exchange(lastMove, x));
      ++moves;
    }
  }
  EXPECT_EQ(sampled, kEvents) << "no other event is ever held back";
  EXPECT_EQ(moves, postedMoves.load());
  EXPECT_GT(moves, 0);
  EXPECT_EQ(inFlightSeen.load(), 0) << "a delivered move is still counted until its receivers have it";
  EXPECT_FALSE(queue->isPending());
}

}  // namespace
