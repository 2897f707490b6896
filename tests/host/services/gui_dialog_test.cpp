#include <gtest/gtest.h>

#include "framework/object/iptr.h"
#include "gen/palpera/palpera_icons.h"
#include "host/host_gui_dialog.h"
#include "host/host_image.h"
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

TEST_F(GuiDialog, BuilderControlsTakeTheIdTheirNameOrNumberGivesAndKnowTheirGroup) {
  module_->beginBox("Main", 0, ZelString(), true);
  module_->beginLayout(true);
  module_->beginGroup("Left", 1, ZelString(u"Left side"), true);
  module_->addImageButton("ControlBaseID+12", 0, ZelString(u"Twelve"), true);
  module_->addImageButton("Go", 7, ZelString(u"Go"), false);
  module_->endGroup();
  module_->beginPanel(ZelString(), true);
  module_->addButton("ControlBaseID+x", ZelString(u"Odd"), true);  // no number: the lowest free id
  module_->addButton("ControlBaseID+7", ZelString(u"Taken"), true);
  module_->endLayout();  // a panel is open, not a layout
  module_->endPanel();
  module_->endLayout();
  module_->endGroup();

  std::map<int32_t, HostGuiDialog::Control> controls = dialog_->controls();
  EXPECT_EQ(controls.size(), 5u) << "Main, Left, the two image buttons, Odd";
  EXPECT_EQ(controls[1].kind, "box");
  EXPECT_EQ(controls[2].text, u"Left side");
  EXPECT_EQ(controls[12].parent, 2);
  EXPECT_EQ(controls[7].parent, 2);
  EXPECT_FALSE(controls[7].flag) << "added hidden";
  EXPECT_EQ(controls[3].name, u"ControlBaseID+x");
  EXPECT_EQ(controls[3].parent, 1) << "a panel has no id of its own";
  EXPECT_EQ(dialog_->strayCalls(), 2) << "the taken id and the end call that closed nothing of its kind";
  EXPECT_EQ(dialog_->openLayouts(), 0u);

  EXPECT_TRUE(dialog_->pressButton(12));
  EXPECT_EQ(receiver_->calls, Calls{"gui event 12 1"});
}

TEST_F(GuiDialog, StandardControlsAreTheHostsAndComeBackWhenTheDialogIsCleared) {
  module_->addControl(1, "button", ZelString(u"Go"));
  module_->setControlIcon(IGuiDialog::kDialogIcon, "blank");
  module_->setControlFlag(IGuiDialog::kStandardControl1, false);
  EXPECT_FALSE(dialog_->standardControlShown(IGuiDialog::kStandardControl1));
  EXPECT_TRUE(dialog_->standardControlShown(IGuiDialog::kStandardControl2));
  EXPECT_FALSE(dialog_->control(IGuiDialog::kStandardControl1)) << "not among the command's controls";
  int32_t reserved = module_->reserveControlIds(4);

  dialog_->clear();
  EXPECT_TRUE(dialog_->controls().empty());
  EXPECT_FALSE(dialog_->icon(IGuiDialog::kDialogIcon));
  EXPECT_TRUE(dialog_->standardControlShown(IGuiDialog::kStandardControl1));
  EXPECT_EQ(module_->reserveControlIds(1), reserved);
}

TEST_F(GuiDialog, AButtonKeepsTheImageTheHostDecodedForIt) {
  IPtr<HostImage> image(new HostImage);
  IPtr<HostImageWriter> writer(new HostImageWriter);
  std::vector<uint8_t> png(kIconDelete, kIconDelete + sizeof kIconDelete);
  EXPECT_FALSE(writer->decode(image.get(), png.data(), static_cast<uint32_t>(png.size()), "JPG", 0, 0));
  EXPECT_FALSE(writer->decode(image.get(), png.data(), static_cast<uint32_t>(png.size() / 2), "PNG", 0, 0));
  EXPECT_EQ(image->width(), 0u) << "a failed decoding leaves the image empty";
  ASSERT_TRUE(writer->decode(image.get(), png.data(), static_cast<uint32_t>(png.size()), "png", 0, 0));
  EXPECT_FALSE(writer->decode(nullptr, png.data(), static_cast<uint32_t>(png.size()), "PNG", 0, 0));
  EXPECT_EQ(writer->refusals().size(), 3u);

  module_->addImageButton("ControlBaseID+4", 0, ZelString(u"Icon"), true);
  module_->setControlImage(4, image.get());
  image.release();
  IPtr<IZelImage> shown = dialog_->control(4)->image;
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->width(), 14u);
  EXPECT_EQ(shown->height(), 14u);
}

}  // namespace
