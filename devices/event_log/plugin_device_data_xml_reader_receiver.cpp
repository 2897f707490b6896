#include "devices/event_log/plugin_device_data_xml_reader_receiver.h"

#include "framework/object/query_chain.h"

void PluginDeviceDataXMLReader::Receiver::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelPluginDataReceiver>(this)
      .offer<IZelHardProbeDataReceiver>(this)
      .offer<IZelHardProbeDataReceiverV2>(this)
      .offer<IZelHardProbeContinuousDataReceiver>(this)
      .offer<IZelLaserScanDataReceiver>(this)
      .end();
}
