#pragma once

// The adapter a reader replays into: it forwards every receiver call to the one device receiver it was made
// for (see ReceiverForwarder), and answers to the names of all three receiver kinds, so that one reader
// serves the single-point, the continuous and the laser-scan device alike.

#include "devices/event_log/plugin_device_data_xml_reader.h"
#include "devices/plugins/receiver_forwarder.h"

class PluginDeviceDataXMLReader::Receiver : public ReceiverForwarder, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PluginDeviceDataXMLReader::Receiver";

  using ReceiverForwarder::ReceiverForwarder;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
