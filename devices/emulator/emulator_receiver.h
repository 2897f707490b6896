#pragma once

// The receiver adapter of one emulation run: every receiver call of the hard-probe kinds, forwarded to the
// one device receiver the run was handed (single-point or continuous). Lives for its run; the target is not
// counted, since the device's callback outlives the plug-in's run.

#include "devices/emulator/emulator_plugin.h"
#include "devices/plugins/receiver_forwarder.h"
#include "framework/object/zel_unknown_impl.h"

class EmulatorPlugin::Receiver : public ReceiverForwarder, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "Receiver";

  using ReceiverForwarder::ReceiverForwarder;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
