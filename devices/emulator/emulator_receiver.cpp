#include "devices/emulator/emulator_receiver.h"

#include "framework/object/query_chain.h"

void EmulatorPlugin::Receiver::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelHardProbeDataReceiver*>(this))
      .offer<IZelPluginDataReceiver>(this)
      .offer<IZelHardProbeDataReceiver>(this)
      .offer<IZelHardProbeDataReceiverV2>(this)
      .offer<IZelHardProbeContinuousDataReceiver>(this)
      .end();
}
