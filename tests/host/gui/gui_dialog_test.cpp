#include <gtest/gtest.h>

#include "framework/object/iptr.h"
#include "host/core/host_unit_service.h"
#include "host/gui/host_gui_dialog.h"
#include "host/gui/host_image.h"
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

// The script tests press, enter values and name missing controls through the command-line host.
TEST_F(GuiDialog, TheModulesOwnChangesDoNotCallItBackStrayCallsAreCountedAndIdBlocksNeverOverlap) {
  module_->addControl(1, "choice", ZelString(u"Mode"));
  module_->setControlValue(1, 4.0);
  module_->setControlText(1, ZelString(u"mm"));
  module_->setControlFlag(1, true);
  EXPECT_TRUE(dialog_->enterValue(1, 1.6));
  EXPECT_EQ(receiver_->calls, Calls{"gui value changed 1 2"}) << "a choice is raised as a whole number";
  std::optional<HostGuiDialog::Control> control = dialog_->control(1);
  ASSERT_TRUE(control);
  EXPECT_TRUE(control->text == u"mm" && control->flag);
  double value = 0;
  ASSERT_TRUE(module_->getControlValue(1, &value));
  EXPECT_EQ(value, 1.6) << "stored as entered";
  module_->setControlValue(99, 1.0);
  module_->enableControl(99, false, 0);
  EXPECT_FALSE(module_->getControlValue(99, &value));
  EXPECT_FALSE(dialog_->control(99));
  EXPECT_EQ(dialog_->strayCalls(), 2);
  dialog_->sendHostEvent(IHostEvent::kUndo);
  EXPECT_EQ(receiver_->calls.back(), "event 294");
  int32_t reserved = module_->reserveControlIds(5);
  EXPECT_GE(reserved, HostGuiDialog::kFirstReservedId);
  EXPECT_EQ(module_->reserveControlIds(0), reserved + 5) << "an empty block takes no id";
  EXPECT_EQ(module_->reserveControlIds(1), reserved + 5);
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
  EXPECT_TRUE(controls[12].parent == 2 && controls[7].parent == 2);
  EXPECT_FALSE(controls[7].flag) << "added hidden";
  EXPECT_EQ(controls[3].name, u"ControlBaseID+x");
  EXPECT_EQ(controls[3].parent, 1) << "a panel has no id of its own";
  EXPECT_EQ(dialog_->strayCalls(), 2) << "the taken id and the end call that closed nothing of its kind";
  EXPECT_EQ(dialog_->openLayouts(), 0u);

  EXPECT_TRUE(dialog_->pressButton(12));
  EXPECT_EQ(receiver_->calls, Calls{"gui event 12 1"});
}

TEST_F(GuiDialog, APictureToggleKeepsItsPictureAndReportsWhetherItIsPressedNow) {
  module_->registerPicture(40, "xplus");
  module_->addImageToggleButton("Plus", 30, 40, ZelString(u"Positive X"), true);
  EXPECT_EQ(dialog_->control(30)->kind, "imagetoggle");
  EXPECT_EQ(dialog_->picture(dialog_->control(30)->picture), "xplus");
  EXPECT_TRUE(dialog_->pressButton(30));
  EXPECT_TRUE(dialog_->pressButton(30));
  EXPECT_EQ(receiver_->calls, (Calls{"gui event 30 1", "gui event 30 0"}));
}

// Closing spans the control model and the builder: whatever one command built, the next sees none of it.
TEST_F(GuiDialog, AClosedDialogForgetsWhatItsCommandBuiltButKeepsItsReceiver) {
  IPtr<HostImage> image(new HostImage);
  module_->reserveControlIds(3);
  module_->registerPicture(3, "probe.png");
  module_->setControlIcon(IGuiDialog::kDialogIcon, "blank");
  module_->setControlFlag(IGuiDialog::kStandardControl1, false);
  module_->beginBox("Main", 0, ZelString(), true);
  module_->addImageButton("Go", 7, ZelString(u"Go"), true);
  module_->setControlImage(7, image.get());
  module_->endPanel();  // a stray call
  ASSERT_EQ(image->refCount(), 2u);

  dialog_->clear();
  EXPECT_TRUE(dialog_->controls().empty());
  EXPECT_EQ(image->refCount(), 1u) << "the button's image is let go of";
  EXPECT_FALSE(dialog_->picture(3) || dialog_->icon(IGuiDialog::kDialogIcon));
  EXPECT_TRUE(dialog_->standardControlShown(IGuiDialog::kStandardControl1));
  EXPECT_EQ(std::tuple(dialog_->openLayouts(), dialog_->strayCalls()), std::tuple(0u, 0));
  EXPECT_EQ(module_->reserveControlIds(1), HostGuiDialog::kFirstReservedId);
  module_->addButton("Again", ZelString(u"Again"), true);
  EXPECT_TRUE(dialog_->pressButton(1)) << "the lowest free id again";
  EXPECT_EQ(receiver_->calls, Calls{"gui event 1 1"});
}

