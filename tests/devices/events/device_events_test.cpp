#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "devices/events/device_event_handlers.h"
#include "devices/events/device_event_names.h"
#include "devices/records/plugin_device_data.h"
#include "framework/object/iptr.h"
#include "framework/registrations/registered_classes.h"
#include "host/api/main_application.h"
#include "support/counted_probe.h"
#include "support/module_fixture.h"
#include "support/module_settings.h"
#include "support/recording_device_receiver.h"

namespace {

using ContinuousReceivers = DeviceReceivers<IZelHardProbeContinuousDataReceiver>;
using SingleReceivers = DeviceReceivers<IZelHardProbeDataReceiver>;

template <class Record>
IPtr<Record> makeRecord(const char* className) {
  IPtr<Record> record;
  record.createInstance(classIdOf(className));
  return record;
}

IPtr<IZelUnknown> positionOrientation(const Vector3& point, const Vector3& to, const Vector3& up) {
  auto record = makeRecord<IZelPluginDevicePositionOrientationData>("PluginDevicePositionOrientationData");
  double xyz[3];
  point.copyTo(xyz);
  record->setPoint(xyz);
  to.copyTo(xyz);
  record->setTo(xyz);
  up.copyTo(xyz);
  record->setUp(xyz);
  return IPtr<IZelUnknown>(record.get());
}

IPtr<IZelUnknown> position(const Vector3& point) {
  auto record = makeRecord<IZelPluginDevicePositionData>("PluginDevicePositionData");
  double xyz[3];
  point.copyTo(xyz);
  record->setPoint(xyz);
  return IPtr<IZelUnknown>(record.get());
}

IPtr<IZelUnknown> radius(double value) {
  auto record = makeRecord<IZelPluginDeviceRadiusData>("PluginDeviceRadiusData");
  record->setRadius(value);
  return IPtr<IZelUnknown>(record.get());
}

IPtr<IZelUnknown> nothing() {
  return IPtr<IZelUnknown>(makeRecord<IZelPluginDeviceNullData>("PluginDeviceNullData").get());
}

IPtr<IZelUnknown> custom(const char* name, IZelUnknown* payload) {
  auto record = makeRecord<IZelPluginDeviceCustomEventData>("PluginDeviceCustomEventData");
  record->setName(name);
  record->setPayload(payload);
  return IPtr<IZelUnknown>(record.get());
}

// Posts as a device's worker thread does: a fresh data event, named, carrying the record.
void post(const char* name, const IPtr<IZelUnknown>& data) {
  SPtr<IZelDataEvent> event;
  ASSERT_TRUE(event);
  event->setName(name);
  event->setData(data.get());
  SPtr<IMainApplication> application;
  ASSERT_TRUE(application->post(event.get()));
}

IZelPluginDataReceiver* asRegistered(RecordingDeviceReceiver* receiver) {
  return static_cast<IZelHardProbeContinuousDataReceiver*>(receiver);
}

class DeviceEvents : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    registerModuleSettings();
    registerDeviceEventNames(ContinuousEventNames::kGroup, ContinuousEventNames::kAll);
    registerDeviceEventNames(SingleEventNames::kGroup, SingleEventNames::kAll);
  }

  size_t pump() { return host_.mainLoop().runPending(); }

  // Two receivers, the first at the lower address.
  std::pair<IPtr<RecordingDeviceReceiver>, IPtr<RecordingDeviceReceiver>> orderedPair() {
    IPtr<RecordingDeviceReceiver> a(new RecordingDeviceReceiver), b(new RecordingDeviceReceiver);
    if (std::less<void*>()(asRegistered(b.get()), asRegistered(a.get()))) std::swap(a, b);
    return {a, b};
  }
};

TEST_F(DeviceEvents, TheDeviceKindsRegisterTheirEventNamesUnderTheirGroups) {
  std::vector<std::string> keys;
  for (const DataItemRegistration& item : host_.dataStore().listGroup("Palpera/Events"))
    keys.push_back(item.key);
  EXPECT_EQ(keys,
            (std::vector<std::string>{
                "Palpera/Events", "Palpera/Events/Continuous", "Palpera/Events/Continuous/RadiusEvent",
                "Palpera/Events/Continuous/StartCaptureEvent", "Palpera/Events/Continuous/StopCaptureEvent",
                "Palpera/Events/Continuous/MovedEvent", "Palpera/Events/Continuous/SampledEvent",
                "Palpera/Events/Continuous/OnStop", "Palpera/Events/Continuous/CustomEvent",
                "Palpera/Events/Single", "Palpera/Events/Single/RadiusEvent",
                "Palpera/Events/Single/MovedEvent", "Palpera/Events/Single/SampledEvent",
                "Palpera/Events/Single/StopEvent", "Palpera/Events/Single/CustomEvent"}));
}

