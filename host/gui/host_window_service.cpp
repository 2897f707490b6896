#include "host/gui/host_window_service.h"

#include "framework/object/query_chain.h"

IGuiTileWindow* HostWindowService::createWindow(IZelTile* tile, const char* name, int32_t) {
  return add(tile, name, IPtr<HostTileWindow>(new HostTileWindow));
}

IGuiTileWindow* HostWindowService::createPage(IZelTile* page, const char* pageName) {
  return add(page, pageName, IPtr<HostTileWindow>(new HostPageWindow));
}

IGuiTileWindow* HostWindowService::add(IZelTile* tile, const char* name, IPtr<HostTileWindow> made) {
  if (!tile || !name) return nullptr;
  std::lock_guard<std::mutex> guard(mutex_);
  auto [entry, added] = windows_.try_emplace(name, Entry{made, tile});
  return added ? made.get() : nullptr;
}

bool HostWindowService::dropWindow(const char* name) {
  if (!name) return false;
  IPtr<HostTileWindow> dropped;  // let go of after the lock
  std::lock_guard<std::mutex> guard(mutex_);
  auto found = windows_.find(name);
  if (found == windows_.end()) return false;
  dropped = std::move(found->second.window);
  windows_.erase(found);
  return true;
}

IPtr<HostTileWindow> HostWindowService::window(const std::string& name) {
  std::lock_guard<std::mutex> guard(mutex_);
  auto found = windows_.find(name);
  return found == windows_.end() ? IPtr<HostTileWindow>() : found->second.window;
}

IPtr<HostPageWindow> HostWindowService::page(const std::string& pageName) {
  IPtr<HostTileWindow> made = window(pageName);
  return IPtr<HostPageWindow>(dynamic_cast<HostPageWindow*>(made.get()));
}

bool HostWindowService::build(const std::string& name) {
  IZelTile* tile = nullptr;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    auto found = windows_.find(name);
    if (found != windows_.end()) tile = found->second.tile;
  }
  return tile && tile->build();
}

void HostWindowService::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGuiWin>(this).end();
}
