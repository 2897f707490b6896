#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "host/core/host_data_store.h"
#include "host/gui/host_gui_dialog.h"
#include "host/gui/host_page_window.h"
#include "host/gui/host_widget.h"
#include "support/recording_command.h"

namespace {

// An options page and its widgets as the host makes them, built as a module's page builds them.
class OptionsPageWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    store_->addGroup("Palpera");
    store_->addIntItem("Palpera/Switch", 1, 0, 1, 0);
    store_->addDoubleItem("Palpera/Distance", 0.01, 0, 0.04, 0);
  }

  void build() {
    page_->beginGroup(0, ZelString(), 0);
    toggle_->setKey("Palpera/Switch");
    toggle_->build(page_.get(), ZelString(u"Switch"));
    distance_->setKey("Palpera/Distance");
    distance_->setLength(1);
    distance_->build(page_.get(), ZelString(u"Distance"));
    page_->addSlider(4, "Slider", ZelString(u"Small"), ZelString(u"Large"), 0, 2);
    page_->setRange(4, 1, 10, 1);
    page_->endGroup();
    page_->finish(nullptr);
  }

  IPtr<HostDataStore> store_{new HostDataStore};
  IPtr<HostPageWindow> page_{new HostPageWindow};
  IPtr<HostToggleWidget> toggle_{new HostToggleWidget(*store_)};
  IPtr<HostFloatWidget> distance_{new HostFloatWidget(*store_)};
};

// Built twice: a build after a finished one starts the page afresh.
TEST_F(OptionsPageWindow, AWidgetWritesItsKeyOnlyOnceActiveAndWithinTheRange) {
  build();
  build();
  std::vector<std::string> kinds;
  for (const HostPageWindow::Line& line : page_->lines()) kinds.push_back(line.kind);
  EXPECT_EQ(kinds, (std::vector<std::string>{"group", "toggle", "float", "slider"}));
  EXPECT_EQ(page_->lines()[1].depth, 1);
  EXPECT_FALSE(toggle_->change(0)) << "not before it is active";
  EXPECT_FALSE(toggle_->shown());
  toggle_->activate();
  distance_->activate();
  EXPECT_EQ(toggle_->shown(), 1);
  ASSERT_TRUE(toggle_->change(0));
  EXPECT_EQ(store_->getInt("Palpera/Switch", -1), 0);
  ASSERT_TRUE(distance_->change(0.5));
  EXPECT_EQ(store_->getDouble("Palpera/Distance", -1), 0.04) << "the store clamps to the registered range";
  EXPECT_TRUE(distance_->length());
  EXPECT_FALSE(toggle_->length());
  EXPECT_FALSE(page_->slide(4, 11)) << "outside the range";
  EXPECT_FALSE(page_->hold(4, true)) << "a slider that does not track reports no holding";
  EXPECT_FALSE(page_->pick(0, 0)) << "no such list";
}

// In a command's dialog the toggle hears its own control; the command, the dialog's receiver, hears nothing.
TEST_F(OptionsPageWindow, AToggleInACommandsDialogWritesItsSettingAndReportsItsState) {
  IPtr<HostGuiDialog> dialog{new HostGuiDialog};
  IPtr<RecordingCommand> command{new RecordingCommand};
  dialog->setReceiver(command.get());
  EXPECT_FALSE(toggle_->buildInDialog(nullptr, ZelString(u"Hardware")));
  toggle_->setKey("Palpera/Switch");
  ASSERT_TRUE(toggle_->buildInDialog(dialog.get(), ZelString(u"Hardware")));
  std::optional<int32_t> id = dialog->idOf(u"Hardware");
  ASSERT_TRUE(id);
  EXPECT_EQ(std::tuple(dialog->control(*id)->kind, dialog->control(*id)->value, toggle_->state()),
            std::tuple(std::string("check"), 1.0, true));
  EXPECT_TRUE(dialog->enterValue(*id, 0));
  EXPECT_EQ(std::tuple(store_->getInt("Palpera/Switch", 9), toggle_->state()), std::tuple(0, false));
  EXPECT_TRUE(dialog->pressButton(*id));
  EXPECT_EQ(std::tuple(store_->getInt("Palpera/Switch", 9), dialog->control(*id)->value), std::tuple(1, 1.0));
  EXPECT_TRUE(dialog->enterValue(*id, 5)) << "the control takes it, the setting's range does not";
  EXPECT_EQ(std::tuple(store_->getInt("Palpera/Switch", 9), dialog->control(*id)->value), std::tuple(1, 1.0));
  EXPECT_TRUE(command->calls.empty());
}

}  // namespace
