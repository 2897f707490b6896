#include "host/gui/host_gui_dialog.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "host/gui/host_event.h"

namespace {

constexpr const char* kBaseIdPrefix = "ControlBaseID+";

// N of a name "ControlBaseID+N" (decimal, nothing after it), or nothing.
std::optional<int32_t> baseIdNumber(const char* name) {
  if (!name || std::strncmp(name, kBaseIdPrefix, std::strlen(kBaseIdPrefix)) != 0) return std::nullopt;
  const char* digits = name + std::strlen(kBaseIdPrefix);
  const char* end = digits + std::strlen(digits);
  int32_t number = 0;
  auto [stop, error] = std::from_chars(digits, end, number);
  if (error != std::errc() || stop != end || digits == end) return std::nullopt;
  return number;
}

std::map<int32_t, bool> standardControlsShown() {
  return {{IGuiDialog::kStandardControl1, true}, {IGuiDialog::kStandardControl2, true}};
}

}  // namespace

HostGuiDialog::HostGuiDialog() : standardShown_(standardControlsShown()) {}

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
  {
    std::lock_guard lock(mutex_);
    auto standard = standardShown_.find(id);
    if (standard != standardShown_.end()) {
      standard->second = flag;
      return;
    }
  }
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

void HostGuiDialog::setControlIcon(int32_t number, const char* iconName) {
  std::lock_guard lock(mutex_);
  icons_[number] = iconName ? iconName : "";
}

std::optional<int32_t> HostGuiDialog::addBuilt(std::optional<int32_t> number, const char* kind,
                                               const char* name, const ZelString& text, bool shown) {
  Control control;
  control.kind = kind;
  control.name = ZelString(name ? name : "").c_str();
  control.text = text.c_str();
  control.flag = shown;
  std::lock_guard lock(mutex_);
  for (auto open = opened_.rbegin(); open != opened_.rend(); ++open) {
    if (!open->id) continue;
    control.parent = open->id;
    break;
  }
  int32_t id = baseIdNumber(name).value_or(number.value_or(lowestFreeIdLocked()));
  if (!controls_.emplace(id, std::move(control)).second) {
    ++strayCalls_;
    return std::nullopt;
  }
  return id;
}

int32_t HostGuiDialog::lowestFreeIdLocked() const {
  int32_t id = 1;
  while (controls_.count(id)) ++id;
  return id;
}

void HostGuiDialog::openBoxOrGroup(const char* kind, const char* name, const ZelString& title, bool shown) {
  open(Opened::kBoxOrGroup, addBuilt(std::nullopt, kind, name, title, shown));
}

void HostGuiDialog::open(Opened kind, std::optional<int32_t> id) {
  std::lock_guard lock(mutex_);
  opened_.push_back({kind, id});
}

void HostGuiDialog::close(Opened kind) {
  std::lock_guard lock(mutex_);
  if (opened_.empty() || opened_.back().kind != kind) {
    ++strayCalls_;
    return;
  }
  opened_.pop_back();
}

void HostGuiDialog::beginBox(const char* name, int32_t, const ZelString& title, bool shown) {
  openBoxOrGroup("box", name, title, shown);
}

void HostGuiDialog::beginGroup(const char* name, int32_t, const ZelString& title, bool shown) {
  openBoxOrGroup("group", name, title, shown);
}

void HostGuiDialog::endGroup() {
  close(Opened::kBoxOrGroup);
}

void HostGuiDialog::beginPanel(const ZelString&, bool) {
  open(Opened::kPanel);
}

void HostGuiDialog::endPanel() {
  close(Opened::kPanel);
}

void HostGuiDialog::beginLayout(bool) {
  open(Opened::kLayout);
}

void HostGuiDialog::endLayout() {
  close(Opened::kLayout);
}

void HostGuiDialog::addImageButton(const char* name, int32_t number, const ZelString& caption, bool shown) {
  addBuilt(number, "imagebutton", name, caption, shown);
}

void HostGuiDialog::addButton(const char* name, const ZelString& caption, bool shown) {
  addBuilt(std::nullopt, "button", name, caption, shown);
}

void HostGuiDialog::setControlImage(int32_t id, IZelImage* image) {
  IPtr<IZelImage> held(image);
  changeControl(id, [&](Control& control) { std::swap(control.image, held); });
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

std::optional<std::string> HostGuiDialog::icon(int32_t number) {
  std::lock_guard lock(mutex_);
  auto found = icons_.find(number);
  if (found == icons_.end()) return std::nullopt;
  return found->second;
}

bool HostGuiDialog::standardControlShown(int32_t id) {
  std::lock_guard lock(mutex_);
  auto found = standardShown_.find(id);
  return found != standardShown_.end() && found->second;
}

size_t HostGuiDialog::openLayouts() {
  std::lock_guard lock(mutex_);
  return opened_.size();
}

void HostGuiDialog::clear() {
  std::map<int32_t, Control> closed;  // let go of outside the lock: a button's image is released there
  std::lock_guard lock(mutex_);
  std::swap(closed, controls_);
  pictures_.clear();
  icons_.clear();
  opened_.clear();
  standardShown_ = standardControlsShown();
  nextReservedId_ = kFirstReservedId;
  strayCalls_ = 0;
}

int32_t HostGuiDialog::strayCalls() {
  std::lock_guard lock(mutex_);
  return strayCalls_;
}

void HostGuiDialog::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGuiDialog>(this).end();
}
