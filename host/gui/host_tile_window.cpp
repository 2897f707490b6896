#include "host/gui/host_tile_window.h"

#include "framework/object/query_chain.h"

bool HostTileWindow::addControl(int32_t id, const char* kind, const ZelString& name) {
  DialogControl control;
  control.kind = kind ? kind : "";
  control.name = name.c_str();
  return controls_.add(id, std::move(control));
}

void HostTileWindow::setControlFont(int32_t id, const ZelString& family, int32_t size) {
  if (!controls_.control(id)) {
    controls_.countStrayCall();
    return;
  }
  std::lock_guard<std::mutex> guard(mutex_);
  fonts_[id] = {family.c_str(), size};
}

void HostTileWindow::registerPictureMode(int32_t mode, const char* iconName) {
  controls_.registerPicture(mode, iconName ? iconName : "");
}

void HostTileWindow::setPictureMode(int32_t id, int32_t mode) {
  controls_.setImage(id, nullptr);
  controls_.setValue(id, mode);
}

void HostTileWindow::setPicture(int32_t id, IZelImage* image) {
  controls_.setImage(id, image);
  controls_.setValue(id, kOwnImage);
}

void HostTileWindow::layout() {
  std::lock_guard<std::mutex> guard(mutex_);
  ++layouts_;
}

void HostTileWindow::setReceiver(IGuiReceiver* receiver) {
  std::lock_guard<std::mutex> guard(mutex_);
  receiver_ = receiver;
}

HostTileWindow::Font HostTileWindow::font(int32_t id) {
  std::lock_guard<std::mutex> guard(mutex_);
  auto found = fonts_.find(id);
  return found == fonts_.end() ? Font() : found->second;
}

int32_t HostTileWindow::layouts() {
  std::lock_guard<std::mutex> guard(mutex_);
  return layouts_;
}

IGuiReceiver* HostTileWindow::receiver() {
  std::lock_guard<std::mutex> guard(mutex_);
  return receiver_;
}

void HostTileWindow::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGuiTileWindow>(this).end();
}
