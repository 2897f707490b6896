#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "framework/commands/command_context.h"
#include "platform/clock.h"
#include "platform/utf8.h"
#include "tests/commands/capture/capture_cmd_fixture.h"

namespace {

using ProbeCapture = CaptureTest;

TEST_F(ProbeCapture, CanRunOnlyOutsideOtherStatesAndTellsAtTheStartWhatTheEmulatorLacks) {
  IPtr<IComponentCommand> command;
  command.createInstance(classIdOf("PalperaCaptureCmd"));
  auto* context = static_cast<IComponentCommandContainerV2*>(&host_.gui().commandContainer());
  EXPECT_TRUE(command->canRun(context)) << "a real arm";
  host_.gui().commandContainer().setFlag("sectionCurrent", true);
  EXPECT_FALSE(command->canRun(context));
  host_.gui().commandContainer().setFlag("sectionCurrent", false);

  TestPlugin* emulator = TestPlugin::emulator(u"Emulator");
  host_.devices().pluginHandler().registerPlugin(static_cast<IZelPlugin*>(emulator));
  ASSERT_TRUE(manager_->setActivePlugin(emulator));
  EXPECT_TRUE(command->canRun(context)) << "an emulator with no reference object is told at the start";
  EXPECT_EQ(run(Cmd::kSinglePoint), Start::kActivationRefused);
  EXPECT_EQ(errorMessages(), std::vector<std::u16string>{u"\"Probe Capture\" needs a reference model named "
                                                         u"\"RefObject\", loaded and active."});
  EXPECT_TRUE(journal_.empty()) << "no device connected";
}

TEST_F(ProbeCapture, ActivationReadsTheSettingsIntoTheDialogAndConnectsTheModesDevice) {
  store().setInt(nullptr, "Palpera/ProbeCapture/Merge", 0);
  store().setDouble(nullptr, "Palpera/ProbeCapture/TimeRate", 0.25);
  ASSERT_EQ(run(Cmd::kTime), Start::kStarted);
  EXPECT_EQ(nameField(), u"Scan 1");
  EXPECT_EQ(dialog().control(Cmd::kProbeModeTime)->value, 1) << "the stored mode's button is checked";
  EXPECT_TRUE(dialog().control(Cmd::kTimeRate)->flag) << "\"Interval (s)\" is on";
  EXPECT_FALSE(dialog().control(Cmd::kDistanceRate)->flag);
  EXPECT_EQ(dialog().control(Cmd::kTimeRate)->value, 0.25);
  EXPECT_EQ(dialog().control(Cmd::kMerge)->value, 0);
  EXPECT_FALSE(dialog().control(Cmd::kSpacing)->enabled) << "sampling is off";
  EXPECT_FALSE(dialog().standardControlShown(IGuiDialog::kStandardControl2));
  EXPECT_EQ(journal_, std::vector<std::string>{"connect HardProbeContinuous"});
  EXPECT_EQ(dialog().picture(Cmd::kProbeModeDistanceImage), "probe_mode_distance");
}

// The Virtual Camera box shows the stored setting at the start, and then what the user last set it to.
TEST_F(ProbeCapture, TheVirtualCameraBoxShowsTheSettingAndThenTheUsersChoice) {
  const std::pair<int32_t, std::vector<int32_t>> cases[] = {{0, {}}, {1, {}}, {0, {1, 1, 0}}, {1, {0, 0, 1}}};
  for (const auto& [setting, entered] : cases) {
    SCOPED_TRACE(testing::Message() << setting << " then " << entered.size() << " entries");
    store().setInt(nullptr, "Palpera/ProbeCapture/VirtualCamera", setting);
    ASSERT_EQ(run(Cmd::kSinglePoint), Start::kStarted);
    int32_t shown = setting;
    EXPECT_EQ(dialog().control(Cmd::kVirtualCamera)->value, shown);
    for (int32_t value : entered) {
      ASSERT_TRUE(dialog().enterValue(Cmd::kVirtualCamera, value));
      EXPECT_EQ(dialog().control(Cmd::kVirtualCamera)->value, value);
    }
    runner_.cancel();
  }
}

TEST_F(ProbeCapture, TheBoxesKeepTheirIdsAndTheModeButtonsShowTheirImages) {
  ASSERT_EQ(run(Cmd::kSinglePoint), Start::kStarted);
  EXPECT_EQ(dialog().idOf(u"MainBox"), Cmd::kMainBox);
  EXPECT_EQ(dialog().idOf(u"PointObjectBox"), Cmd::kPointObjectBox);
  EXPECT_EQ(dialog().idOf(u"ModeBox"), Cmd::kModeBox);
  EXPECT_EQ(dialog().control(Cmd::kPointObjectName)->kind, "text") << "not a box that took its id";
  EXPECT_EQ(dialog().control(Cmd::kSpacing)->text, u"Spacing");
  EXPECT_EQ(dialog().control(Cmd::kProbeModeSingle)->picture, Cmd::kProbeModeSingleImage);
  EXPECT_EQ(dialog().control(Cmd::kProbeModeTime)->picture, Cmd::kProbeModeTimeImage);
  EXPECT_EQ(dialog().control(Cmd::kProbeModeDistance)->picture, Cmd::kProbeModeDistanceImage);
}

TEST_F(ProbeCapture, ARefusedConnectionFailsActivationAndLeavesNoDeviceConnected) {
  single_->answers.connect = false;
  EXPECT_EQ(run(Cmd::kSinglePoint), Start::kActivationRefused);
  EXPECT_EQ(errorMessages(), std::vector<std::u16string>{u"Unable to connect to hard probe device."});
  EXPECT_EQ(single_->receiverCount(), 0u);
  EXPECT_EQ(std::ranges::count(journal_, std::string("connect HardProbeContinuous")), 0);

  // A mode whose device does not connect leaves nothing to start a capture with.
  continuous_->answers.connect = false;
  single_->answers.connect = true;
  ASSERT_EQ(run(Cmd::kSinglePoint), Start::kStarted);
  EXPECT_TRUE(press(Cmd::kProbeModeDistance));
  EXPECT_FALSE(dialog().control(Cmd::kStartCapture)->enabled);
  EXPECT_EQ(journal_, (std::vector<std::string>{"disconnect HardProbe", "connect HardProbeContinuous"}));
}

TEST_F(ProbeCapture, SwitchingToDistanceModeCapturesWithTheContinuousDeviceOnly) {
  ASSERT_EQ(run(Cmd::kSinglePoint), Start::kStarted);
  ASSERT_TRUE(press(Cmd::kProbeModeDistance));
  EXPECT_EQ(journal_, (std::vector<std::string>{"disconnect HardProbe", "connect HardProbeContinuous"}));
  EXPECT_TRUE(dialog().control(Cmd::kDistanceRate)->flag);
  EXPECT_FALSE(dialog().control(Cmd::kTimeRate)->flag);
  startCapture();
  EXPECT_EQ(continuous_->receiverCount(), 1u);
  EXPECT_EQ(single_->receiverCount(), 0u);
  EXPECT_FALSE(dialog().control(Cmd::kStartCapture)->enabled) << "capturing";
  EXPECT_FALSE(dialog().control(Cmd::kPointObjectName)->enabled);
  EXPECT_EQ(store().getInt("Palpera/Tile/Active", -1), 1);
}

TEST_F(ProbeCapture, DistanceModeTakesPointsStrictlyFurtherThanTheIntervalFromTheLastTaken) {
  store().setDouble(nullptr, "Palpera/ProbeCapture/DistanceRate", 0.01);
  ASSERT_EQ(run(Cmd::kDistance), Start::kStarted);
  startCapture();
  pass({{0, 0, 0}, {0.005, 0, 0}, {0.01, 0, 0}, {0.0101, 0, 0}});
  EXPECT_EQ(pointsIn(object(u"Scan 1")), (std::vector<Vector3>{{0, 0, 0}, {0.0101, 0, 0}}));
  EXPECT_EQ(host_.gui().soundPlayer().plays(), 2) << "a click per point taken";

  // The field's entry replaces the interval and its square.
  ASSERT_TRUE(dialog().enterValue(Cmd::kDistanceRate, 0.02));
  pass({{1, 0, 0}, {1.015, 0, 0}, {1.0201, 0, 0}});
  EXPECT_EQ(pointsIn(object(u"Scan 2")), (std::vector<Vector3>{{1, 0, 0}, {1.0201, 0, 0}}));
}

TEST_F(ProbeCapture, TimeModeTakesThePassesFirstPointAndThenOnePerInterval) {
  store().setDouble(nullptr, "Palpera/ProbeCapture/TimeRate", 0.5);
  ASSERT_EQ(run(Cmd::kTime), Start::kStarted);
  startCapture();
  platform::CounterOverride clock(1'000'000'000);
  auto at = [&](double seconds) { clock.set(1'000'000'000 + static_cast<uint64_t>(seconds * 1e9)); };
  startPass();
  for (double t : {0.0, 0.3, 0.5, 0.9}) {
    at(t);
    sample({t, 0, 0});
  }
  stopPass();
  EXPECT_EQ(pointsIn(object(u"Scan 1")), (std::vector<Vector3>{{0, 0, 0}, {0.5, 0, 0}}));
}

TEST_F(ProbeCapture, SinglePointPressesMakeAPassEachAndEmptyPassesLeaveNothing) {
  ASSERT_EQ(run(Cmd::kSinglePoint), Start::kStarted);
  startCapture();
  for (double x : {1.0, 2.0, 3.0}) pressProbe({x, 0, 0});
  EXPECT_EQ(pointObjectNames(), (std::vector<std::u16string>{u"Scan 1", u"Scan 2", u"Scan 3"}));
  EXPECT_EQ(pointsIn(object(u"Scan 2")), (std::vector<Vector3>{{2, 0, 0}}));
  EXPECT_EQ(nameField(), u"Scan 4");
  EXPECT_EQ(host_.gui().soundPlayer().plays(), 0) << "the device's own button is heard";
  EXPECT_EQ(document().currentObjects().size(), 3u) << "each pass joins the current objects";

  // Reset starts the numbering again.
  ASSERT_TRUE(press(Cmd::kPointObjectNameReset));
  EXPECT_EQ(nameField(), u"Scan 1");
}

TEST_F(ProbeCapture, ATypedNameNamesTheNextPass) {
  ASSERT_EQ(run(Cmd::kSinglePoint), Start::kStarted);
  ASSERT_TRUE(dialog().typeText(Cmd::kPointObjectName, u"Flange"));
  startCapture();
  pressProbe({1, 0, 0});
  EXPECT_EQ(pointObjectNames(), std::vector<std::u16string>{u"Flange"});
  EXPECT_EQ(pointsIn(object(u"Flange")), (std::vector<Vector3>{{1, 0, 0}}));
}

TEST_F(ProbeCapture, AContinuousPassWithoutPointsLeavesNoObjectAndTheNameAsItWas) {
  ASSERT_EQ(run(Cmd::kDistance), Start::kStarted);
  startCapture();
  pass({});
  EXPECT_TRUE(pointObjectNames().empty());
  EXPECT_EQ(nameField(), u"Scan 1");
}

TEST_F(ProbeCapture, AnErrorEndsTheOpenPassKeepingItsPointsAndStopsTheCapture) {
  ASSERT_EQ(run(Cmd::kDistance), Start::kStarted);
  startCapture();
  startPass();
  sample({0, 0, 0});
  sample({1, 0, 0});
  error();
  EXPECT_EQ(pointObjectNames(), std::vector<std::u16string>{u"Scan 1"});
  EXPECT_EQ(pointsIn(object(u"Scan 1")).size(), 2u);
  EXPECT_EQ(nameField(), u"Scan 2") << "the next pass is not given the same name";
  EXPECT_EQ(errorMessages(), std::vector<std::u16string>{u"An error occurred during data acquisition."});
  EXPECT_EQ(continuous_->receiverCount(), 0u);
  EXPECT_TRUE(dialog().control(Cmd::kStartCapture)->enabled);

  startCapture();
  startPass();
  error();
  EXPECT_EQ(pointObjectNames(), std::vector<std::u16string>{u"Scan 1"}) << "an empty pass leaves nothing";
}

// The undo key takes back the last single point of the capture under way, and nothing else: not a
// continuous pass, not a pass still open, not a point of an earlier capture.
TEST_F(ProbeCapture, UndoTakesBackOnlyTheLastSinglePointOfTheCaptureUnderWay) {
  // The point objects left by the undo after capture, the capture then cancelled.
  const auto leftAfterUndo = [&](int32_t mode, const std::function<void()>& capture) {
    EXPECT_EQ(run(mode), Start::kStarted);
    startCapture();
    capture();
    (mode == Cmd::kDistance ? continuous_ : single_)
        ->deliver<IZelHardProbeDataReceiver>(
            [](IZelHardProbeDataReceiver* r) { r->onCustomEvent(ZelCString("UndoLastSampled"), nullptr); });
    const std::vector<std::u16string> left = pointObjectNames();
    runner_.cancel();
    EXPECT_TRUE(pointObjectNames().empty()) << "cancel takes every pass back";
    if (ICounter* names = host_.core().counters().find(ZelCString("ProbeCapturePointObjectNumber")))
      names->reset();
    return left;
  };
  const std::vector<std::u16string> one{u"Scan 1"}, two{u"Scan 1", u"Scan 2"};
  EXPECT_EQ(leftAfterUndo(Cmd::kSinglePoint, [&] { pressProbe({1, 0, 0}), pressProbe({2, 0, 0}); }), one);
  EXPECT_EQ(leftAfterUndo(Cmd::kDistance, [&] { pass({{0, 0, 0}, {1, 0, 0}}); }), one) << "a continuous pass";
  EXPECT_EQ(leftAfterUndo(Cmd::kSinglePoint,
                          [&] {
                            pressProbe({1, 0, 0});
                            single_->deliver<IZelHardProbeContinuousDataReceiver>(
                                [](auto* r) { r->onStartCapture(); });
                          }),
            two)
      << "a pass still open";
  EXPECT_EQ(
      leftAfterUndo(Cmd::kSinglePoint,
                    [&] {
                      pressProbe({1, 0, 0});
                      single_->deliver<IZelHardProbeDataReceiver>([](auto* r) { r->onPointStop({1, 0, 1}); });
                      startCapture();
                    }),
      one)
      << "an earlier capture's point";
}

}  // namespace
