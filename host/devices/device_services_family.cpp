#include "host/devices/device_services_family.h"

DeviceServicesFamily::DeviceServicesFamily()
    : pluginHandler_(new HostPluginHandler), logger_(new HostGuiLogger), replayer_(new HostLogReplayer) {}

std::vector<ServiceFamily::SharedService> DeviceServicesFamily::sharedServices() const {
  return {
      {IZelPluginHandler::interfaceName, pluginHandler_.get()},
      {IGuiLogger::interfaceName, logger_.get()},
      {ILogReplayer::interfaceName, replayer_.get()},
  };
}
