#include "host/gui/host_gui_dialog.h"

#include "framework/object/query_chain.h"

int32_t HostGuiDialog::reserveControlIds(int32_t count) {
  return controls_.reserveIds(count);
}

bool HostGuiDialog::addControl(int32_t id, const char* kind, const ZelString& name) {
  DialogControl control;
  control.kind = kind ? kind : "";
  control.name = name.c_str();
  return controls_.add(id, std::move(control));
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

void HostGuiDialog::setControlValue(int32_t id, double value) {
  controls_.setValue(id, value);
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

void HostGuiDialog::addButton(const char* name, const ZelString& caption, bool shown) {
  builder_.addButton(name, caption, shown);
}

void HostGuiDialog::setControlImage(int32_t id, IZelImage* image) {
  controls_.setImage(id, image);
}

void HostGuiDialog::clear() {
  builder_.clear();
  controls_.clear();
}

void HostGuiDialog::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGuiDialog>(this).end();
}
