#include "host/gui/dialog_builder.h"

#include <charconv>
#include <cstring>

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

}  // namespace

void DialogBuilder::setIcon(int32_t number, const char* iconName) {
  std::lock_guard lock(mutex_);
  icons_[number] = iconName ? iconName : "";
}

std::optional<int32_t> DialogBuilder::add(std::optional<int32_t> number, const char* kind, const char* name,
                                          const ZelString& text, bool shown, int32_t picture) {
  DialogControl control;
  control.kind = kind;
  control.picture = picture;
  control.name = ZelString(name ? name : "").c_str();
  control.text = text.c_str();
  control.flag = shown;
  control.parent = innermostBoxOrGroup();
  stamp(control);
  std::optional<int32_t> byName = baseIdNumber(name);
  return controls_.addAt(byName ? byName : number, std::move(control));
}

std::optional<int32_t> DialogBuilder::innermostBoxOrGroup() {
  std::lock_guard lock(mutex_);
  for (auto open = opened_.rbegin(); open != opened_.rend(); ++open) {
    if (open->id) return open->id;
  }
  return std::nullopt;
}

void DialogBuilder::stamp(DialogControl& control) {
  std::lock_guard lock(mutex_);
  bool receiverFound = false, fontFound = false;
  for (auto open = opened_.rbegin(); open != opened_.rend(); ++open) {
    if (open->kind == Opened::kReceiver && !receiverFound) {
      control.receiver = open->receiver;
      receiverFound = true;
    }
    if (open->kind == Opened::kFont && !fontFound) {
      control.fontSize = open->fontSize;
      control.fontFamily = open->fontFamily;
      fontFound = true;
    }
  }
}

void DialogBuilder::open(OpenLayout layout) {
  std::lock_guard lock(mutex_);
  opened_.push_back(layout);
}

void DialogBuilder::close(Opened kind) {
  {
    std::lock_guard lock(mutex_);
    if (!opened_.empty() && opened_.back().kind == kind) {
      opened_.pop_back();
      return;
    }
  }
  controls_.countStrayCall();
}

void DialogBuilder::beginBoxOrGroup(const char* kind, const char* name, const ZelString& title, bool shown,
                                    std::optional<int32_t> id) {
  open({Opened::kBoxOrGroup, add(id, kind, name, title, shown)});
}

void DialogBuilder::endGroup() {
  close(Opened::kBoxOrGroup);
}

void DialogBuilder::beginPanel() {
  open({Opened::kPanel});
}

void DialogBuilder::endPanel() {
  close(Opened::kPanel);
}

void DialogBuilder::beginLayout() {
  open({Opened::kLayout});
}

void DialogBuilder::endLayout() {
  close(Opened::kLayout);
}

void DialogBuilder::addImageButton(const char* name, int32_t number, const ZelString& caption, bool shown) {
  add(number, "imagebutton", name, caption, shown);
}

void DialogBuilder::addImageToggleButton(const char* name, int32_t number, int32_t picture,
                                         const ZelString& caption, bool shown) {
  add(number, "imagetoggle", name, caption, shown, picture);
}

void DialogBuilder::addButton(const char* name, const ZelString& caption, bool shown,
                              std::optional<int32_t> id) {
  add(id, "button", name, caption, shown);
}

void DialogBuilder::beginReceiver(IGuiReceiver* receiver) {
  open({Opened::kReceiver, std::nullopt, receiver});
}

void DialogBuilder::endReceiver() {
  close(Opened::kReceiver);
}

void DialogBuilder::beginFont(int32_t size, const char* family) {
  open({Opened::kFont, std::nullopt, nullptr, size, family ? family : ""});
}

void DialogBuilder::endFont() {
  close(Opened::kFont);
}

std::optional<std::string> DialogBuilder::icon(int32_t number) {
  std::lock_guard lock(mutex_);
  auto found = icons_.find(number);
  if (found == icons_.end()) return std::nullopt;
  return found->second;
}

size_t DialogBuilder::openLayouts() {
  std::lock_guard lock(mutex_);
  return opened_.size();
}

void DialogBuilder::clear() {
  std::lock_guard lock(mutex_);
  opened_.clear();
  icons_.clear();
}
