// Every command that acquires from a device, ended while the device still has an event on its way: by the
// device's own stop or "Error", by cancel or by apply (the last two followed by deactivate). The device
// delivers what it posted during the stop it is asked for, as a real device does. Whatever is in transit (a
// second stop, a sample, "Cancel", "Error"), the run ends without an assertion report and without a message
// beyond the one an "Error" that ends it brings, nothing of the command stays registered with the device, and
// a cancelled run leaves no object that came of the late events.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "commands/capture/palpera_capture_cmd.h"
#include "commands/measure/palpera_cross_section_cmd.h"
#include "commands/plugin_dump/palpera_dump_cmd.h"
#include "devices/managers/hard_probe_plugin_manager.h"
#include "framework/object/query_part.h"
#include "host/cad/cad_model.h"
#include "host/scene/host_plane_widget.h"
#include "tests/commands/support/command_fixture.h"
#include "tests/devices/support/test_plugin.h"

namespace {

using Single = IZelHardProbeDataReceiver;
using Continuous = IZelHardProbeContinuousDataReceiver;

enum class Moment { kDeviceStop, kDeviceError, kCancel, kApply };
enum class Event { kStop, kSample, kCancel, kError };

constexpr Vector3 kTip{0.01, 0.02, 0.003};

// The event through a receiver of either kind.
template <class R>
void receive(R* r, Event event) {
  constexpr bool continuous = std::is_same_v<R, Continuous>;
  switch (event) {
    case Event::kStop:
      if constexpr (continuous) r->onStop();
      if constexpr (!continuous) r->onPointStop(kTip);
      return;
    case Event::kSample:
      if constexpr (continuous) r->onPointSampled(kTip, {0, 0, -1}, {0, 1, 0});
      if constexpr (!continuous) r->onPointSampled(kTip);
      return;
    case Event::kCancel:
      return r->onCustomEvent(ZelCString("Cancel"), nullptr);
    case Event::kError:
      return r->onCustomEvent(ZelCString("Error"), nullptr);
  }
}

// The device a command acquires from: the single-point "HardProbe" or the continuous "HardProbeContinuous".
enum class Device { kSingle, kContinuous };
// The active plug-in a command needs: a connected test arm, or the emulator over a CAD reference.
enum class Plugin { kNone, kArm, kEmulatorOnReferenceBox };
// How a command's acquisition is stopped while it runs: by the device's stop event (a command that ignores
// that event just goes on), or by its dialog's Stop button.
enum class StopBy { kDeviceEvent, kDialog };

class StopWithEventsInTransit;

// One command brought to acquiring: the device it listens to, what it needs, and what starts its
// acquisition once it runs (nothing: activation does).
struct Command {
  const char* name;
  const char* className;
  Device device;
  Plugin plugin;
  bool reportsErrors;  // an "Error" that ends its acquisition says so
  void (*begin)(StopWithEventsInTransit&) = nullptr;
  StopBy stopBy = StopBy::kDeviceEvent;
  bool goesOnAfterDeviceStop = false;  // so that an "Error" behind the stop still reaches a running command
};

const std::vector<Command>& commands();

class StopWithEventsInTransit : public CommandTest,
                                public ::testing::WithParamInterface<std::tuple<size_t, Moment, Event>> {
 public:
  void SetUp() override {
    CommandTest::SetUp();
    for (const char* key :
         {"Palpera/Gfx/ShowProbe", "Palpera/FeatureMatching/Enable", "Palpera/ProbeCapture/VirtualCamera",
          "Palpera/ProbeCapture/Sampling", "Palpera/ProbeCrossSection/VirtualCamera"})
      store().setInt(nullptr, key, 0);
    single_ = addDevice("HardProbe", "IZelHardProbeDataReceiverV2");
    continuous_ = addDevice("HardProbeContinuous", Continuous::interfaceName);
  }
  void TearDown() override {
    if (runner_.running()) runner_.cancel();
    registry_->setDevice(ZelCString("HardProbe"), nullptr);
    registry_->setDevice(ZelCString("HardProbeContinuous"), nullptr);
    CommandTest::TearDown();
  }

  // Through the device's receivers: delivered now, or posted to arrive later.
  void send(Device kind, Event event, bool post) {
    if (kind == Device::kContinuous) return send<Continuous>(*continuous_, event, post);
    send<Single>(*single_, event, post);
  }
  void startPass() {
    continuous_->deliver<Continuous>([](Continuous* r) { r->onStartCapture(); });
  }
  using CommandTest::press;
  IComponentCommand* command() { return command_.get(); }

 protected:
  IDataStore& store() { return host_.core().dataStore(); }
  TestDevice& device(Device kind) { return kind == Device::kContinuous ? *continuous_ : *single_; }

  // The command running and acquiring, its dialog and settings as the command's own tests set them.
  void running(const Command& command) {
    if (command.plugin == Plugin::kArm) useArm();
    if (command.plugin == Plugin::kEmulatorOnReferenceBox) useReferenceBox();
    if (HasFatalFailure()) return;
    host_.gui().commandContainer().setArgumentText(
        "IZelFeature=IZelPlane,IZelFeatureCollector=Plane,UsePlane=false");
    host_.gui().commandContainer().setWorkingSize(1.0);
    store().setInt(
        nullptr, "Palpera/ProbeCapture/Mode",
        command.device == Device::kContinuous ? PalperaCaptureCmd::kTime : PalperaCaptureCmd::kSinglePoint);
    ASSERT_EQ(start(command.className), CommandRunner::Start::kStarted);
    if (command.begin) command.begin(*this);
  }

  std::vector<std::u16string> documentObjects() {
    std::vector<std::u16string> names;
    for (const IPtr<HostDocObject>& object : host_.document().doc().objects())
      names.push_back(object->name());
    return names;
  }
  std::vector<std::string> assertions() {
    std::vector<std::string> expressions;
    for (const auto& report : host_.core().assertions().reports()) expressions.push_back(report.expression);
    return expressions;
  }

 private:
  template <class R>
  static void send(TestDevice& device, Event event, bool post) {
    auto call = [event](R* r) { receive(r, event); };
    post ? device.post<R>(call) : device.deliver<R>(call);
  }

  // A connected test arm as the active plug-in of the "HardProbe" manager.
  void useArm() {
    TestPlugin* arm = TestPlugin::arm(u"Arm");  // the plug-in handler's from here on
    host_.devices().pluginHandler().registerPlugin(static_cast<IZelPlugin*>(arm));
    registry_->setManager(ZelCString("HardProbe"), manager_.get());
    ASSERT_TRUE(manager_->setActivePlugin(arm));
    ZelString error;
    ASSERT_TRUE(static_cast<IZelHardProbePlugin*>(arm)->connect(error));
  }
  // The emulator as the active plug-in and a CAD box as the active and current "RefObject".
  void useReferenceBox() {
    ASSERT_TRUE(useEmulatorPlugin());
    reference_ = addCadModel(host_.document().doc(), u"RefObject", boxModel({0, 0, 0}, {0.1, 0.1, 0.01}));
    host_.document().doc().setActiveObject(reference_.get());
    host_.document().doc().setCurrentObject(reference_.get());
  }

  IPtr<HardProbePluginManager> manager_{new HardProbePluginManager};
  TestDevice* single_ = nullptr;
  TestDevice* continuous_ = nullptr;
  IPtr<HostDocObject> reference_;
};

using Fixture = StopWithEventsInTransit;

const std::vector<Command>& commands() {
  static const std::vector<Command> all = {
      {"HardProbeFeatures", "PalperaCreateFeaturesCmd2", Device::kSingle, Plugin::kArm, true},
      {"QuickProbe", "PalperaQuickProbeCmd", Device::kSingle, Plugin::kEmulatorOnReferenceBox, true},
      {"ProbeCaptureSinglePoint", "PalperaCaptureCmd", Device::kSingle, Plugin::kArm, true,
       [](Fixture& f) {
         ASSERT_TRUE(f.press(PalperaCaptureCmd::kStartCapture));
         f.send(Device::kSingle, Event::kSample, false);  // one pass taken
       }},
      {"ProbeCaptureTimeWithAPassOpen", "PalperaCaptureCmd", Device::kContinuous, Plugin::kArm, true,
       [](Fixture& f) {
         ASSERT_TRUE(f.press(PalperaCaptureCmd::kStartCapture));
         f.startPass();
         f.send(Device::kContinuous, Event::kSample, false);
       }},
      {"ProbeSections", "PalperaCrossSectionCmd", Device::kContinuous, Plugin::kArm, true,
       [](Fixture& f) {
         auto* sections = static_cast<PalperaCrossSectionCmd*>(f.command());
         queryPart<HostPlaneWidget>(sections->planeWidget())->place({0.005, 0, 0}, {1, 0, 0});
         ASSERT_TRUE(f.press(PalperaCrossSectionCmd::kStartCapture));
       }},
      {"RealTimeDeviation", "PalperaRealTimeDeviationCmd", Device::kSingle, Plugin::kEmulatorOnReferenceBox,
       true, nullptr, StopBy::kDeviceEvent, true},
      {"PluginDataDump", "PalperaDumpCmd", Device::kContinuous, Plugin::kNone, false,
       [](Fixture& f) { ASSERT_TRUE(f.press(PalperaDumpCmd::kStartButton)); }, StopBy::kDialog},
  };
  return all;
}

TEST_P(StopWithEventsInTransit, TheRunEndsCleanlyWhateverTheDeviceStillDelivers) {
  const auto [index, moment, event] = GetParam();
  const Command& run = commands()[index];
  ASSERT_NO_FATAL_FAILURE(running(run));
  const std::vector<std::u16string> before = documentObjects();
  const size_t messages = errorMessages().size();

  if (moment == Moment::kDeviceStop || moment == Moment::kDeviceError) {
    send(run.device, moment == Moment::kDeviceStop ? Event::kStop : Event::kError, true);
    send(run.device, event, true);
    if (run.stopBy == StopBy::kDialog)
      press(PalperaDumpCmd::kStopButton);
    else
      device(run.device).deliverPosted();
  } else {
    send(run.device, event, true);
    moment == Moment::kCancel ? runner_.cancel() : runner_.apply();
  }
  if (runner_.running()) runner_.cancel();

  EXPECT_EQ(assertions(), std::vector<std::string>{});
  const bool errorHeard =
      moment == Moment::kDeviceError ||
      (moment == Moment::kDeviceStop && event == Event::kError && run.goesOnAfterDeviceStop);
  EXPECT_EQ(errorMessages().size(), messages + (errorHeard && run.reportsErrors));
  EXPECT_EQ(device(run.device).receiverCount(), 0u);
  EXPECT_EQ(device(run.device).postedCount(), 0u) << "what was in transit arrived";
  if (moment == Moment::kCancel) {
    EXPECT_THAT(documentObjects(), ::testing::IsSubsetOf(before)) << "nothing made by what came late";
  }
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<size_t, Moment, Event>>& info) {
  static constexpr const char* kMoments[] = {"AtTheDevicesStop", "AtTheDevicesError", "AtCancel", "AtApply"};
  static constexpr const char* kEvents[] = {"ASecondStop", "ASample", "Cancel", "Error"};
  const auto [index, moment, event] = info.param;
  return std::string(commands()[index].name) + kMoments[static_cast<int>(moment)] + "With" +
         kEvents[static_cast<int>(event)] + "InTransit";
}

INSTANTIATE_TEST_SUITE_P(EveryAcquiringCommand, StopWithEventsInTransit,
                         ::testing::Combine(::testing::Range<size_t>(0, commands().size()),
                                            ::testing::Values(Moment::kDeviceStop, Moment::kDeviceError,
                                                              Moment::kCancel, Moment::kApply),
                                            ::testing::Values(Event::kStop, Event::kSample, Event::kCancel,
                                                              Event::kError)),
                         caseName);

}  // namespace
