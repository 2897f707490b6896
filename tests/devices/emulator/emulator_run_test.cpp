#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/emulator/emulator_input_handlers.h"
#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/object/query_part.h"
#include "tests/devices/emulator/emulator_fixture.h"

namespace {

TEST_F(EmulatorTest, ItIsNamedAndKnowsWhetherTheDocumentHoldsTheReferenceModel) {
  EXPECT_EQ(std::u16string(plugin_->getName().c_str()), u"Hard Probe Emulator");
  EXPECT_TRUE(plugin_->hasReferenceObject());
  host_.document().doc().remove(reference_.get());
  EXPECT_FALSE(plugin_->hasReferenceObject());
}

// The start-up tasks in an order a host may run them: the emulator's last, then first.
using TaskOrder = std::vector<const char*>;

class EmulatorStartupOrder : public ModuleTest, public testing::WithParamInterface<TaskOrder> {};

TEST_P(EmulatorStartupOrder, TheHardProbeManagerChoosesTheModulesEmulatorWhicheverTaskRunsFirst) {
  registerModuleSettings();
  for (const char* className : GetParam()) runStartupTask(className);
  std::vector<IZelUnknown*> plugins = host_.devices().pluginHandler().plugins();
  ASSERT_EQ(plugins.size(), 1u) << "the emulator is loaded once";
  auto* emulator = queryPart<IZelPlugin>(plugins[0]);
  ASSERT_TRUE(emulator && queryPart<IZelEmulatorPlugin>(plugins[0]));
  SPtr<IZelPluginService> registry;
  EXPECT_EQ(registry->getManager(ZelCString("HardProbe"))->activePlugin(), emulator);
  EXPECT_EQ(std::u16string(host_.core().dataStore().getString("Palpera/ActivePlugin").c_str()),
            u"Hard Probe Emulator");
}

INSTANTIATE_TEST_SUITE_P(Orders, EmulatorStartupOrder,
                         testing::Values(TaskOrder{"PluginManagerStartupTask", "EmulatorPluginStartupTask"},
                                         TaskOrder{"EmulatorPluginStartupTask", "PluginManagerStartupTask"}),
                         [](const testing::TestParamInfo<TaskOrder>& order) {
                           return std::string(order.param[0]) + "First";
                         });

using EmulatorRunThreads = EmulatorTest;

TEST_F(EmulatorRunThreads, AStopThatComesBeforeTheRunHasBegunStillEndsIt) {
  IPtr<DeviceEventRecorder> receiver(new DeviceEventRecorder);
  continuous()->stop();
  FaceRun run(continuous(), receiver->continuous());
  ASSERT_TRUE(run.join()) << "the stop was lost and the run waits for ever";
  EXPECT_EQ(receiver->calls(), (Lines{"radius 0.003", "stop"}));
}

// A move over the model that reaches the receiver shows the next run still in progress.
TEST_F(EmulatorRunThreads, TheStopOwedToARunThatEndedByItselfDoesNotEndTheNextRun) {
  IPtr<DeviceEventRecorder> first(new DeviceEventRecorder), second(new DeviceEventRecorder);
  FaceRun& ended = startContinuous(first.get());
  press(kAlternateStopKey);
  ASSERT_TRUE(ended.join()) << "the end key ends a continuous run by itself";
  continuous()->stop();  // the device's stop, after the fact

  FaceRun& next = startContinuous(second.get());
  move(1, 2);
  ASSERT_TRUE(second->waitForCalls(2));
  EXPECT_TRUE(next.stop());
  EXPECT_EQ(second->calls().back(), "stop");

  // The same after a run that had no reference model to work on.
  IPtr<DeviceEventRecorder> third(new DeviceEventRecorder);
  host_.document().doc().remove(reference_.get());
  single()->run(third->single());
  single()->stop();
  reference_ = addCadModel(host_.document().doc(), u"RefObject", box_.get());
  FaceRun& after = startSingle(third.get());
  move(1, 2);
  ASSERT_TRUE(third->waitForCalls(3));
  EXPECT_TRUE(after.stop());
}

TEST_F(EmulatorRunThreads, ASecondRunWhileOneIsInProgressIsRefusedWithAnErrorAndDisturbsNothing) {
  IPtr<DeviceEventRecorder> running(new DeviceEventRecorder), refused(new DeviceEventRecorder);
  FaceRun& first = startContinuous(running.get());
  single()->run(refused->single());
  EXPECT_EQ(refused->calls(), Lines{"custom Error"});

  single()->stop();  // the refused device's stop is its own
  move(1, 2);
  ASSERT_TRUE(running->waitForCalls(2));
  EXPECT_FALSE(first.hasEnded());
  EXPECT_TRUE(first.stop());
  EXPECT_EQ(running->calls().size(), 3u) << "radius, moved, stop";
  EXPECT_EQ(refused->calls().size(), 1u);
}

}  // namespace
