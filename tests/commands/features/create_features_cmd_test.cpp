#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "devices/managers/hard_probe_plugin_manager.h"
#include "framework/commands/command_context.h"
#include "framework/host_glue/document_glue.h"
#include "framework/object/query_part.h"
#include "tests/commands/features/probing_run_fixture.h"
#include "tests/commands/support/command_fixture.h"
#include "tests/devices/support/test_plugin.h"

namespace {

using Start = CommandRunner::Start;

// A host event: the dialog closing (the operator's stop) or delete.
struct HostEvent : IHostEvent, ZelUnknownImpl {
  explicit HostEvent(uint32_t id) : id_(id) {}
  uint32_t id() override { return id_; }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("HostEvent", this, this).offer<IHostEvent>(this).end();
  }
  const char* className() override { return "HostEvent"; }
  uint32_t id_;
};
constexpr const char* kPlanes = "IZelFeature=IZelPlane,IZelFeatureCollector=Plane,UsePlane=false";
constexpr const char* kInCommandKey = "Palpera/Hard Probe Features In Command";

// "Hard Probe Features" run by the host's command runner, with a connected test arm as the current
// hard-probe plug-in and a test device as "HardProbe".
class HardProbeFeatures : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    store().setInt(nullptr, "Palpera/FeatureMatching/Enable", 0);
    store().setInt(nullptr, "Palpera/Gfx/ShowProbe", 0);
    registry_->setManager(ZelCString("HardProbe"), manager_.get());
    host_.devices().pluginHandler().registerPlugin(static_cast<IZelPlugin*>(arm_));
    ASSERT_TRUE(manager_->setActivePlugin(arm_));
    ZelString error;
    ASSERT_TRUE(static_cast<IZelHardProbePlugin*>(arm_)->connect(error)) << "the arm is connected";
    device_ = addDevice("HardProbe", "IZelHardProbeDataReceiverV2");
  }
  void TearDown() override {
    if (runner_.running()) runner_.cancel();
    registry_->setDevice(ZelCString("HardProbe"), nullptr);
    CommandTest::TearDown();
  }

  Start run(const char* arguments) {
    host_.gui().commandContainer().setArgumentText(arguments);
    journal_.clear();
    return start("PalperaCreateFeaturesCmd2");
  }
  void probePlane(double height) {
    for (Vector3 tip : kPlaneTips) {
      tip.z += height;
      sample(tip);
    }
    stop({.05, .05, height + .05});
  }
  void stop(const Vector3& p) {
    device_->deliver<IZelHardProbeDataReceiver>([&](IZelHardProbeDataReceiver* r) { r->onPointStop(p); });
  }
  void sample(const Vector3& p) {
    device_->deliver<IZelHardProbeDataReceiver>([&](IZelHardProbeDataReceiver* r) { r->onPointSampled(p); });
  }

  IDataStore& store() { return host_.core().dataStore(); }
  int32_t inCommand() { return store().getInt(kInCommandKey, -1); }
  IZelDocObject* testObject() { return host_.document().doc().findObject(ZelString(u"TestObject")); }
  std::vector<std::u16string> featureNames() {
    std::vector<std::u16string> names;
    auto* subObjects = queryPart<IZelSubObjectMgr>(getFeatureSubObjectMgr(testObject()));
    for (int32_t i = 0; subObjects && i < subObjects->subObjectCount(); ++i)
      names.push_back(text(subObjects->subObjectAt(i)->name()));
    return names;
  }
  bool journaled(const std::string& call) { return std::ranges::find(journal_, call) != journal_.end(); }

  IPtr<HardProbePluginManager> manager_{new HardProbePluginManager};
  TestPlugin* arm_ = TestPlugin::arm(u"Arm");
  TestDevice* device_ = nullptr;
};

