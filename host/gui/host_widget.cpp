#include "host/gui/host_widget.h"

#include <cstring>

#include "framework/object/query_chain.h"
#include "host/gui/host_page_window.h"

HostWidget::HostWidget(IDataStore& store, const char* kind) : store_(store), kind_(kind) {}

void HostWidget::activate() {
  std::lock_guard<std::mutex> guard(mutex_);
  active_ = true;
}

void HostWidget::dependsOn(const char* key) {
  std::lock_guard<std::mutex> guard(mutex_);
  dependency_ = key ? key : "";
}

void HostWidget::bindKey(const char* key) {
  std::lock_guard<std::mutex> guard(mutex_);
  key_ = key ? key : "";
}

void HostWidget::markLength(int32_t length) {
  std::lock_guard<std::mutex> guard(mutex_);
  length_ = length == 1;
}

void HostWidget::buildInto(IGuiTileWindow* window, const ZelString& label) {
  if (!window) return;
  void* page = nullptr;
  window->queryInterface(HostPageWindow::interfaceName, &page, false);
  if (page) static_cast<HostPageWindow*>(page)->addWidget(this, kind_, label);
}

std::string HostWidget::key() {
  std::lock_guard<std::mutex> guard(mutex_);
  return key_;
}

std::string HostWidget::dependency() {
  std::lock_guard<std::mutex> guard(mutex_);
  return dependency_;
}

bool HostWidget::active() {
  std::lock_guard<std::mutex> guard(mutex_);
  return active_;
}

bool HostWidget::length() {
  std::lock_guard<std::mutex> guard(mutex_);
  return length_;
}

std::optional<double> HostWidget::shown() {
  if (!active()) return std::nullopt;
  return stored();
}

double HostWidget::stored() {
  std::string bound = key();
  if (std::strcmp(kind_, HostToggleWidget::kKind) == 0) return store_.getInt(bound.c_str(), 0);
  return store_.getDouble(bound.c_str(), 0);
}

bool HostWidget::change(double value) {
  std::string bound = key();
  if (!active() || bound.empty()) return false;
  if (std::strcmp(kind_, HostToggleWidget::kKind) == 0)
    return store_.setInt(nullptr, bound.c_str(), static_cast<int32_t>(value));
  return store_.setDouble(nullptr, bound.c_str(), value);
}

bool HostToggleWidget::buildInDialog(IGuiDialog* dialog, const ZelString& label) {
  if (!dialog) return false;
  int32_t id = dialog->reserveControlIds(1);
  dialog->beginReceiver(this);
  bool added = dialog->addControl(id, "check", label);
  dialog->endReceiver();
  if (!added) return false;
  dialog_ = dialog;
  controlId_ = id;
  activate();
  showInDialog();
  return true;
}

void HostToggleWidget::showInDialog() {
  if (IGuiDialog* dialog = dialog_) dialog->setControlValue(controlId_, shown().value_or(0));
}

void HostToggleWidget::onGuiEvent(int32_t id, int32_t) {
  if (id != controlId_) return;
  change(state() ? 0 : 1);
  showInDialog();
}

void HostToggleWidget::onGuiValueChanged(int32_t id, int32_t value) {
  if (id != controlId_) return;
  change(value);
  showInDialog();
}

void HostToggleWidget::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelToggleWidget*>(this))
      .offer<IZelToggleWidget>(this)
      .offer<IZelBoundWidget>(this)
      .offer<HostWidget>(this)
      .end();
}

void HostFloatWidget::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelFloatWidget*>(this))
      .offer<IZelFloatWidget>(this)
      .offer<IZelBoundWidget>(this)
      .offer<HostWidget>(this)
      .end();
}
