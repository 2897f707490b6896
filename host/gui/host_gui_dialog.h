#pragma once

// The stand-in host's dialog: headless, answering IGuiDialog for the module and letting the host side do what
// a user would (press a button, enter a value) and what the host would (send a host event), then read the
// controls back. It composes three parts, each with its promises in its header: the control model
// (dialog_controls.h), the builder (dialog_builder.h) and the user's actions (dialog_user_actions.h).
//
// The dialog is one command's: when the command ends the host clears it, and the next command builds on an
// empty dialog. Safe on any thread; the receiver (held without a reference) is called outside every lock,
// on the thread of the host-side call.

#include <atomic>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "host/core/host_unknown.h"
#include "host/gui/dialog_builder.h"
#include "host/gui/dialog_controls.h"
#include "host/gui/dialog_number_field.h"
#include "host/gui/dialog_user_actions.h"
#include "host_api/gui_dialog.h"
#include "host_api/gui_page.h"

class HostGuiDialog : public IGuiDialog, public IGuiBaseV3, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostGuiDialog";
  static constexpr int32_t kFirstReservedId = DialogControls::kFirstReservedId;
  using Control = DialogControl;

  // Length fields show and take lengths in the current unit of units (in metres without it), which must
  // outlive the dialog.
  explicit HostGuiDialog(IUnitService* units = nullptr) : units_(units), actions_{controls_, units} {}

  // A count below 1 reserves nothing and answers the next free id.
  int32_t reserveControlIds(int32_t count) override;
  // False when the id is taken.
  bool addControl(int32_t id, const char* kind, const ZelString& name) override;
  void enableControl(int32_t id, bool enabled, int32_t mode) override;
  void setControlFlag(int32_t id, bool flag) override;
  void setControlText(int32_t id, const ZelString& text) override;
  // Sets the value without telling the receiver: the module changed it, not the user.
  void setControlValue(int32_t id, double value) override;
  bool getControlValue(int32_t id, double* value) override;
  bool getControlText(int32_t id, ZelString& text) override;
  void registerPicture(int32_t number, const char* imageName) override;
  void setReceiver(IGuiReceiver* receiver) override;
  void setControlIcon(int32_t number, const char* iconName) override;
  void beginBox(const char* name, int32_t style, const ZelString& title, bool shown) override;
  void beginGroup(const char* name, int32_t style, const ZelString& title, bool shown) override;
  void endGroup() override;
  void beginPanel(const ZelString& title, bool shown) override;
  void endPanel() override;
  void beginLayout(bool stretch) override;
  void endLayout() override;
  void addImageButton(const char* name, int32_t number, const ZelString& caption, bool shown) override;
  void addButton(const char* name, const ZelString& caption, bool shown) override;
  void addImageToggleButton(const char* name, int32_t number, int32_t picture, const ZelString& caption,
                            bool shown) override;
  void setControlImage(int32_t id, IZelImage* image) override;
  int32_t addListEntry(int32_t id, const ZelString& text) override;
  bool removeListEntry(int32_t id, int32_t index) override;
  bool swapListEntries(int32_t id, int32_t first, int32_t second) override;
  void clearList(int32_t id) override;
  int32_t listEntryCount(int32_t id) override;
  bool selectListEntry(int32_t id, int32_t index) override;
  int32_t listSelection(int32_t id) override;
  bool enableListEntry(int32_t id, int32_t index, bool enabled) override;
  bool setNumberFormat(int32_t id, const char* format, double minimum, double maximum) override;
  bool addRadio(int32_t groupId, int32_t id, const ZelString& caption, int32_t picture) override;
  bool isControlEnabled(int32_t id) override;
  void setCurrentControl(int32_t id) override { controls_.setCurrent(id); }
  void refreshLayout() override { controls_.countLayoutRefresh(); }
  void beginFont(int32_t size) override { builder_.beginFont(size); }
  void endFont() override { builder_.endFont(); }
  void beginReceiver(IGuiReceiver* receiver) override { builder_.beginReceiver(receiver); }
  void endReceiver() override { builder_.endReceiver(); }
  bool setControlTable(int32_t id, IZelTable* table, IZelTableModifier* modifier) override;
  void beginGroupBox(const char* name, int32_t id, const ZelString& title) override;
  // Framed or not, a box and a group look alike headless: both are groups.
  void beginFramedGroupBox(const char* name, int32_t id, bool framed, const ZelString& title,
                           bool shown) override;
  void beginVerticalLayout() override { builder_.beginLayout(); }
  void beginFontFace(const char* family, int32_t size, int32_t, bool) override {
    builder_.beginFont(size, family);
  }
  void addButtonAt(const char* name, int32_t id, const ZelString& caption, bool shown) override;
  // The widget is not kept: the control's receiver was given when it was built.
  void enableWidgetControl(int32_t id, bool enabled, IGuiReceiver*) override;
  // IGuiBaseV3: a slider is a "slider" control named name; the kind kTableControl a "table" control.
  void addSlider(int32_t id, const char* name, const ZelString& leftLabel, const ZelString& rightLabel,
                 int32_t flag, int32_t style) override;
  bool registerControl(int32_t id, const char* name, int32_t kind, int32_t size) override;

  // The outermost bracket's end refreshes the layout.
  void beginBatch() override { ++openBatches_; }
  void endBatch() override;

  // Host side: see dialog_user_actions.h.
  bool pressButton(int32_t id) { return actions_.pressButton(id); }
  bool enterValue(int32_t id, double value) { return actions_.enterValue(id, value); }
  bool chooseEntry(int32_t id, int32_t index) { return actions_.chooseEntry(id, index); }
  bool typeText(int32_t id, const std::u16string& text) { return actions_.typeText(id, text); }
  bool chooseRadio(int32_t id) { return actions_.chooseRadio(id); }
  // Makes control id one of box's, which may be added later (a dialog resource's controls lie in the page
  // the command builds as control 0): while box is disabled, the user cannot use it. False for an unknown id.
  bool nestIn(int32_t id, int32_t box);
  bool editCell(int32_t id, int32_t row, int32_t column, const std::u16string& text) {
    return actions_.editCell(id, row, column, text);
  }
  void sendHostEvent(uint32_t eventId) { actions_.sendHostEvent(eventId); }

  std::optional<Control> control(int32_t id) { return controls_.control(id); }
  // Every control, by id.
  std::map<int32_t, Control> controls() { return controls_.all(); }
  // The lowest id of a control of that name.
  std::optional<int32_t> idOf(const std::u16string& name) { return controls_.idOf(name); }
  std::optional<std::string> picture(int32_t number) { return controls_.picture(number); }
  // The icon name shown at an icon number.
  std::optional<std::string> icon(int32_t number) { return builder_.icon(number); }
  // Whether a standard control of the host is shown.
  bool standardControlShown(int32_t id) { return controls_.standardControlShown(id); }
  // How many boxes, groups, panels and layouts are open: 0 once a dialog is fully built.
  size_t openLayouts() { return builder_.openLayouts(); }
  int32_t strayCalls() { return controls_.strayCalls(); }
  // The control with the keyboard focus, if one was given it.
  std::optional<int32_t> currentControl() { return controls_.current(); }
  // The factor from the control's stored value to the shown one (shownFactor in dialog_number_field.h).
  double shownFactor(const Control& control) { return ::shownFactor(control, units_); }
  int32_t layoutRefreshes() { return controls_.layoutRefreshes(); }
  // Building brackets open now, and closed so far.
  int32_t openBatches() const { return openBatches_; }
  int32_t closedBatches() const { return closedBatches_; }
  // Closes the dialog: forgets every control, picture, icon, reserved id and stray call of the command that
  // built it, and shows the standard controls again. The receiver stays.
  void clear();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IUnitService* const units_;
  DialogControls controls_;
  DialogBuilder builder_{controls_};
  DialogUserActions actions_;
  std::atomic<int32_t> openBatches_ = 0;
  std::atomic<int32_t> closedBatches_ = 0;
};
