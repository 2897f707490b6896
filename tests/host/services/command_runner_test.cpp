#include <gtest/gtest.h>

#include <algorithm>

#include "host/command_runner.h"
#include "support/module_fixture.h"
#include "support/recording_command.h"

namespace {

class CommandRunning : public ModuleTest {
 protected:
  IPtr<RecordingCommand> command_{new RecordingCommand};
  CommandRunner runner_{&host_.commandContainer(), &host_.dialog()};
};

// The script tests drive the command's own calls through the command-line host; here, what the runner does
// to the host's dialog around them.
TEST_F(CommandRunning, TheDialogReachesOnlyTheRunningCommandAndIsClosedForTheNext) {
  ASSERT_EQ(runner_.start(command_.get()), CommandRunner::Start::kStarted);
  host_.dialog().addControl(1, "button", ZelString(u"Go"));
  host_.dialog().setControlFlag(IGuiDialog::kStandardControl1, false);
  int32_t reserved = host_.dialog().reserveControlIds(3);
  host_.dialog().pressButton(1);
  EXPECT_TRUE(runner_.cancel());
  EXPECT_TRUE(host_.dialog().controls().empty());
  EXPECT_TRUE(host_.dialog().standardControlShown(IGuiDialog::kStandardControl1));
  EXPECT_EQ(host_.dialog().reserveControlIds(1), reserved);
  host_.dialog().addControl(1, "button", ZelString(u"Go"));
  host_.dialog().pressButton(1);
  EXPECT_EQ(std::count(command_->calls.begin(), command_->calls.end(), "gui event 1 1"), 1);
  command_->answers.activate = false;
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

}  // namespace