TEST_F(DeviceEvents, EachContinuousEventBecomesItsReceiverCallWithTheRecordsValues) {
  ContinuousReceivers receivers;
  IPtr<RecordingDeviceReceiver> receiver(new RecordingDeviceReceiver);
  ASSERT_TRUE(receivers.add(asRegistered(receiver.get())));
  DeviceEventHandlers made = makeContinuousEventHandlers(&receivers);
  ASSERT_EQ(made.handlers.size(), 7u);

  IPtr<CountedProbe> payload(new CountedProbe);
  post(ContinuousEventNames::kRadius, radius(0.003));
  post(ContinuousEventNames::kStartCapture, nothing());
  post(ContinuousEventNames::kMoved, positionOrientation({1, 2, 3}, {0, 0, -1}, {0, 1, 0}));
  post(ContinuousEventNames::kSampled, positionOrientation({4, 5, 6}, {1, 0, 0}, {0, 0, 1}));
  post(ContinuousEventNames::kStopCapture, nothing());
  post(ContinuousEventNames::kStop, nothing());
  post(ContinuousEventNames::kCustom, custom("Cancel", static_cast<IProbeA*>(payload.get())));
  EXPECT_EQ(pump(), 7u);

  std::vector<DeviceCall> calls = receiver->calls();
  EXPECT_EQ(receiver->kinds(), (std::vector<std::string>{"radius", "startCapture", "moved", "sampledOriented",
                                                         "stopCapture", "stop", "custom"}));
  ASSERT_EQ(calls.size(), 7u);
  EXPECT_EQ(calls[0].radius, 0.003);
  EXPECT_EQ(calls[2].point, Vector3(1, 2, 3));
  EXPECT_EQ(calls[2].to, Vector3(0, 0, -1));
  EXPECT_EQ(calls[2].up, Vector3(0, 1, 0));
  EXPECT_EQ(calls[3].point, Vector3(4, 5, 6));
  EXPECT_EQ(calls[3].to, Vector3(1, 0, 0));
  EXPECT_EQ(calls[6].name, "Cancel");
  EXPECT_EQ(calls[6].payload, static_cast<IZelUnknown*>(static_cast<IProbeA*>(payload.get())));
}

TEST_F(DeviceEvents, TheSinglePointStopIsAPositionThatReachesOnPointStop) {
  SingleReceivers receivers;
  IPtr<RecordingDeviceReceiver> receiver(new RecordingDeviceReceiver);
  ASSERT_TRUE(receivers.add(asRegistered(receiver.get())));
  DeviceEventHandlers made = makeSingleEventHandlers(&receivers);
  ASSERT_EQ(made.handlers.size(), 5u);

  post(SingleEventNames::kRadius, radius(0.0025));
  post(SingleEventNames::kMoved, positionOrientation({1, 1, 1}, {0, 0, -1}, {1, 0, 0}));
  post(SingleEventNames::kSampled, position({2, 2, 2}));
  post(SingleEventNames::kStop, position({3, 3, 3}));
  post(SingleEventNames::kCustom, custom("UndoLastSampled", nullptr));
  // The continuous kind's stop reaches no single-point handler.
  post(ContinuousEventNames::kStop, nothing());
  pump();

  std::vector<DeviceCall> calls = receiver->calls();
  EXPECT_EQ(receiver->kinds(),
            (std::vector<std::string>{"radius", "moved", "sampled", "pointStop", "custom"}));
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[2].point, Vector3(2, 2, 2));
  EXPECT_EQ(calls[3].point, Vector3(3, 3, 3));
  EXPECT_EQ(calls[4].name, "UndoLastSampled");
  EXPECT_EQ(calls[4].payload, nullptr);
}

