#include <gtest/gtest.h>

#include "devices/emulator/emulator_input_handlers.h"
#include "framework/registrations/registered_classes.h"
#include "host/api/data_store.h"
#include "tests/devices/emulator/emulator_fixture.h"

namespace {

using Kinds = std::vector<std::string>;

TEST_F(EmulatorTest, TheHostCreatesItByItsClassIdAndItAnswersAsAHardProbePluginOfBothKinds) {
  IPtr<IZelPlugin> created;
  created.createInstance(classIdOf("EmulatorPlugin"));
  ASSERT_TRUE(created);
  EXPECT_EQ(std::u16string(created->getName().c_str()), u"Hard Probe Emulator");
  EXPECT_STREQ(created->className(), "EmulatorPlugin");
  for (const char* name : {"EmulatorPlugin", "IZelUnknown", "IZelPlugin", "IZelEmulatorPlugin",
                           "IZelHardProbePlugin", "IZelHardProbeContinuousPlugin"}) {
    void* part = nullptr;
    created->queryInterface(name, &part, false);
    EXPECT_NE(part, nullptr) << name;
  }
  void* laser = nullptr;
  created->queryInterface("IZelLaserScanPlugin", &laser, false);
  EXPECT_EQ(laser, nullptr);
}

TEST_F(EmulatorTest, ItKnowsWhetherTheDocumentHoldsTheReferenceModel) {
  EXPECT_TRUE(plugin_->hasReferenceObject());
  host_.document().remove(reference_.get());
  EXPECT_FALSE(plugin_->hasReferenceObject());
}

TEST_F(EmulatorTest, ARunOnAFaceThatIsNotConnectedReturnsAtOnceAndSendsNothing) {
  IPtr<RecordingDeviceReceiver> receiver(new RecordingDeviceReceiver);
  EXPECT_TRUE(single()->disconnect());
  EXPECT_TRUE(continuous()->isConnected());
  single()->run(singleTarget(receiver.get()));
  EXPECT_TRUE(receiver->calls().empty());
}

TEST_F(EmulatorTest, WithoutAReferenceModelEachFaceSendsOneErrorAndEnds) {
  host_.document().remove(reference_.get());
  IPtr<RecordingDeviceReceiver> receiver(new RecordingDeviceReceiver);
  single()->run(singleTarget(receiver.get()));
  continuous()->run(continuousTarget(receiver.get()));
  EXPECT_EQ(receiver->kinds(), (Kinds{"custom", "custom"}));
  for (const DeviceCall& call : receiver->calls()) {
    EXPECT_EQ(call.name, "Error");
    EXPECT_EQ(call.payload, nullptr);
  }
}

using EmulatorRunThreads = EmulatorTest;

TEST_F(EmulatorRunThreads, TheFirstCallIsTheRadiusHalfTheProbeDiameterReadAtEachRun) {
  IPtr<RecordingDeviceReceiver> first(new RecordingDeviceReceiver), second(new RecordingDeviceReceiver);
  ASSERT_TRUE(startSingle(first.get()).stop());
  EXPECT_EQ(first->kinds(), Kinds{"radius"}) << "a single-point run ends without onStop";
  EXPECT_DOUBLE_EQ(first->calls()[0].radius, 0.003);

  SPtr<IDataStore> store;
  ASSERT_TRUE(store->setDouble(nullptr, "Palpera/Emulator/ProbeDiameter", 0.01));
  ASSERT_TRUE(startContinuous(second.get()).stop());
  EXPECT_EQ(second->kinds(), (Kinds{"radius", "stop"}));
  EXPECT_DOUBLE_EQ(second->calls()[0].radius, 0.005);
}

TEST_F(EmulatorRunThreads, AStopThatComesBeforeTheRunHasBegunStillEndsIt) {
  IPtr<RecordingDeviceReceiver> receiver(new RecordingDeviceReceiver);
  continuous()->stop();
  FaceRun run(continuous(), continuousTarget(receiver.get()));
  ASSERT_TRUE(run.join()) << "the stop was lost and the run waits for ever";
  EXPECT_EQ(receiver->kinds(), (Kinds{"radius", "stop"}));
}

TEST_F(EmulatorRunThreads, TheStopOwedToARunThatEndedByItselfDoesNotEndTheNextRun) {
  IPtr<RecordingDeviceReceiver> first(new RecordingDeviceReceiver), second(new RecordingDeviceReceiver);
  FaceRun& ended = startContinuous(first.get());
  press(kAlternateStopKey);
  ASSERT_TRUE(ended.join()) << "the end key ends a continuous run by itself";
  continuous()->stop();  // the device's stop, after the fact

  FaceRun& next = startContinuous(second.get());
  EXPECT_FALSE(next.hasEnded(std::chrono::milliseconds(300)));
  move(1, 2);
  ASSERT_TRUE(second->waitForCalls(2));
  EXPECT_TRUE(next.stop());

  // The same after a run that had no reference model to work on.
  IPtr<RecordingDeviceReceiver> third(new RecordingDeviceReceiver);
  host_.document().remove(reference_.get());
  single()->run(singleTarget(third.get()));
  single()->stop();
  reference_ = addCadModel(host_.document(), u"RefObject", box_.get());
  FaceRun& after = startSingle(third.get());
  EXPECT_FALSE(after.hasEnded(std::chrono::milliseconds(300)));
  EXPECT_TRUE(after.stop());
}

TEST_F(EmulatorRunThreads, ASecondRunWhileOneIsInProgressIsRefusedWithAnErrorAndDisturbsNothing) {
  IPtr<RecordingDeviceReceiver> running(new RecordingDeviceReceiver), refused(new RecordingDeviceReceiver);
  FaceRun& first = startContinuous(running.get());
  single()->run(singleTarget(refused.get()));
  EXPECT_EQ(refused->kinds(), Kinds{"custom"});
  EXPECT_EQ(refused->calls()[0].name, "Error");

  single()->stop();  // the refused device's stop is its own
  move(1, 2);
  ASSERT_TRUE(running->waitForCalls(2));
  EXPECT_FALSE(first.hasEnded());
  EXPECT_EQ(running->kinds(), (Kinds{"radius", "moved"}));
  EXPECT_TRUE(first.stop());
  EXPECT_EQ(refused->calls().size(), 1u);
}

TEST_F(EmulatorRunThreads, InputWithoutARunInProgressDoesNothing) {
  move(1, 2);
  press(kStopKey);
  IPtr<RecordingDeviceReceiver> receiver(new RecordingDeviceReceiver);
  ASSERT_TRUE(startSingle(receiver.get()).stop());
  move(1, 2);
  click(1, 2);
  EXPECT_EQ(receiver->kinds(), Kinds{"radius"});
  EXPECT_FALSE(plugin_->inputHandler());
}

}  // namespace
