#include "host/gui/dialog_controls.h"

#include "host_api/gui_dialog.h"

namespace {

std::map<int32_t, bool> standardControlsShown() {
  return {{IGuiDialog::kStandardControl1, true}, {IGuiDialog::kStandardControl2, true}};
}

// The panel's controls a command may switch off: the two it shows and the one before them (-20000).
std::map<int32_t, bool> standardControlsEnabled() {
  std::map<int32_t, bool> enabled = standardControlsShown();
  enabled[IGuiDialog::kStandardControl1 - 1] = true;
  return enabled;
}

}  // namespace

DialogControls::DialogControls()
    : standardShown_(standardControlsShown()), standardEnabled_(standardControlsEnabled()) {}

int32_t DialogControls::reserveIds(int32_t count) {
  std::lock_guard lock(mutex_);
  int32_t first = nextReservedId_;
  if (count > 0) nextReservedId_ += count;
  return first;
}

bool DialogControls::add(int32_t id, DialogControl control) {
  std::lock_guard lock(mutex_);
  return controls_.emplace(id, std::move(control)).second;
}

std::optional<int32_t> DialogControls::addAt(std::optional<int32_t> id, DialogControl control) {
  std::lock_guard lock(mutex_);
  int32_t at = id.value_or(lowestFreeIdLocked());
  if (!controls_.emplace(at, std::move(control)).second) {
    ++strayCalls_;
    return std::nullopt;
  }
  return at;
}

int32_t DialogControls::lowestFreeIdLocked() const {
  int32_t id = 1;
  while (controls_.count(id)) ++id;
  return id;
}

template <class Change>
void DialogControls::change(int32_t id, Change change) {
  std::lock_guard lock(mutex_);
  auto found = controls_.find(id);
  if (found == controls_.end()) {
    ++strayCalls_;
    return;
  }
  change(found->second);
}

void DialogControls::enable(int32_t id, bool enabled, int32_t mode) {
  {
    std::lock_guard lock(mutex_);
    auto standard = standardEnabled_.find(id);
    if (standard != standardEnabled_.end()) {
      standard->second = enabled;
      return;
    }
  }
  change(id, [&](DialogControl& control) {
    control.enabled = enabled;
    control.enableMode = mode;
  });
}

void DialogControls::setFlag(int32_t id, bool flag) {
  {
    std::lock_guard lock(mutex_);
    auto standard = standardShown_.find(id);
    if (standard != standardShown_.end()) {
      standard->second = flag;
      return;
    }
  }
  change(id, [&](DialogControl& control) { control.flag = flag; });
}

void DialogControls::setText(int32_t id, std::u16string text) {
  change(id, [&](DialogControl& control) { control.text = std::move(text); });
}

void DialogControls::setValue(int32_t id, double value) {
  change(id, [&](DialogControl& control) { control.value = value; });
}

void DialogControls::setImage(int32_t id, IZelImage* image) {
  IPtr<IZelImage> held(image);
  change(id, [&](DialogControl& control) { std::swap(control.image, held); });
}

std::optional<double> DialogControls::value(int32_t id) {
  std::lock_guard lock(mutex_);
  auto found = controls_.find(id);
  if (found == controls_.end()) return std::nullopt;
  return found->second.value;
}

void DialogControls::registerPicture(int32_t number, std::string imageName) {
  std::lock_guard lock(mutex_);
  pictures_[number] = std::move(imageName);
}

void DialogControls::countStrayCall() {
  std::lock_guard lock(mutex_);
  ++strayCalls_;
}

bool DialogControls::edit(int32_t id, const std::function<bool(DialogControl&)>& change) {
  std::lock_guard lock(mutex_);
  auto found = controls_.find(id);
  if (found == controls_.end()) {
    ++strayCalls_;
    return false;
  }
  return change(found->second);
}

bool DialogControls::chooseRadio(int32_t id) {
  std::lock_guard lock(mutex_);
  if (chooseRadioLocked(id)) return true;
  ++strayCalls_;
  return false;
}

