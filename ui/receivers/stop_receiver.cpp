#include "ui/receivers/stop_receiver.h"

#include <cstring>

#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"

namespace {

const ClassRegistration<StopReceiver> registration(registeredClass("StopReceiver"));

bool endsTheStep(const char* name) {
  return name && (std::strcmp(name, "Error") == 0 || std::strcmp(name, "Cancel") == 0);
}

}  // namespace

void StopReceiver::onPointStop(const Vector3&) {
  notify(kStopEvent, nullptr);
}

void StopReceiver::onCustomEvent(const ZelCString& name, IZelUnknown*) {
  if (endsTheStep(name.data())) onPointStop(Vector3());
}

void StopReceiver::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, this, static_cast<IZelSubject*>(this))
      .offer<IZelPluginDataReceiver>(this)
      .offer<IZelHardProbeDataReceiver>(this)
      .offer<IZelHardProbeDataReceiverV2>(this);
  querySubjectChain(chain);
}
