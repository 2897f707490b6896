#include "host/gui/host_gui_dialog.h"

#include "framework/object/query_chain.h"
#include "host/gui/dialog_list.h"
#include "host/gui/dialog_number_field.h"

int32_t HostGuiDialog::reserveControlIds(int32_t count) {
  return controls_.reserveIds(count);
}

bool HostGuiDialog::addControl(int32_t id, const char* kind, const ZelString& name) {
  DialogControl control;
  control.kind = kind ? kind : "";
  control.name = name.c_str();
  builder_.stamp(control);
  return controls_.add(id, std::move(control));
}

void HostGuiDialog::addSlider(int32_t id, const char* name, const ZelString&, const ZelString&, int32_t,
                              int32_t) {
  addControl(id, "slider", ZelString(name ? name : ""));
}

bool HostGuiDialog::registerControl(int32_t id, const char* name, int32_t kind, int32_t) {
  return kind == kTableControl && addControl(id, "table", ZelString(name ? name : ""));
}

void HostGuiDialog::enableControl(int32_t id, bool enabled, int32_t mode) {
  controls_.enable(id, enabled, mode);
}

void HostGuiDialog::setControlFlag(int32_t id, bool flag) {
  controls_.setFlag(id, flag);
}

void HostGuiDialog::setControlText(int32_t id, const ZelString& text) {
  controls_.setText(id, text.c_str());
}

// A radio button chosen with 1 is chosen in its group; a list's value is its chosen entry.
void HostGuiDialog::setControlValue(int32_t id, double value) {
  std::optional<DialogControl> control = controls_.control(id);
  if (control && control->kind == "radio" && value == 1) {
    controls_.chooseRadio(id);
  } else if (control && isList(*control)) {
    selectListEntry(id, static_cast<int32_t>(value));
  } else {
    controls_.setValue(id, value);
  }
}

bool HostGuiDialog::nestIn(int32_t id, int32_t box) {
  return controls_.edit(id, [box](DialogControl& control) {
    control.parent = box;
    return true;
  });
}

bool HostGuiDialog::getControlText(int32_t id, ZelString& text) {
  std::optional<DialogControl> control = controls_.control(id);
  if (!control) return false;
  text.setBuffer(control->text.c_str(), -1);
  return true;
}

bool HostGuiDialog::getControlValue(int32_t id, double* value) {
  std::optional<double> found = controls_.value(id);
  if (!found) return false;
  if (value) *value = *found;
  return true;
}

void HostGuiDialog::registerPicture(int32_t number, const char* imageName) {
  controls_.registerPicture(number, imageName ? imageName : "");
}

void HostGuiDialog::setReceiver(IGuiReceiver* receiver) {
  actions_.setReceiver(receiver);
}

void HostGuiDialog::setControlIcon(int32_t number, const char* iconName) {
  builder_.setIcon(number, iconName);
}

// The style is the host's look of a box or group; the headless dialog has none.
void HostGuiDialog::beginBox(const char* name, int32_t, const ZelString& title, bool shown) {
  builder_.beginBoxOrGroup("box", name, title, shown);
}

void HostGuiDialog::beginGroup(const char* name, int32_t, const ZelString& title, bool shown) {
  builder_.beginBoxOrGroup("group", name, title, shown);
}

void HostGuiDialog::beginGroupBox(const char* name, int32_t id, const ZelString& title) {
  builder_.beginBoxOrGroup("group", name, title, true, id);
}

void HostGuiDialog::beginFramedGroupBox(const char* name, int32_t id, bool, const ZelString& title,
                                        bool shown) {
  builder_.beginBoxOrGroup("group", name, title, shown, id);
}

void HostGuiDialog::addButtonAt(const char* name, int32_t id, const ZelString& caption, bool shown) {
  builder_.addButton(name, caption, shown, id);
}

void HostGuiDialog::enableWidgetControl(int32_t id, bool enabled, IGuiReceiver*) {
  controls_.enable(id, enabled, 0);
}

void HostGuiDialog::endGroup() {
  builder_.endGroup();
}

// A panel and a layout only arrange what they hold; with nothing drawn, only their nesting is kept.
void HostGuiDialog::beginPanel(const ZelString&, bool) {
  builder_.beginPanel();
}

void HostGuiDialog::endPanel() {
  builder_.endPanel();
}

void HostGuiDialog::beginLayout(bool) {
  builder_.beginLayout();
}

