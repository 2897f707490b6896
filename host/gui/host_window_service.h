#pragma once

// The stand-in host's window service (the service "IGuiWin"): tile windows and options pages by name, each
// with the tile it was made for. Tests and scripts find a window by its tile's name and have the tile build
// it, as the host does when it first shows a tile. Safe on any thread; the tile is called outside the lock.

#include <map>
#include <mutex>
#include <string>

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host/gui/host_page_window.h"
#include "host/gui/host_tile_window.h"
#include "host_api/gui_tile.h"

class HostWindowService : public IGuiWin, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostWindowService";

  IGuiTileWindow* createWindow(IZelTile* tile, const char* name, int32_t style) override;
  bool dropWindow(const char* name) override;
  IGuiTileWindow* createPage(IZelTile* page, const char* pageName) override;
  bool destroyPage(const char* pageName) override { return dropWindow(pageName); }

  // Host side: the window made under name, or null; it stays alive while the caller holds the answer.
  IPtr<HostTileWindow> window(const std::string& name);
  // The options page made under pageName, or null.
  IPtr<HostPageWindow> page(const std::string& pageName);
  // Has the tile of that window build its controls; false without such a window or when the tile refuses.
  bool build(const std::string& name);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  struct Entry {
    IPtr<HostTileWindow> window;
    IZelTile* tile;  // held without a reference
  };

  IGuiTileWindow* add(IZelTile* tile, const char* name, IPtr<HostTileWindow> made);

  std::mutex mutex_;
  std::map<std::string, Entry> windows_;  // guarded by mutex_
};
