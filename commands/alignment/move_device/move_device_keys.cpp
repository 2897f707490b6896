#include "commands/alignment/move_device/move_device_keys.h"

namespace move_device_keys {

std::string group(const ZelString& pluginName, IDataStore* store) {
  const std::string plugins = "Plugins";
  const std::string plugin = plugins + "/" + pluginName.toNarrow();
  const std::string widget = plugin + "/MoveDeviceWidget";
  if (store) {
    // The store keeps an item only under a registered group; registering one again changes nothing.
    for (const std::string& each : {plugins, plugin, widget}) store->addGroup(each.c_str());
  }
  return widget;
}

}  // namespace move_device_keys