TEST_F(DeviceEvents, ReceiversAreCalledInAddressOrderWhateverTheOrderOfRegistration) {
  auto [low, high] = orderedPair();
  std::vector<RecordingDeviceReceiver*> order;
  low->setDuringCall([&, r = low.get()](const DeviceCall&) { order.push_back(r); });
  high->setDuringCall([&, r = high.get()](const DeviceCall&) { order.push_back(r); });
  ContinuousReceivers receivers;
  receivers.add(asRegistered(high.get()));
  receivers.add(asRegistered(low.get()));
  DeviceEventHandlers made = makeContinuousEventHandlers(&receivers);

  post(ContinuousEventNames::kStop, nothing());
  post(ContinuousEventNames::kRadius, radius(0.001));
  pump();
  EXPECT_EQ(order, (std::vector<RecordingDeviceReceiver*>{low.get(), high.get(), low.get(), high.get()}));
}

TEST_F(DeviceEvents, AReceiverThatRemovesItselfGetsNothingMoreWhileTheOthersStillGetTheCurrentEvent) {
  auto [low, high] = orderedPair();
  ContinuousReceivers receivers;
  receivers.add(asRegistered(low.get()));
  receivers.add(asRegistered(high.get()));
  RecordingDeviceReceiver* leaving = low.get();
  leaving->setDuringCall([&](const DeviceCall& call) {
    if (call.kind == "moved") {
      EXPECT_TRUE(receivers.remove(asRegistered(leaving)));
    }
  });
  low.release();  // the device's entry is now its only reference
  DeviceEventHandlers made = makeContinuousEventHandlers(&receivers);

  post(ContinuousEventNames::kMoved, positionOrientation({1, 0, 0}, {0, 0, -1}, {0, 1, 0}));
  post(ContinuousEventNames::kSampled, positionOrientation({2, 0, 0}, {0, 0, -1}, {0, 1, 0}));
  pump();
  EXPECT_EQ(high->kinds(), (std::vector<std::string>{"moved", "sampledOriented"}));
  EXPECT_EQ(receivers.size(), 1u);
  EXPECT_FALSE(made.queue->isPending());
}

TEST_F(DeviceEvents, RegistrationNeedsTheReceiverOfTheDevicesKindAndKeepsOneEntryPerReceiver) {
  ContinuousReceivers receivers;
  IPtr<RecordingDeviceReceiver> receiver(new RecordingDeviceReceiver);
  EXPECT_TRUE(receivers.add(asRegistered(receiver.get())));
  EXPECT_TRUE(receivers.add(asRegistered(receiver.get())));
  EXPECT_EQ(receivers.size(), 1u);
  EXPECT_EQ(receiver->refCount(), 2u) << "the test's reference and the one entry's";
  EXPECT_TRUE(receivers.remove(asRegistered(receiver.get())));
  EXPECT_FALSE(receivers.remove(asRegistered(receiver.get())));
  EXPECT_EQ(receiver->refCount(), 1u);
  EXPECT_FALSE(receivers.add(nullptr));
}

TEST_F(DeviceEvents, TheMoveQueueCountsOneMoveInFlightAndNeverGoesBelowNothing) {
  ContinuousReceivers receivers;
  DeviceEventHandlers made = makeContinuousEventHandlers(&receivers);
  IZelHardProbeEventQueue* queue = made.queue;
  ASSERT_TRUE(queue);
  EXPECT_FALSE(queue->isPending());
  queue->decrement();
  queue->increment();
  EXPECT_TRUE(queue->isPending()) << "a decrement at 0 must leave 0, not wrap";
  queue->decrement();
  EXPECT_FALSE(queue->isPending());

  void* part = nullptr;
  made.handlers[3]->queryInterface("IZelHardProbeEventQueue", &part, false);
  EXPECT_EQ(part, queue);
  made.handlers[3]->queryInterface("PluginEventHandler", &part, false);
  EXPECT_NE(part, nullptr);
  EXPECT_STREQ(made.handlers[3]->className(), "OnMovedEventHandler");
  EXPECT_STREQ(made.handlers[0]->className(), "PluginEventHandler");
}

