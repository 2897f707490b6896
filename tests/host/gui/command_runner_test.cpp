#include <gtest/gtest.h>

#include "host/gui/command_runner.h"
#include "support/module_fixture.h"
#include "support/recording_command.h"

namespace {

class CommandRunning : public ModuleTest {
 protected:
  IPtr<RecordingCommand> command_{new RecordingCommand};
  CommandRunner runner_{&host_.gui().commandContainer(), &host_.gui().dialog()};
};

TEST_F(CommandRunning, TheContextAnswersTheWorkingSizeAndTheHostQueriesAsSet) {
  host_.gui().commandContainer().setWorkingSize(2.5);
  host_.gui().commandContainer().setHostQueryAnswer(35, true);
  runner_.start(command_.get());
  EXPECT_TRUE(command_->containerQuery(1) == 2.5 && command_->containerQuery(2) == 0.0);
  EXPECT_TRUE(command_->hostQuery35() && !command_->hostQuery34());
  host_.gui().commandContainer().setRecordingMacro(true);
  EXPECT_TRUE(host_.gui().commandContainer().flag("recordingMacro"));
  EXPECT_FALSE(host_.gui().commandContainer().flag("inCommand"));
  EXPECT_FALSE(host_.gui().commandContainer().flag("recording")) << "only the flags the host knows";
}

}  // namespace
