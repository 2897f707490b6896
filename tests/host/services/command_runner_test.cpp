#include <gtest/gtest.h>

#include <algorithm>

#include "host/command_runner.h"
#include "support/module_fixture.h"
#include "support/recording_command.h"

namespace {

using Calls = std::vector<std::string>;

class CommandRunning : public ModuleTest {
 protected:
  IPtr<RecordingCommand> command_{new RecordingCommand};
  CommandRunner runner_{&host_.commandContainer(), &host_.dialog()};
};

TEST_F(CommandRunning, AnAppliedCommandIsDrivenInTheHostsOrder) {
  ASSERT_EQ(runner_.start(command_.get()), CommandRunner::Start::kStarted);
  EXPECT_EQ(runner_.running(), command_.get());
  EXPECT_TRUE(runner_.apply());
  EXPECT_EQ(command_->calls, (Calls{"setContext", "setGui", "canRun", "createGui", "activate", "canApply",
                                    "apply", "deactivate"}));
  EXPECT_EQ(runner_.running(), nullptr);
}

TEST_F(CommandRunning, ACancelledCommandIsFinishedBeforeItIsDeactivated) {
  runner_.start(command_.get());
  command_->calls.clear();
  EXPECT_TRUE(runner_.cancel());
  EXPECT_EQ(command_->calls, (Calls{"cancel", "finish", "deactivate"}));
}

TEST_F(CommandRunning, ACommandThatCannotRunIsNeitherBuiltNorActivated) {
  command_->answers.canRun = false;
  EXPECT_EQ(runner_.start(command_.get()), CommandRunner::Start::kCannotRun);
  EXPECT_EQ(command_->calls, (Calls{"setContext", "setGui", "canRun"}));
  EXPECT_EQ(command_->refCount(), 1u) << "the runner let go of it";
}

TEST_F(CommandRunning, ARefusedApplyOrCancelLeavesTheCommandRunning) {
  runner_.start(command_.get());
  command_->answers.canApply = false;
  EXPECT_FALSE(runner_.apply());
  command_->answers.canApply = true;
  command_->answers.apply = false;
  EXPECT_FALSE(runner_.apply());
  command_->answers.cancel = false;
  EXPECT_FALSE(runner_.cancel());
  EXPECT_EQ(runner_.running(), command_.get());
  IPtr<RecordingCommand> other(new RecordingCommand);
  EXPECT_EQ(runner_.start(other.get()), CommandRunner::Start::kBusy);
}

TEST_F(CommandRunning, TheDialogReachesOnlyTheRunningCommand) {
  host_.dialog().addControl(1, "button", ZelString(u"Go"));
  runner_.start(command_.get());
  host_.dialog().pressButton(1);
  runner_.apply();
  host_.dialog().pressButton(1);
  EXPECT_EQ(std::count(command_->calls.begin(), command_->calls.end(), "gui event 1 1"), 1);
}

TEST_F(CommandRunning, TheDialogOfAnEndedOrRefusedCommandIsClosedForTheNext) {
  runner_.start(command_.get());
  host_.dialog().addControl(1, "button", ZelString(u"Go"));
  runner_.cancel();
  EXPECT_TRUE(host_.dialog().controls().empty());
  command_->answers.activate = false;
  host_.dialog().addControl(1, "button", ZelString(u"Go"));
  EXPECT_EQ(runner_.start(command_.get()), CommandRunner::Start::kActivationRefused);
  EXPECT_TRUE(host_.dialog().controls().empty());
}

TEST_F(CommandRunning, TheContextAnswersTheWorkingSizeAndTheHostQueriesAsSet) {
  host_.commandContainer().setWorkingSize(2.5);
  host_.commandContainer().setHostQueryAnswer(35, true);
  runner_.start(command_.get());
  EXPECT_EQ(command_->containerQuery(1), 2.5);
  EXPECT_EQ(command_->containerQuery(2), 0.0);
  EXPECT_TRUE(command_->hostQuery35());
  EXPECT_FALSE(command_->hostQuery34());
  host_.commandContainer().setRecordingMacro(true);
  EXPECT_TRUE(host_.commandContainer().flag("recordingMacro"));
  EXPECT_FALSE(host_.commandContainer().flag("inCommand"));
  EXPECT_FALSE(host_.commandContainer().flag("recording")) << "only the flags the host knows";
}

TEST_F(CommandRunning, ARunnerThatGoesWithACommandRunningCancelsIt) {
  {
    CommandRunner runner(&host_.commandContainer(), &host_.dialog());
    runner.start(command_.get());
    command_->calls.clear();
  }
  EXPECT_EQ(command_->calls, (Calls{"cancel", "finish", "deactivate"}));
  EXPECT_EQ(command_->refCount(), 1u);
}

}  // namespace
