#include <gtest/gtest.h>

#include "framework/object/iptr.h"
#include "host/gui/host_gui_dialog.h"
#include "support/module_fixture.h"
#include "support/recording_command.h"

namespace {

// A widget builds under the ids it reserved: boxes and buttons take the id given, and a font bracket names
// its family.
TEST_F(ModuleTest, WidgetBuilderCallsPlaceControlsUnderTheirIdsWithTheBracketsFont) {
  IPtr<HostGuiDialog> dialog{new HostGuiDialog};
  IGuiDialog* module = dialog.get();
  IPtr<RecordingCommand> widget{new RecordingCommand};
  const int32_t base = module->reserveControlIds(4);
  module->beginReceiver(widget.get());
  module->beginGroupBox("w:Box", base, ZelString(u"Title"));
  module->beginVerticalLayout();
  module->beginFontFace("monospace", 14, 0, false);
  module->addControl(base + 1, "text", ZelString(u"w:Row1"));
  module->endFont();
  module->endLayout();
  module->endGroup();
  module->beginFramedGroupBox("v:Box", base + 2, true, ZelString(u"Second"), false);
  module->addButtonAt("v:Load", base + 3, ZelString(u"Load"), true);
  module->endGroup();
  module->endReceiver();
  EXPECT_EQ(dialog->openLayouts(), 0u);
  EXPECT_EQ(dialog->strayCalls(), 0);

  std::optional<HostGuiDialog::Control> box = dialog->control(base);
  ASSERT_TRUE(box);
  EXPECT_TRUE(box->kind == "group" && box->text == u"Title" && box->name == u"w:Box" && box->flag);
  std::optional<HostGuiDialog::Control> row = dialog->control(base + 1);
  ASSERT_TRUE(row);
  EXPECT_EQ(row->fontFamily, "monospace");
  EXPECT_EQ(row->fontSize, 14);
  EXPECT_EQ(row->receiver, widget.get());
  std::optional<HostGuiDialog::Control> button = dialog->control(base + 3);
  ASSERT_TRUE(button);
  EXPECT_TRUE(button->kind == "button" && button->text == u"Load" && button->parent == base + 2);
  EXPECT_FALSE(dialog->control(base + 2)->flag);

  module->enableWidgetControl(base, false, widget.get());
  EXPECT_FALSE(module->isControlEnabled(base));
  module->addButtonAt("again", base + 3, ZelString(u"x"), true);
  EXPECT_EQ(dialog->strayCalls(), 1) << "an id taken already";
}

}  // namespace
