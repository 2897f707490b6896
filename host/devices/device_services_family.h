#pragma once

// The host services the device layer reaches: the plug-in handler, the log of the user's work and the
// replayer that plays such a log back. Its registry entries name the module's own services, which the root
// answers by name (those of the device side, and the tile facade and probe graphics the commands ask for by
// name), and the module's transform-file reader.

#include "framework/object/iptr.h"
#include "host/core/service_family.h"
#include "host/devices/host_gui_logger.h"
#include "host/devices/host_log_replayer.h"
#include "host/devices/host_plugin_handler.h"

class DeviceServicesFamily : public ServiceFamily {
 public:
  // The logger tells the user through errors, which outlives the family.
  explicit DeviceServicesFamily(IZelErrorService& errors);

  HostPluginHandler& pluginHandler() { return *pluginHandler_; }
  HostGuiLogger& logger() { return *logger_; }
  HostLogReplayer& replayer() { return *replayer_; }

  std::vector<SharedService> sharedServices() const override;
  std::vector<RegistryEntry> registryEntries() const override;

 private:
  IPtr<HostPluginHandler> pluginHandler_;
  IPtr<HostGuiLogger> logger_;
  IPtr<HostLogReplayer> replayer_;
};
