#include "host/host_gui_dialog.h"

#include <cmath>

#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "host/host_event.h"

int32_t HostGuiDialog::reserveControlIds(int32_t count) {
  std::lock_guard lock(mutex_);
  int32_t first = nextReservedId_;
  if (count > 0) nextReservedId_ += count;
  return first;
}

bool HostGuiDialog::addControl(int32_t id, const char* kind, const ZelString& name) {
  std::lock_guard lock(mutex_);
  Control control;
  control.kind = kind ? kind : "";
  control.name = name.c_str();
  return controls_.emplace(id, std::move(control)).second;
}

template <class Change>
void HostGuiDialog::changeControl(int32_t id, Change change) {
  std::lock_guard lock(mutex_);
  auto found = controls_.find(id);
  if (found == controls_.end()) {
    ++strayCalls_;
    return;
  }
  change(found->second);
}

void HostGuiDialog::enableControl(int32_t id, bool enabled, int32_t mode) {
  changeControl(id, [&](Control& control) {
    control.enabled = enabled;
    control.enableMode = mode;
  });
}

void HostGuiDialog::setControlFlag(int32_t id, bool flag) {
  changeControl(id, [&](Control& control) { control.flag = flag; });
}

void HostGuiDialog::setControlText(int32_t id, const ZelString& text) {
  std::u16string copy = text.c_str();
  changeControl(id, [&](Control& control) { control.text = std::move(copy); });
}

void HostGuiDialog::setControlValue(int32_t id, double value) {
  changeControl(id, [&](Control& control) { control.value = value; });
}

bool HostGuiDialog::getControlValue(int32_t id, double* value) {
  std::lock_guard lock(mutex_);
  auto found = controls_.find(id);
  if (found == controls_.end()) return false;
  if (value) *value = found->second.value;
  return true;
}

void HostGuiDialog::registerPicture(int32_t number, const char* imageName) {
  std::lock_guard lock(mutex_);
  pictures_[number] = imageName ? imageName : "";
}

void HostGuiDialog::setReceiver(IGuiReceiver* receiver) {
  std::lock_guard lock(mutex_);
  receiver_ = receiver;
}

HostGuiDialog::UserChange HostGuiDialog::acceptUserChange(int32_t id, std::optional<double> value) {
  std::lock_guard lock(mutex_);
  auto found = controls_.find(id);
  if (found == controls_.end() || !found->second.enabled) return {};
  if (value) found->second.value = *value;
  return {true, found->second.kind, receiver_};
}

bool HostGuiDialog::pressButton(int32_t id) {
  UserChange change = acceptUserChange(id, std::nullopt);
  if (!change.accepted) return false;
  if (change.receiver) change.receiver->onGuiEvent(id, 1);
  return true;
}

bool HostGuiDialog::enterValue(int32_t id, double value) {
  UserChange change = acceptUserChange(id, value);
  if (!change.accepted) return false;
  if (!change.receiver) return true;
  if (change.kind == "number") {
    change.receiver->onGuiValue(id, value);
  } else {
    change.receiver->onGuiValueChanged(id, static_cast<int32_t>(std::lround(value)));
  }
  return true;
}

void HostGuiDialog::sendHostEvent(uint32_t eventId) {
  IGuiReceiver* receiver = nullptr;
  {
    std::lock_guard lock(mutex_);
    receiver = receiver_;
  }
  if (!receiver) return;
  IPtr<HostEvent> event(new HostEvent(eventId));
  receiver->onEvent(event.get());
}

std::optional<HostGuiDialog::Control> HostGuiDialog::control(int32_t id) {
  std::lock_guard lock(mutex_);
  auto found = controls_.find(id);
  if (found == controls_.end()) return std::nullopt;
  return found->second;
}

std::map<int32_t, HostGuiDialog::Control> HostGuiDialog::controls() {
  std::lock_guard lock(mutex_);
  return controls_;
}

std::optional<int32_t> HostGuiDialog::idOf(const std::u16string& name) {
  std::lock_guard lock(mutex_);
  for (const auto& [id, control] : controls_) {
    if (control.name == name) return id;
  }
  return std::nullopt;
}

std::optional<std::string> HostGuiDialog::picture(int32_t number) {
  std::lock_guard lock(mutex_);
  auto found = pictures_.find(number);
  if (found == pictures_.end()) return std::nullopt;
  return found->second;
}

int32_t HostGuiDialog::strayCalls() {
  std::lock_guard lock(mutex_);
  return strayCalls_;
}

void HostGuiDialog::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGuiDialog>(this).end();
}
