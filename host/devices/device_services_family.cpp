#include "host/devices/device_services_family.h"

#include "host_api/module_class_ids.h"
#include "host_api/registry_paths.h"

namespace {

std::string servicePath(const char* interfaceName) {
  return std::string(kServicesPath) + interfaceName;
}

}  // namespace

DeviceServicesFamily::DeviceServicesFamily(IZelErrorService& errors)
    : pluginHandler_(new HostPluginHandler),
      logger_(new HostGuiLogger(errors)),
      replayer_(new HostLogReplayer) {}

std::vector<ServiceFamily::SharedService> DeviceServicesFamily::sharedServices() const {
  return {
      {IZelPluginHandler::interfaceName, pluginHandler_.get()},
      {IGuiLogger::interfaceName, logger_.get()},
      {ILogReplayer::interfaceName, replayer_.get()},
  };
}

std::vector<ServiceFamily::RegistryEntry> DeviceServicesFamily::registryEntries() const {
  return {
      {servicePath("IZelPluginDeviceHardwareAlignmentService"), kHardwareAlignmentServiceClassId},
      {servicePath("IZelPluginDeviceObjectAlignmentService"), kObjectAlignmentServiceClassId},
      {servicePath("IZelPluginDeviceScaleAlignmentService"), kScaleAlignmentServiceClassId},
      {servicePath("Materials::IZelMaterials"), kMaterialsClassId},
      {servicePath("IZelPluginService"), kPluginServiceClassId},
      {servicePath("IZelPluginManagerLogRecordUtil"), kLogRecordUtilClassId},
      {servicePath("IZelPluginManagerLogReplayUtil"), kLogReplayUtilClassId},
      {servicePath("IZelHardProbeTile"), kHardProbeTileFacadeClassId},
      {servicePath("IZelHardProbeProbeGfx"), kHardProbeProbeGfxClassId},
      {servicePath("IZelHardProbeFeaturePicker"), kHardProbeFeaturePickerClassId},
      {servicePath("IZelHardProbeFeatureCollector"), kHardProbeFeatureCollectorClassId},
      {std::string(kTransformationFileReadersPath) + "/XALReader", kXalReaderClassId},
  };
}