TEST_F(HardProbeFeatures, ActivationMakesTheTargetObjectStartsTheDeviceAndShowsTheTiles) {
  ASSERT_EQ(run("IZelFeature=IZelPlane,IZelFeatureCollector=Plane,UsePlane=TRUE"), Start::kStarted);
  IZelDocObject* target = testObject();
  ASSERT_TRUE(target);
  EXPECT_STREQ(target->objectType(), "Point");
  EXPECT_EQ(text(target->objectName()), u"Feature Object");
  EXPECT_EQ(inCommand(), 1);
  EXPECT_EQ(host_.gui().help().topics(), std::vector<std::string>{"Plane\tshown"});
  EXPECT_EQ(device_->receiverCount(), 1u);
  EXPECT_TRUE(journaled("connect HardProbe") && journaled("start HardProbe"));
  for (const char* key :
       {"Palpera/Tile/Active", "Palpera/Tile/FeatureInfoVisible", "Palpera/Tile/BriefInstructionsVisible"}) {
    SCOPED_TRACE(key);
    EXPECT_EQ(store().getInt(key, -1), 1);
  }
  IPtr<IComponentCommand> second;
  second.createInstance(classIdOf("PalperaCreateFeaturesCmd2"));
  EXPECT_FALSE(second->canRun(static_cast<IComponentCommandContainerV2*>(&host_.gui().commandContainer())))
      << "one instance at a time";
}

TEST_F(HardProbeFeatures, ABadArgumentTextRefusesActivationBeforeAnythingHappens) {
  for (const char* bad : {"IZelFeature =IZelPlane,IZelFeatureCollector=Plane,UsePlane=true",
                          "IZelFeature=IZelPlane,IZelFeatureCollector=Plane",
                          "IZelFeature=IZelPlane,IZelFeatureCollector=Plane,UsePlane=yes",
                          "IZelFeature=IZelPlane,IZelFeatureCollector=Bagel,UsePlane=true",
                          "IZelFeature=IZelBagel,IZelFeatureCollector=Plane,UsePlane=true"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(run(bad), Start::kActivationRefused);
    EXPECT_EQ(inCommand(), 0);
    EXPECT_FALSE(testObject());
    EXPECT_FALSE(journaled("connect HardProbe"));
    EXPECT_TRUE(errorMessages().empty());
  }
  EXPECT_EQ(
      run("UsePlane=false,IZelFeature=IZelLine,IZelFeature=IZelPlane=x,IZelFeatureCollector=Plane,,junk"),
      Start::kStarted);
  probePlane(0);
  EXPECT_EQ(featureNames(), std::vector<std::u16string>{u"Plane 1"});
}

TEST_F(HardProbeFeatures, ADeviceThatDoesNotConnectFailsActivationAndLeavesNothingBehind) {
  static_cast<IZelHardProbePlugin*>(arm_)->disconnect();
  device_->answers.connect = false;
  EXPECT_EQ(run(kPlanes), Start::kActivationRefused);
  EXPECT_EQ(errorMessages(), std::vector<std::u16string>{u"Unable to connect to hard probe device."});
  EXPECT_EQ(inCommand(), 0);
  EXPECT_EQ(device_->receiverCount(), 0u);
  EXPECT_EQ(store().getInt("Palpera/Tile/Active", -1), 0);
}

// A context that hands out the argument text and counts the requests to finish, as a host that does not
// guard against a request made inside activate would act on them.
class CountingContext : public IComponentCommandContainerV2, public ZelUnknownImpl {
 public:
  ZelCString argumentText() override { return ZelCString(kPlanes); }
  bool flag(const char*) override { return false; }
  bool holdsObject(const char*) override { return false; }
  bool hasFeatures(int32_t) override { return false; }
  void finishCommand(bool) override { ++finishes; }
  bool ready() override { return true; }
  bool allowsType(const char*) override { return true; }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out)
        .classLeaf("CountingContext", this, this)
        .offer<IComponentCommandContainerV2>(this)
        .end();
  }
  const char* className() override { return "CountingContext"; }

  int finishes = 0;
};