void HostGuiDialog::endLayout() {
  builder_.endLayout();
}

void HostGuiDialog::addImageButton(const char* name, int32_t number, const ZelString& caption, bool shown) {
  builder_.addImageButton(name, number, caption, shown);
}

void HostGuiDialog::addImageToggleButton(const char* name, int32_t number, int32_t picture,
                                         const ZelString& caption, bool shown) {
  builder_.addImageToggleButton(name, number, picture, caption, shown);
}

void HostGuiDialog::addButton(const char* name, const ZelString& caption, bool shown) {
  builder_.addButton(name, caption, shown);
}

void HostGuiDialog::setControlImage(int32_t id, IZelImage* image) {
  controls_.setImage(id, image);
}

int32_t HostGuiDialog::addListEntry(int32_t id, const ZelString& text) {
  int32_t index = -1;
  controls_.edit(id, [&](DialogControl& list) {
    if (!appendListEntry(list, text.c_str())) return false;
    index = static_cast<int32_t>(list.entries.size()) - 1;
    return true;
  });
  return index;
}

bool HostGuiDialog::removeListEntry(int32_t id, int32_t index) {
  return controls_.edit(id, [index](DialogControl& list) { return ::removeListEntry(list, index); });
}

bool HostGuiDialog::swapListEntries(int32_t id, int32_t first, int32_t second) {
  return controls_.edit(id, [=](DialogControl& list) { return ::swapListEntries(list, first, second); });
}

void HostGuiDialog::clearList(int32_t id) {
  controls_.edit(id, [](DialogControl& list) { return ::clearList(list); });
}

int32_t HostGuiDialog::listEntryCount(int32_t id) {
  std::optional<DialogControl> list = controls_.control(id);
  return list ? static_cast<int32_t>(list->entries.size()) : 0;
}

bool HostGuiDialog::selectListEntry(int32_t id, int32_t index) {
  return controls_.edit(id, [index](DialogControl& list) { return ::selectListEntry(list, index); });
}

int32_t HostGuiDialog::listSelection(int32_t id) {
  std::optional<DialogControl> list = controls_.control(id);
  return list ? list->selection : -1;
}

bool HostGuiDialog::enableListEntry(int32_t id, int32_t index, bool enabled) {
  return controls_.edit(id, [=](DialogControl& list) { return ::enableListEntry(list, index, enabled); });
}

bool HostGuiDialog::setNumberFormat(int32_t id, const char* format, double minimum, double maximum) {
  return controls_.edit(
      id, [=](DialogControl& field) { return format && ::setNumberFormat(field, format, minimum, maximum); });
}

bool HostGuiDialog::addRadio(int32_t groupId, int32_t id, const ZelString& caption, int32_t picture) {
  std::optional<DialogControl> group = controls_.control(groupId);
  if (!group || group->kind != "radiogroup") {
    controls_.countStrayCall();
    return false;
  }
  DialogControl radio;
  radio.kind = "radio";
  radio.text = caption.c_str();
  radio.group = groupId;
  radio.parent = groupId;  // a disabled group's radios cannot be chosen
  radio.picture = picture;
  builder_.stamp(radio);
  return controls_.add(id, std::move(radio));
}

bool HostGuiDialog::setControlTable(int32_t id, IZelTable* table, IZelTableModifier* modifier) {
  IPtr<IZelTable> heldTable(table);  // what is replaced is let go of outside the model's lock
  IPtr<IZelTableModifier> heldModifier(modifier);
  return controls_.edit(id, [&](DialogControl& control) {
    if (control.kind != "table") return false;
    std::swap(control.table, heldTable);
    std::swap(control.tableModifier, heldModifier);
    ++control.tableShown;
    return true;
  });
}

bool HostGuiDialog::isControlEnabled(int32_t id) {
  if (id == kStandardControl1 - 1 || id == kStandardControl1 || id == kStandardControl2)
    return controls_.standardControlEnabled(id);
  std::optional<DialogControl> control = controls_.control(id);
  return control && control->enabled;
}

void HostGuiDialog::clear() {
  builder_.clear();
  controls_.clear();
}

void HostGuiDialog::endBatch() {
  if (openBatches_ <= 0) return;
  ++closedBatches_;
  if (--openBatches_ == 0) controls_.countLayoutRefresh();
}

void HostGuiDialog::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IGuiDialog*>(this))
      .offer<IGuiDialog>(this)
      .offer<IGuiBaseV3>(this)
      .end();
}
