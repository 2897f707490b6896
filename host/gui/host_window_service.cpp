#include "host/gui/host_window_service.h"

#include "framework/object/query_chain.h"

IGuiTileWindow* HostWindowService::createWindow(IZelTile* tile, const char* name, int32_t) {
  if (!tile || !name) return nullptr;
  IPtr<HostTileWindow> made(new HostTileWindow);
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