TEST_F(HardProbeFeatures, TheRunsOwnEndWhileActivatingFailsActivationRatherThanFinishing) {
  device_->answers.start = false;
  EXPECT_EQ(run(kPlanes), Start::kActivationRefused);
  EXPECT_EQ(inCommand(), 0);
  EXPECT_EQ(device_->receiverCount(), 0u);

  IPtr<CountingContext> context(new CountingContext);
  command_.createInstance(classIdOf("PalperaCreateFeaturesCmd2"));
  command_->setContext(static_cast<IComponentCommandContainerV2*>(context.get()));
  EXPECT_FALSE(command_->activate());
  EXPECT_EQ(context->finishes, 0) << "no request to finish a command that never ran";
  EXPECT_EQ(inCommand(), 0);
  command_.release();
}

TEST_F(HardProbeFeatures, AStopFinishesTheCommandAppliedExactlyWhenAFeatureWasMade) {
  ASSERT_EQ(run(kPlanes), Start::kStarted);
  probePlane(0);
  probePlane(.01);
  ASSERT_EQ(featureNames(), (std::vector<std::u16string>{u"Plane 1", u"Plane 2"}));
  auto* command = command_.get();
  command->onEvent(nullptr);
  EXPECT_TRUE(runner_.running());
  IPtr<HostEvent> closing(new HostEvent(IHostEvent::kDialogClosing));
  command->onEvent(closing.get());
  EXPECT_FALSE(runner_.running()) << "the stop finished the command";
  EXPECT_EQ(featureNames().size(), 2u) << "applied, the features stay";
  EXPECT_EQ(inCommand(), 0);
  EXPECT_EQ(device_->receiverCount(), 0u);

  ASSERT_EQ(run(kPlanes), Start::kStarted);
  command_->onEvent(closing.get());
  EXPECT_FALSE(runner_.running());
  EXPECT_EQ(featureNames().size(), 2u) << "cancelled, with nothing of this run to take back";
}

TEST_F(HardProbeFeatures, CancelTakesBackExactlyThisRunsFeaturesAndStopsTheRun) {
  ASSERT_EQ(run(kPlanes), Start::kStarted);
  probePlane(0);
  probePlane(.01);
  ASSERT_TRUE(runner_.apply());
  ASSERT_EQ(run(kPlanes), Start::kStarted);
  for (double height : {.02, .03, .04}) probePlane(height);
  ASSERT_EQ(featureNames().size(), 5u);
  ASSERT_TRUE(runner_.cancel());
  EXPECT_EQ(featureNames(), (std::vector<std::u16string>{u"Plane 1", u"Plane 2"}));
  EXPECT_EQ(device_->receiverCount(), 0u) << "the run stopped before the rollback";
  EXPECT_TRUE(journaled("stop HardProbe"));
  EXPECT_EQ(inCommand(), 0);
}

TEST_F(HardProbeFeatures, CancelRemovesTheTargetObjectWhenThisRunMadeIt) {
  ASSERT_EQ(run(kPlanes), Start::kStarted);
  probePlane(0);
  ASSERT_TRUE(testObject());
  ASSERT_TRUE(runner_.cancel());
  EXPECT_FALSE(testObject());
  EXPECT_EQ(device_->receiverCount(), 0u);
}

TEST_F(HardProbeFeatures, CanRunFollowsTheContextTheSettingAndThePlugIn) {
  IPtr<IComponentCommand> command;
  command.createInstance(classIdOf("PalperaCreateFeaturesCmd2"));
  HostCommandContainer& context = host_.gui().commandContainer();
  auto* asked = static_cast<IComponentCommandContainerV2*>(&context);
  EXPECT_TRUE(command->canRun(asked));
  for (const char* flag : {"inCommand", "recordingMacro", "sectionCurrent"}) {
    SCOPED_TRACE(flag);
    context.setFlag(flag, true);
    EXPECT_FALSE(command->canRun(asked));
    context.setFlag(flag, false);
  }
  store().setInt(nullptr, kInCommandKey, 1);
  EXPECT_FALSE(command->canRun(asked));
  store().setInt(nullptr, kInCommandKey, 0);

  // An emulator without its reference model is told at the start, where the operator hears why.
  TestPlugin* emulator = TestPlugin::emulator(u"Emulator");
  host_.devices().pluginHandler().registerPlugin(static_cast<IZelPlugin*>(emulator));
  ASSERT_TRUE(manager_->setActivePlugin(emulator));
  EXPECT_TRUE(command->canRun(asked));
  EXPECT_EQ(run("IZelFeature=IZelPlane,IZelFeatureCollector=Plane,UsePlane=false"),
            Start::kActivationRefused);
  EXPECT_EQ(errorMessages(), std::vector<std::u16string>{u"\"Hard Probe Features\" needs a reference model "
                                                         u"named \"RefObject\", loaded and active."});
  EXPECT_EQ(inCommand(), 0);
  EXPECT_EQ(device_->receiverCount(), 0u);
}

