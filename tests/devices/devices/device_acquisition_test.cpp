#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "framework/object/query_part.h"
#include "host/core/host_data_event.h"
#include "platform/clock.h"
#include "tests/devices/devices/device_fixture.h"

namespace {

using namespace steps;

using DeviceAcquisitionThreads = DeviceTest;

TEST_F(DeviceAcquisitionThreads,
       EveryEventKindReachesTheReceiversInPartCoordinatesWhileTheLogKeepsTheRawOnes) {
  rateLimitOff();
  plugin_->setHardwareMatrix(Matrix4x4::translation({1, 0, 0}));
  logToScratch();
  ASSERT_EQ(host_.core().dataStore().getInt("Palpera/Logging", -1), 0)
      << "the recording alone asks for the log";
  start(single(),
        {radius(0.003), moved({0, 0, 0}), sampled({1, 2, 3}), pointStop({4, 5, 6}), custom("Cancel")});
  ASSERT_TRUE(pumpUntilCalls(5));
  single()->stopAcquisition();
  EXPECT_EQ(recorder_->calls(), (Lines{"radius 0.003", "moved 1,0,0 0,0,-1 0,1,0", "sampled 2,2,3",
                                       "pointStop 5,5,6", "custom Cancel"}));

  recorder_ = IPtr<DeviceEventRecorder>(new DeviceEventRecorder);
  start(continuous(), {radius(0.002), startCapture(), moved({0, 1, 0}), sampled({0, 0, 1}, {1, 0, 0}, kNorth),
                       stopCapture(), stop(), custom("Error")});
  ASSERT_TRUE(pumpUntilCalls(7));
  continuous()->stopAcquisition();
  EXPECT_EQ(recorder_->calls(),
            (Lines{"radius 0.002", "startCapture", "moved 1,1,0 0,0,-1 0,1,0",
                   "sampledOriented 1,0,1 1,0,0 0,1,0", "stopCapture", "stop", "custom Error"}));
  std::string log = eventLog(1);
  EXPECT_EQ(occurrences(log, "<OnPointSampledOrientation time="), 1u) << log;
  EXPECT_EQ(occurrences(log, "<Point><X>0.000000</X><Y>0.000000</Y><Z>1.000000</Z></Point>"), 1u) << log;
  EXPECT_EQ(occurrences(log, "<To><X>1.000000</X><Y>0.000000</Y><Z>0.000000</Z></To>"), 1u) << log;
}

// A plug-in that gives a probe radius no probe has would have every feature compensated the wrong way, to
// nowhere or by a ball no arm carries: the receivers get the custom event "Error" in its place, and so does
// the log. A pointed probe's radius of 0 and the largest one taken arrive as they are.
TEST_F(DeviceAcquisitionThreads, AProbeRadiusNoProbeHasArrivesAsAnErrorAndAPointedProbesAsItIs) {
  logToScratch();
  start(single(), {radius(std::nan("")), radius(-0.003), radius(1e308), radius(0.5000001), radius(0),
                   sampled({1, 2, 3})});
  ASSERT_TRUE(pumpUntilCalls(6));
  single()->stopAcquisition();
  EXPECT_EQ(recorder_->calls(), (Lines{"custom Error", "custom Error", "custom Error", "custom Error",
                                       "radius 0", "sampled 1,2,3"}));
  // The record's time is the gap since the error before it, which a busy machine stretches.
  EXPECT_EQ(occurrences(eventLog(0), "<SetRadius time="), 1u) << eventLog(0);
  const std::string log = eventLog(0);
  const std::regex pointedRadius(R"(<SetRadius time="[0-9]+">0\.000000</SetRadius>)");
  EXPECT_EQ(
      std::distance(std::sregex_iterator(log.begin(), log.end(), pointedRadius), std::sregex_iterator()), 1)
      << log;
  recorder_ = IPtr<DeviceEventRecorder>(new DeviceEventRecorder);
  start(continuous(), {radius(-1), radius(0.5)});
  ASSERT_TRUE(pumpUntilCalls(2));
  continuous()->stopAcquisition();
  EXPECT_EQ(recorder_->calls(), (Lines{"custom Error", "radius 0.5"}));
}

TEST_F(DeviceAcquisitionThreads, AScanLineReachesTheReceiversPackedAndInPartCoordinates) {
  plugin_->setHardwareMatrix(Matrix4x4::translation({1, 0, 0}));
  logToScratch();
  // Four packed points; a stride of 24 bytes after each point's own 24 takes every other one, and a
  // negative stride never steps back before the buffer.
  std::vector<double> buffer{0, 0, 0, 10, 10, 10, 1, 2, 3, 20, 20, 20};
  start(laserScan(),
        {startCapture(), scanLine({0, 0, 5}, kDown, kNorth, buffer, 2, 24),
         scanLine({0, 0, 5}, kDown, kNorth, {}, 0, 0),
         scanLine({0, 0, 5}, kDown, kNorth, buffer, 2, static_cast<uint32_t>(-24)), stopCapture(), stop()});
  ASSERT_TRUE(pumpUntilCalls(6));
  laserScan()->stopAcquisition();

  EXPECT_EQ(recorder_->calls(),
            (Lines{"startCapture", "scan 1,0,5 0,0,-1 0,1,0 [2: 1,0,0 2,2,3] stride 0",
                   "scan 1,0,5 0,0,-1 0,1,0 [0:] stride 0",
                   "scan 1,0,5 0,0,-1 0,1,0 [2: 1,0,0 11,10,10] stride 0", "stopCapture", "stop"}));
  std::string log = eventLog();
  EXPECT_EQ(occurrences(log, "<OnSampled time="), 3u) << log;
  EXPECT_EQ(occurrences(log, "<Points>"), 2u) << "a line without points has no points element";
  EXPECT_EQ(occurrences(log, "<Point><X>1.000000</X><Y>2.000000</Y><Z>3.000000</Z></Point>"), 1u) << log;
}

TEST_F(DeviceAcquisitionThreads, TheRateLimitDropsAMoveBeforeOneIntervalHasPassed) {
  // The clock stands still unless the run moves it, so the interval is exact: 1/30 s at the default rate.
  constexpr uint64_t kStart = 5'000'000'000;
  platform::CounterOverride clock(kStart);
  logToScratch();
  // A move that passes starts the next interval: the one right after it is dropped, one later passes.
  start(continuous(),
        {moved({1, 0, 0}), sampled({2, 0, 0}, kDown, kNorth), act([&] { clock.set(kStart + 33'333'334); }),
         moved({3, 0, 0}), moved({4, 0, 0}), act([&] { clock.set(kStart + 66'666'668); }), moved({5, 0, 0})});
  ASSERT_TRUE(plugin_->script().waitForEvents(7));
  continuous()->stopAcquisition();

  EXPECT_EQ(recorder_->calls(), (Lines{"sampledOriented 2,0,0 0,0,-1 0,1,0", "moved 3,0,0 0,0,-1 0,1,0"}))
      << "move 5 passed the limit but waits behind move 3, in flight";
  const std::string log = eventLog();
  EXPECT_EQ(occurrences(log, "<OnMoved time="), 2u) << "a dropped move is not logged either";
  EXPECT_EQ(occurrences(log, "<X>4.000000</X>"), 0u) << log;
}

TEST_F(DeviceAcquisitionThreads, OneMoveInFlightTheOthersOnlyLogged) {
  rateLimitOff();
  logToScratch();
  start(continuous(), {moved({1, 0, 0}), moved({2, 0, 0}), moved({3, 0, 0}), moved({4, 0, 0}),
                       moved({5, 0, 0}), sampled({6, 0, 0}, kDown, kNorth)});
  ASSERT_TRUE(plugin_->script().waitForEvents(6));
  continuous()->stopAcquisition();  // the main thread did not pump until now

  EXPECT_EQ(recorder_->calls(), (Lines{"moved 1,0,0 0,0,-1 0,1,0", "sampledOriented 6,0,0 0,0,-1 0,1,0"}));
  EXPECT_EQ(occurrences(eventLog(), "<OnMoved time="), 5u) << "a held move is still logged";
}

// The move the one in flight held back is posted right before the touch after it, whose approach it is; any
// other event between them drops it, so a touch after a stop, an undo or a new radius takes no move from
// before that event as its approach.
TEST_F(DeviceAcquisitionThreads, AHeldMoveIsTheApproachOnlyOfTheTouchRightAfterIt) {
  rateLimitOff();
  const std::string first = "moved 1,0,0 0,0,-1 0,1,0", touch = "sampled 3,0,0";
  const struct {
    const char* what;
    std::vector<PluginStep> between;
    Lines calls;
  } cases[] = {
      {"nothing between", {}, {first, "moved 2,0,0 0,0,-1 0,1,0", touch}},
      {"a stop", {pointStop({4, 0, 0})}, {first, "pointStop 4,0,0", touch}},
      {"an undo", {custom("UndoLastSampled")}, {first, "custom UndoLastSampled", touch}},
      {"a radius", {radius(0.001)}, {first, "radius 0.001", touch}},
  };
  size_t sent = 0;
  for (const auto& each : cases) {
    SCOPED_TRACE(each.what);
    std::vector<PluginStep> script = {moved({1, 0, 0}), moved({2, 0, 0})};
    script.insert(script.end(), each.between.begin(), each.between.end());
    script.push_back(sampled({3, 0, 0}));
    sent += script.size();
    const size_t before = recorder_->calls().size();
    start(single(), script);
    ASSERT_TRUE(plugin_->script().waitForEvents(sent));
    single()->stopAcquisition();  // the main thread did not pump until now: move 1 was still in flight
    const Lines calls = recorder_->calls();
    EXPECT_EQ(Lines(calls.begin() + static_cast<std::ptrdiff_t>(before), calls.end()), each.calls);
  }
}

TEST_F(DeviceAcquisitionThreads, AMoveTheHostCouldNotCarryDoesNotHoldBackTheNext) {
  rateLimitOff();
  auto refuse = act([this] { host_.root().setServiceFactory(IZelDataEvent::interfaceName, {}); });
  auto carry = act([this] {
    host_.root().setServiceFactory(IZelDataEvent::interfaceName,
                                   [] { return static_cast<IZelUnknown*>(new HostDataEvent); });
  });
  start(continuous(), {refuse, moved({1, 0, 0}), carry, moved({2, 0, 0})});
  ASSERT_TRUE(plugin_->script().waitForEvents(4));
  continuous()->stopAcquisition();
  EXPECT_EQ(recorder_->calls(), Lines{"moved 2,0,0 0,0,-1 0,1,0"});
}

TEST_F(DeviceAcquisitionThreads, EventsPostedJustBeforeTheRunEndsAreDeliveredByTheStop) {
  start(continuous(), {sampled({1, 0, 0}, kDown, kNorth), stop(), endRun()});
  ASSERT_TRUE(plugin_->script().waitForRunsEnded(1));
  EXPECT_TRUE(recorder_->calls().empty());
  continuous()->stopAcquisition();
  EXPECT_EQ(recorder_->calls(), (Lines{"sampledOriented 1,0,0 0,0,-1 0,1,0", "stop"}));
  EXPECT_EQ(host_.core().mainLoop().runPending(), 0u);
}

TEST_F(DeviceAcquisitionThreads, StartingAgainAndDisconnectingStopTheRunningAcquisitionFirst) {
  start(continuous(), {sampled({1, 0, 0}, kDown, kNorth)});
  ASSERT_TRUE(plugin_->script().waitForEvents(1));
  plugin_->script().queue({sampled({2, 0, 0}, kDown, kNorth)});
  ASSERT_TRUE(continuous()->startAcquisition());
  EXPECT_TRUE(plugin_->script().waitForRunsEnded(1, std::chrono::milliseconds(0))) << "stopped before";
  ASSERT_TRUE(plugin_->script().waitForEvents(2));
  ASSERT_TRUE(pumpUntilCalls(2));
  host_.core().mainLoop().runPending();
  EXPECT_EQ(recorder_->calls(),
            (Lines{"sampledOriented 1,0,0 0,0,-1 0,1,0", "sampledOriented 2,0,0 0,0,-1 0,1,0"}))
      << "each event once, by one set of handlers";

  EXPECT_TRUE(continuous()->disconnect()) << "which stops the acquisition first";
  EXPECT_TRUE(plugin_->script().waitForRunsEnded(2, std::chrono::milliseconds(0)));
  EXPECT_FALSE(plugin_->continuousFace().isConnected());
}

TEST_F(DeviceAcquisitionThreads, AReceiverThatStartsAgainWhileTheStopDeliversKeepsItsNewAcquisition) {
  bool restarted = false;
  recorder_->setDuringCall([&](const std::string& call) {
    if (call != "stop" || restarted) return;
    restarted = true;
    EXPECT_TRUE(continuous()->startAcquisition());
  });
  start(continuous(), {stop(), sampled({1, 0, 0}, kDown, kNorth)});
  ASSERT_TRUE(plugin_->script().waitForEvents(2));
  plugin_->script().queue({sampled({7, 0, 0}, kDown, kNorth)});
  continuous()->stopAcquisition();  // delivers the stop, whose receiver starts again, then the last point
  ASSERT_TRUE(restarted);

  ASSERT_TRUE(pumpUntilCalls(3));
  host_.core().mainLoop().runPending();
  continuous()->stopAcquisition();
  EXPECT_EQ(recorder_->calls(),
            (Lines{"stop", "sampledOriented 1,0,0 0,0,-1 0,1,0", "sampledOriented 7,0,0 0,0,-1 0,1,0"}))
      << "the stopped acquisition's last point once, then the new one's";
}

TEST_F(DeviceAcquisitionThreads, APluginErrorReachesTheReceiversAndTheDeviceStopsCleanly) {
  recorder_->setDuringCall([&](const std::string& call) {
    if (call == "custom Error") continuous()->stopAcquisition();
  });
  start(continuous(), {startCapture(), sampled({1, 0, 0}, kDown, kNorth), custom("Error"), endRun(),
                       sampled({9, 9, 9}, kDown, kNorth)});
  ASSERT_TRUE(pumpUntilCalls(3));
  EXPECT_EQ(recorder_->calls(),
            (Lines{"startCapture", "sampledOriented 1,0,0 0,0,-1 0,1,0", "custom Error"}));
  EXPECT_TRUE(plugin_->script().waitForRunsEnded(1));

  // The device is idle and whole: the next acquisition runs as the first did.
  recorder_->setDuringCall({});
  plugin_->script().queue({sampled({2, 0, 0}, kDown, kNorth)});
  ASSERT_TRUE(continuous()->startAcquisition());
  ASSERT_TRUE(pumpUntilCalls(4));
  continuous()->stopAcquisition();
  EXPECT_EQ(recorder_->calls().back(), "sampledOriented 2,0,0 0,0,-1 0,1,0");
  EXPECT_TRUE(continuous()->disconnect());
}

TEST_F(DeviceAcquisitionThreads, MemoryRunningOutInThePluginEndsTheAcquisitionWithError) {
  start(continuous(), {startCapture(), act([] { throw std::bad_alloc(); })});
  ASSERT_TRUE(pumpUntilCalls(2));
  continuous()->stopAcquisition();
  EXPECT_EQ(recorder_->calls(), (Lines{"startCapture", "custom Error"}));
}

TEST_F(DeviceAcquisitionThreads, TheViewFeedsTheEmulatorOnlyWhileAHardProbeDeviceAcquiresWithIt) {
  runStartupTask("EmulatorPluginStartupTask");
  auto* emulator = queryPart<IZelPlugin>(host_.devices().pluginHandler().plugins().back());
  ASSERT_TRUE(manager("HardProbe")->setActivePlugin(emulator));
  const size_t before = host_.scene().callbacks().registeredCallbacks();

  ASSERT_TRUE(single()->connect() && continuous()->connect());
  ASSERT_TRUE(single()->startAcquisition());
  ASSERT_TRUE(continuous()->startAcquisition());
  EXPECT_EQ(host_.scene().callbacks().registeredCallbacks(), before + 6)
      << "mouse down, click, double click, move, keys: once however many devices acquire, or each input "
         "reaches the emulator's run twice";
  single()->stopAcquisition();
  EXPECT_EQ(host_.scene().callbacks().registeredCallbacks(), before + 6) << "the other device still acquires";
  continuous()->stopAcquisition();
  EXPECT_EQ(host_.scene().callbacks().registeredCallbacks(), before);

  start(laserScan(), {});
  EXPECT_EQ(host_.scene().callbacks().registeredCallbacks(), before)
      << "the scanner never drives the emulator";
}

}  // namespace
