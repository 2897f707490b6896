#include <gtest/gtest.h>

#include "framework/object/iptr.h"
#include "host/host_gui_dialog.h"
#include "support/module_fixture.h"
#include "support/recording_command.h"

namespace {

using Calls = std::vector<std::string>;

class GuiDialog : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    dialog_->setReceiver(receiver_.get());
  }

  IPtr<HostGuiDialog> dialog_{new HostGuiDialog};
  IGuiDialog* module_ = dialog_.get();  // the module's view of it
  IPtr<RecordingCommand> receiver_{new RecordingCommand};
};

TEST_F(GuiDialog, ReservedIdBlocksNeverOverlap) {
  int32_t first = module_->reserveControlIds(5);
  int32_t second = module_->reserveControlIds(3);
  int32_t third = module_->reserveControlIds(0);
  EXPECT_GE(first, HostGuiDialog::kFirstReservedId);
  EXPECT_EQ(second, first + 5);
  EXPECT_EQ(third, second + 3) << "an empty block takes no id";
  EXPECT_EQ(module_->reserveControlIds(1), third);
}

TEST_F(GuiDialog, AButtonPressReachesTheReceiverUnlessTheButtonIsDisabledOrMissing) {
  ASSERT_TRUE(module_->addControl(7, "button", ZelString(u"Apply")));
  EXPECT_FALSE(module_->addControl(7, "check", ZelString(u"Other"))) << "ids are unique";
  EXPECT_TRUE(dialog_->pressButton(7));
  module_->enableControl(7, false, IGuiDialog::kEnableDefault);
  EXPECT_FALSE(dialog_->pressButton(7));
  EXPECT_FALSE(dialog_->pressButton(8));
  EXPECT_EQ(receiver_->calls, Calls{"gui event 7 1"});
  EXPECT_EQ(dialog_->control(7)->enableMode, IGuiDialog::kEnableDefault);
  EXPECT_EQ(dialog_->idOf(u"Apply"), 7);
}

TEST_F(GuiDialog, AUserValueIsStoredAndRaisedByTheControlsKind) {
  module_->addControl(1, "number", ZelString(u"Radius"));
  module_->addControl(2, "choice", ZelString(u"Mode"));
  EXPECT_TRUE(dialog_->enterValue(1, 2.5));
  EXPECT_TRUE(dialog_->enterValue(2, 1.6));
  EXPECT_EQ(receiver_->calls, (Calls{"gui value 1 2.5", "gui value changed 2 2"}));
  double value = 0;
  ASSERT_TRUE(module_->getControlValue(1, &value));
  EXPECT_EQ(value, 2.5);
}

TEST_F(GuiDialog, TheModulesOwnChangesDoNotCallItBack) {
  module_->addControl(1, "number", ZelString(u"Radius"));
  module_->setControlValue(1, 4.0);
  module_->setControlText(1, ZelString(u"mm"));
  module_->setControlFlag(1, true);
  EXPECT_EQ(receiver_->calls, Calls{});
  std::optional<HostGuiDialog::Control> control = dialog_->control(1);
  ASSERT_TRUE(control);
  EXPECT_EQ(control->value, 4.0);
  EXPECT_EQ(control->text, u"mm");
  EXPECT_TRUE(control->flag);
}

TEST_F(GuiDialog, CallsNamingAControlNeverAddedAreCountedNotInvented) {
  module_->setControlValue(99, 1.0);
  module_->enableControl(99, false, 0);
  double value = 0;
  EXPECT_FALSE(module_->getControlValue(99, &value));
  EXPECT_FALSE(dialog_->control(99));
  EXPECT_EQ(dialog_->strayCalls(), 2);
}

TEST_F(GuiDialog, HostEventsAndPicturesReachTheirPlaces) {
  dialog_->sendHostEvent(IHostEvent::kUndo);
  EXPECT_EQ(receiver_->calls, Calls{"event 294"});
  module_->registerPicture(3, "probe.png");
  EXPECT_EQ(dialog_->picture(3), "probe.png");
  EXPECT_FALSE(dialog_->picture(4));
}

}  // namespace