TEST_F(HardProbeFeatures, WithoutAnArgumentTextTheRunReportsItsMissingCollectorAndActivationFails) {
  EXPECT_EQ(run(""), Start::kActivationRefused);
  const std::vector<std::u16string> messages = errorMessages();
  EXPECT_NE(std::ranges::find(messages, u"Not implemented"), messages.end());
  EXPECT_EQ(inCommand(), 0);
  EXPECT_EQ(device_->receiverCount(), 0u);
}

TEST_F(HardProbeFeatures, ALineOnItsOwnPlaneAndDeleteTakingBackTheLastPoint) {
  ASSERT_EQ(run("IZelFeature=IZelLine,IZelFeatureCollector=Line,UsePlane=false"), Start::kStarted);
  auto tileText = [&](const char* key) { return text(store().getString(key)); };
  EXPECT_EQ(tileText("Palpera/Tile/FeatureName"), u"Line (Plane)");
  EXPECT_EQ(store().getInt("Palpera/Tile/NumPointsRequired", -1), 3);
  probePlane(0);
  EXPECT_EQ(tileText("Palpera/Tile/FeatureName"), u"Line");
  EXPECT_EQ(store().getInt("Palpera/Tile/NumPointsRequired", -1), 2);
  EXPECT_TRUE(featureNames().empty()) << "the work plane is no feature of its own";

  sample({.02, 0, .001});
  sample({.05, 0, .001});
  IPtr<HostEvent> remove(new HostEvent(IHostEvent::kDelete));
  command_->onEvent(remove.get());
  EXPECT_EQ(store().getInt("Palpera/Tile/NumPointsTaken", -1), 1) << "delete took back the last point";
  sample({.06, 0, .001});
  stop({.04, -.05, .001});
  EXPECT_EQ(featureNames(), std::vector<std::u16string>{u"Line 1"});
}

TEST_F(HardProbeFeatures, TheReferenceShowsTransparentWhileTheCommandRunsWhenTheOptionIsOn) {
  IPtr<HostDocObject> reference =
      host_.document().doc().add({"Mesh", u"RefObject", std::nullopt, {}, {}}, false);
  reference->graphics().setDisplayMode(4);
  for (int32_t option : {0, 1}) {
    SCOPED_TRACE(option);
    store().setInt(nullptr, "Palpera/Gfx/TransparentReferenceObject", option);
    ASSERT_EQ(run(kPlanes), Start::kStarted);
    EXPECT_EQ(reference->graphics().displayMode(), option ? 1 : 4);
    ASSERT_TRUE(runner_.cancel());
    EXPECT_EQ(reference->graphics().displayMode(), 4);
  }
}

TEST_F(HardProbeFeatures, ProbingInMetresSwitchesTheUnitToMillimetresAndOtherUnitsStay) {
  struct Case {
    int32_t before, after;
  };
  for (const Case& each : {Case{7, 1}, Case{0, 0}, Case{3, 3}}) {
    SCOPED_TRACE(each.before);
    ASSERT_TRUE(host_.core().units().setCurrentLengthUnit(each.before));
    ASSERT_EQ(run(kPlanes), Start::kStarted);
    EXPECT_EQ(host_.core().units().currentLengthUnit(), each.after);
    ASSERT_TRUE(runner_.apply());
  }
}

}  // namespace