// Entries count from 0: the first, the last and one past it.
TEST_F(GuiDialog, ListEntriesAreEditedAtTheirEdgesAndTheChosenOneFollowsItsText) {
  module_->addControl(1, "list", ZelString(u"Targets"));
  module_->addControl(2, "number", ZelString(u"Size"));
  EXPECT_EQ(module_->addListEntry(2, ZelString(u"x")), -1) << "a number field holds no entries";
  for (const char16_t* text : {u"A", u"B", u"C"}) module_->addListEntry(1, ZelString(text));
  auto texts = [this] {
    std::u16string joined;
    std::optional<HostGuiDialog::Control> list = dialog_->control(1);
    for (const DialogListEntry& entry : list->entries) joined += entry.text;
    return joined;
  };
  EXPECT_FALSE(module_->removeListEntry(1, 3) || module_->removeListEntry(1, -1));
  EXPECT_FALSE(module_->swapListEntries(1, 0, 3) || module_->selectListEntry(1, 3));
  EXPECT_TRUE(module_->selectListEntry(1, 2));
  EXPECT_TRUE(module_->swapListEntries(1, 0, 2));
  EXPECT_EQ(std::tuple(texts(), module_->listSelection(1)), std::tuple(std::u16string(u"CBA"), 0));
  EXPECT_TRUE(module_->removeListEntry(1, 2));
  EXPECT_EQ(module_->listSelection(1), 0) << "removing after the chosen entry leaves it";
  module_->selectListEntry(1, 1);
  EXPECT_TRUE(module_->removeListEntry(1, 0));
  EXPECT_EQ(std::tuple(texts(), module_->listSelection(1)), std::tuple(std::u16string(u"B"), 0));
  EXPECT_TRUE(module_->removeListEntry(1, 0));
  EXPECT_EQ(std::tuple(module_->listEntryCount(1), module_->listSelection(1)), std::tuple(0, -1));
  EXPECT_TRUE(receiver_->calls.empty()) << "the module's own changes tell nobody";

  module_->addListEntry(1, ZelString(u"A"));
  module_->addListEntry(1, ZelString(u"B"));
  module_->enableListEntry(1, 1, false);
  EXPECT_FALSE(dialog_->chooseEntry(1, 1) || dialog_->chooseEntry(1, 2) || dialog_->chooseEntry(1, -1));
  EXPECT_TRUE(dialog_->chooseEntry(1, 0) && dialog_->chooseEntry(1, 0));
  EXPECT_EQ(receiver_->calls, Calls{"gui value changed 1 0"}) << "once per change";
  module_->clearList(1);
  EXPECT_EQ(std::tuple(module_->listEntryCount(1), module_->listSelection(1)), std::tuple(0, -1));
}

TEST_F(GuiDialog, ANumberFieldTakesOneDoubleFormatAndRefusesValuesOutsideItsRange) {
  module_->addControl(1, "length", ZelString(u"Offset"));
  module_->addControl(2, "text", ZelString(u"Label"));
  for (const char* bad : {"%d", "%f %f", "%%", "%s", "%.3", "size"}) {
    EXPECT_FALSE(module_->setNumberFormat(1, bad, 0, 1)) << bad;
  }
  EXPECT_FALSE(module_->setNumberFormat(1, "%f", 1, 0)) << "an empty range";
  EXPECT_FALSE(module_->setNumberFormat(2, "%f", 0, 1)) << "a text field is no number field";
  EXPECT_TRUE(module_->setNumberFormat(1, "%+08.2f %% mm", -1, 1));
  EXPECT_FALSE(dialog_->enterValue(1, 1.5) || dialog_->enterValue(1, std::nan("")));
  EXPECT_TRUE(dialog_->enterValue(1, -1));
  EXPECT_EQ(dialog_->control(1)->value, -1);
  EXPECT_EQ(receiver_->calls, Calls{"gui value 1 -1"});
}

