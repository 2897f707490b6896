#pragma once

// The stand-in host's plug-in handler (the service "IZelPluginHandler"): the device plug-ins it has loaded,
// in load order. The stand-in host loads no libraries of its own: tests and scripts load plug-in objects
// through registerPlugin, as the module does with its emulator. The handler holds a reference on each plug-in
// until the host ends. Safe on any thread; no plug-in is called while the lock is held.

#include <mutex>
#include <vector>

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host_api/plugin_handler.h"

class HostPluginHandler : public IZelPluginHandler, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostPluginHandler";

  void getPlugins(ZelCountedArray<IZelPlugin*>& list) override;
  bool registerPlugin(IZelUnknown* plugin) override;

  // Host side: the loaded plug-ins' IZelUnknown parts, in load order.
  std::vector<IZelUnknown*> plugins();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  struct Loaded {
    IPtr<IZelUnknown> object;
    IZelPlugin* plugin = nullptr;  // the object's "IZelPlugin" part
  };

  std::mutex mutex_;
  std::vector<Loaded> loaded_;  // guarded by mutex_, in load order
};