bool DialogControls::chooseRadioLocked(int32_t id) {
  auto radio = controls_.find(id);
  if (radio == controls_.end() || !radio->second.group) return false;
  auto group = controls_.find(*radio->second.group);
  if (group == controls_.end()) return false;
  group->second.value = id;
  for (auto& [each, control] : controls_) {
    if (control.group == radio->second.group) control.value = each == id ? 1 : 0;
  }
  return true;
}

std::optional<DialogControl> DialogControls::takeUserChange(
    int32_t id, const std::function<bool(DialogControl&)>& change) {
  std::lock_guard lock(mutex_);
  auto found = controls_.find(id);
  if (found == controls_.end() || !usableLocked(id) || !change(found->second)) return std::nullopt;
  return found->second;
}

bool DialogControls::usableLocked(int32_t id) const {
  // A box or group bounds how deep it nests, and a parent is added before its children: the walk ends.
  for (std::optional<int32_t> at = id; at;) {
    auto found = controls_.find(*at);
    if (found == controls_.end()) return at != id;
    if (!found->second.enabled) return false;
    at = found->second.parent;
  }
  return true;
}

std::optional<DialogControl> DialogControls::takeRadioChoice(int32_t id) {
  std::lock_guard lock(mutex_);
  auto found = controls_.find(id);
  if (found == controls_.end() || !usableLocked(id) || !chooseRadioLocked(id)) return std::nullopt;
  return found->second;
}

void DialogControls::setCurrent(int32_t id) {
  std::lock_guard lock(mutex_);
  if (controls_.count(id)) {
    current_ = id;
  } else {
    ++strayCalls_;
  }
}

std::optional<int32_t> DialogControls::current() {
  std::lock_guard lock(mutex_);
  return current_;
}

void DialogControls::countLayoutRefresh() {
  std::lock_guard lock(mutex_);
  ++layoutRefreshes_;
}

int32_t DialogControls::layoutRefreshes() {
  std::lock_guard lock(mutex_);
  return layoutRefreshes_;
}

std::optional<DialogControl> DialogControls::control(int32_t id) {
  std::lock_guard lock(mutex_);
  auto found = controls_.find(id);
  if (found == controls_.end()) return std::nullopt;
  return found->second;
}

std::map<int32_t, DialogControl> DialogControls::all() {
  std::lock_guard lock(mutex_);
  return controls_;
}

std::optional<int32_t> DialogControls::idOf(const std::u16string& name) {
  std::lock_guard lock(mutex_);
  for (const auto& [id, control] : controls_) {
    if (control.name == name) return id;
  }
  return std::nullopt;
}

std::optional<std::string> DialogControls::picture(int32_t number) {
  std::lock_guard lock(mutex_);
  auto found = pictures_.find(number);
  if (found == pictures_.end()) return std::nullopt;
  return found->second;
}

bool DialogControls::standardControlShown(int32_t id) {
  std::lock_guard lock(mutex_);
  auto found = standardShown_.find(id);
  return found != standardShown_.end() && found->second;
}

bool DialogControls::standardControlEnabled(int32_t id) {
  std::lock_guard lock(mutex_);
  auto found = standardEnabled_.find(id);
  return found != standardEnabled_.end() && found->second;
}

int32_t DialogControls::strayCalls() {
  std::lock_guard lock(mutex_);
  return strayCalls_;
}

void DialogControls::clear() {
  std::map<int32_t, DialogControl> closed;  // let go of outside the lock: a button's image is released there
  std::lock_guard lock(mutex_);
  std::swap(closed, controls_);
  pictures_.clear();
  standardShown_ = standardControlsShown();
  standardEnabled_ = standardControlsEnabled();
  nextReservedId_ = kFirstReservedId;
  strayCalls_ = 0;
  current_.reset();
  layoutRefreshes_ = 0;
}