TEST_F(DeviceEvents, AMoveThatReachesTheMainThreadFreesTheWayWhateverItCarried) {
  ContinuousReceivers receivers;
  IPtr<RecordingDeviceReceiver> receiver(new RecordingDeviceReceiver);
  receivers.add(asRegistered(receiver.get()));
  DeviceEventHandlers made = makeContinuousEventHandlers(&receivers);

  made.queue->increment();
  post(ContinuousEventNames::kMoved, radius(0.5));  // a record of the wrong kind
  pump();
  EXPECT_FALSE(made.queue->isPending());
  made.queue->increment();
  post(ContinuousEventNames::kMoved, IPtr<IZelUnknown>());  // no record at all
  pump();
  EXPECT_FALSE(made.queue->isPending());
  EXPECT_TRUE(receiver->calls().empty());

  // Without receivers the events are consumed and the queue keeps working.
  receivers.remove(asRegistered(receiver.get()));
  made.queue->increment();
  post(ContinuousEventNames::kMoved, positionOrientation({1, 0, 0}, {0, 0, -1}, {0, 1, 0}));
  EXPECT_EQ(pump(), 1u);
  EXPECT_FALSE(made.queue->isPending());
}

TEST_F(DeviceEvents, DroppedHandlersHearNothingAndANewAcquisitionStartsWithNoMoveInFlight) {
  ContinuousReceivers receivers;
  IPtr<RecordingDeviceReceiver> receiver(new RecordingDeviceReceiver);
  receivers.add(asRegistered(receiver.get()));
  DeviceEventHandlers made = makeContinuousEventHandlers(&receivers);
  made.queue->increment();
  made = {};
  post(ContinuousEventNames::kStop, nothing());
  pump();
  EXPECT_TRUE(receiver->calls().empty());

  made = makeContinuousEventHandlers(&receivers);
  EXPECT_FALSE(made.queue->isPending());
}

TEST_F(DeviceEvents, AReceiverMayStopTheAcquisitionFromInsideAMove) {
  ContinuousReceivers receivers;
  IPtr<RecordingDeviceReceiver> receiver(new RecordingDeviceReceiver);
  receivers.add(asRegistered(receiver.get()));
  auto made = std::make_unique<DeviceEventHandlers>(makeContinuousEventHandlers(&receivers));
  receiver->setDuringCall([&](const DeviceCall&) { made->handlers.clear(); });
  post(ContinuousEventNames::kMoved, positionOrientation({1, 0, 0}, {0, 0, -1}, {0, 1, 0}));
  post(ContinuousEventNames::kStop, nothing());
  pump();
  EXPECT_EQ(receiver->kinds(), std::vector<std::string>{"moved"});
}

using DeviceEventsThreads = DeviceEvents;

// The device's side of the one-move rule, run on a worker thread while the main thread delivers.
TEST_F(DeviceEventsThreads, MovesFromAWorkerAreNeverMoreThanOneInFlightAndTheCountNeverSticks) {
  ContinuousReceivers receivers;
  IPtr<RecordingDeviceReceiver> receiver(new RecordingDeviceReceiver);
  receivers.add(asRegistered(receiver.get()));
  DeviceEventHandlers made = makeContinuousEventHandlers(&receivers);
  IZelHardProbeEventQueue* queue = made.queue;
  std::atomic<int> inFlightSeen{0};
  receiver->setDuringCall([&](const DeviceCall& call) {
    if (call.kind == "moved" && !queue->isPending()) ++inFlightSeen;
  });

  constexpr int kEvents = 2000;
  std::atomic<int> postedMoves{0};
  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (int i = 0; i < kEvents; ++i) {
      post(ContinuousEventNames::kSampled, positionOrientation({double(i), 0, 0}, {}, {}));
      if (queue->isPending()) continue;
      queue->increment();
      post(ContinuousEventNames::kMoved, positionOrientation({double(i), 0, 0}, {}, {}));
      ++postedMoves;
    }
    done = true;
  });
  ASSERT_TRUE(host_.mainLoop().runUntil([&] { return done.load(); }, std::chrono::seconds(30)));
  worker.join();
  pump();

  std::vector<DeviceCall> calls = receiver->calls();
  int moves = 0, sampled = 0;
  double lastMove = -1;
  for (const DeviceCall& call : calls) {
    if (call.kind == "sampledOriented") {
      EXPECT_EQ(call.point.x, sampled++);
    }
    if (call.kind != "moved") continue;
    ++moves;
    EXPECT_GT(call.point.x, lastMove);
    lastMove = call.point.x;
  }
  EXPECT_EQ(sampled, kEvents) << "no other event is ever held back";
  EXPECT_EQ(moves, postedMoves.load());
  EXPECT_GT(moves, 0);
  EXPECT_EQ(inFlightSeen.load(), 0) << "a delivered move is still counted until its receivers have it";
  EXPECT_FALSE(queue->isPending());
}

}  // namespace