TEST_F(GuiDialog, ALengthFieldShowsAndTakesTheUsersUnitAndKeepsMetres) {
  HostGuiDialog& dialog = host_.gui().dialog();
  dialog.addControl(1, "length", ZelString(u"Spacing"));
  dialog.addControl(2, "number", ZelString(u"Count"));
  ASSERT_TRUE(dialog.setNumberFormat(1, "%.4f", 0, 0.1));
  ASSERT_TRUE(dialog.setNumberFormat(2, "%.1f", 0, 100));
  dialog.setControlValue(1, 0.0254);
  dialog.setControlValue(2, 5);
  ASSERT_EQ(host_.core().units().currentLengthUnit(), HostUnitService::kMillimetre);
  EXPECT_EQ(shownNumber(*dialog.control(1), dialog.shownFactor(*dialog.control(1))), "25.4000");
  EXPECT_EQ(shownNumber(*dialog.control(2), dialog.shownFactor(*dialog.control(2))), "5.0") << "no length";
  ASSERT_TRUE(host_.core().units().setCurrentLengthUnit(HostUnitService::kInch));
  EXPECT_EQ(shownNumber(*dialog.control(1), dialog.shownFactor(*dialog.control(1))), "1.0000");
  EXPECT_FALSE(dialog.enterValue(1, 4)) << "4 in is past the 0.1 m maximum";
  ASSERT_TRUE(dialog.enterValue(1, 2));
  EXPECT_DOUBLE_EQ(dialog.control(1)->value, 0.0508) << "kept in metres";
  ASSERT_TRUE(dialog.enterValue(2, 4));
  EXPECT_EQ(dialog.control(2)->value, 4);
}

TEST_F(GuiDialog, BracketsGiveTheirReceiverAndFontToWhatIsBuiltInsideAndMustClose) {
  IPtr<RecordingCommand> widget{new RecordingCommand};
  module_->beginReceiver(widget.get());
  module_->beginFont(20);
  module_->addControl(1, "button", ZelString(u"Inner"));
  module_->endFont();
  module_->endReceiver();
  module_->addControl(2, "button", ZelString(u"Outer"));
  module_->endFont();  // nothing of its kind open: a stray call
  EXPECT_EQ(std::tuple(dialog_->control(1)->fontSize, dialog_->control(2)->fontSize), std::tuple(20, 0));
  EXPECT_TRUE(dialog_->pressButton(1) && dialog_->pressButton(2));
  EXPECT_EQ(widget->calls, Calls{"gui event 1 1"});
  EXPECT_EQ(receiver_->calls, Calls{"gui event 2 1"});
  EXPECT_EQ(std::tuple(dialog_->openLayouts(), dialog_->strayCalls()), std::tuple(0u, 1));
  module_->enableControl(2, false, IGuiDialog::kEnableDefault);
  EXPECT_FALSE(module_->isControlEnabled(2) || module_->isControlEnabled(3));
  EXPECT_FALSE(dialog_->pressButton(2));
}

}  // namespace

TEST_F(GuiDialog, ARadioOfADisabledGroupCannotBeChosenAndTheGroupHoldsTheChoice) {
  module_->addControl(2, "radiogroup", ZelString(u"Method"));
  module_->addRadio(2, 3, ZelString(u"Three"), 0);
  module_->addRadio(2, 5, ZelString(u"Five"), 0);
  module_->enableControl(2, false, IGuiDialog::kEnableDefault);
  EXPECT_FALSE(dialog_->chooseRadio(5));
  EXPECT_TRUE(receiver_->calls.empty());
  module_->enableControl(2, true, IGuiDialog::kEnableDefault);
  EXPECT_TRUE(dialog_->chooseRadio(5));
  EXPECT_EQ(receiver_->calls, Calls{"gui event 5 1"});
  EXPECT_EQ(dialog_->control(2)->value, 5);
}
