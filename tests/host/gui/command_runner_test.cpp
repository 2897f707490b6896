#include <gtest/gtest.h>

#include "host/gui/command_runner.h"
#include "support/module_fixture.h"
#include "support/recording_command.h"

namespace {

class CommandRunning : public ModuleTest {
 protected:
  IPtr<RecordingCommand> command_{new RecordingCommand};
  CommandRunner runner_{&host_.commandContainer(), &host_.dialog()};
};

TEST_F(CommandRunning, TheContextAnswersTheWorkingSizeAndTheHostQueriesAsSet) {
  host_.commandContainer().setWorkingSize(2.5);
  host_.commandContainer().setHostQueryAnswer(35, true);
  runner_.start(command_.get());
  EXPECT_TRUE(command_->containerQuery(1) == 2.5 && command_->containerQuery(2) == 0.0);
  EXPECT_TRUE(command_->hostQuery35() && !command_->hostQuery34());
  host_.commandContainer().setRecordingMacro(true);
  EXPECT_TRUE(host_.commandContainer().flag("recordingMacro"));
  EXPECT_FALSE(host_.commandContainer().flag("inCommand"));
  EXPECT_FALSE(host_.commandContainer().flag("recording")) << "only the flags the host knows";
}

}  // namespace
