#pragma once

// The plug-in registry: one shared object holding a reference on each registered manager and device. At the
// host's shutdown, and again when it is destroyed, it stops acquisition on every device, in name order; the
// entries stay until it is destroyed. Main thread only: the maps have no lock.

#include <map>
#include <string>
#include <vector>

#include "devices/contracts/plugin_device.h"
#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/shutdown.h"

class PluginService : public IZelPluginService, public IShutdownListener, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PluginService";

  PluginService() = default;
  PluginService(const PluginService&) = delete;
  PluginService& operator=(const PluginService&) = delete;
  ~PluginService() override;

  void setManager(const ZelCString& name, IZelPluginManager* manager) override;
  IZelPluginManager* getManager(const ZelCString& name) override;
  void setDevice(const ZelCString& name, IZelPluginDevice* device) override;
  IZelPluginDevice* getDevice(const ZelCString& name) override;

  void onShutdown() override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  void stopAllDevices();

  // std::string orders by unsigned bytes, as strcmp does: "HardProbe", "HardProbeContinuous", "LaserScan".
  std::map<std::string, IPtr<IZelPluginManager>> managers_;
  std::map<std::string, IPtr<IZelPluginDevice>> devices_;
};
