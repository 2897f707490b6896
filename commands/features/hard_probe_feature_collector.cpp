#include "commands/features/hard_probe_feature_collector.h"

#include "commands/features/hard_probe_data_receiver.h"

#include "devices/registry/izel_plugin_service.h"
#include "framework/memory/assertion.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "framework/subject/event_name.h"

namespace {

const ClassRegistration<HardProbeFeatureCollector> registration(registeredClass("HardProbeFeatureCollector"));

using Relay = HardProbeCreateFeaturesUtil::HardProbeDataReceiver;

}  // namespace

HardProbeFeatureCollector::~HardProbeFeatureCollector() {
  releaseRelay();
}

void HardProbeFeatureCollector::setCollector(IZelFeatureCollector* collector) {
  if (collector == collector_.get()) return;
  // The old collector must not go on taking the device's points during a pass.
  releaseRelay();
  collector_ = collector;
}

bool HardProbeFeatureCollector::start() {
  if (!collector_) return false;
  collector_->refreshInfo();
  SPtr<IZelPluginService> devices;
  device_ = devices ? devices->getDevice(ZelCString("HardProbe")) : nullptr;
  if (!device_ || !queryPart<IZelHardProbeDataReceiver>(collector_.get())) return false;
  releaseRelay();
  relay_ = IPtr<IZelHardProbeDataReceiverV2>(new Relay(collector_.get(), nullptr));
  device_->addReceiver(relay_.get());
  // Hearing the relay only once the device takes it: a failed start leaves nothing behind.
  if (!device_->startAcquisition()) {
    releaseRelay();
    return false;
  }
  queryPart<IZelSubject>(relay_.get())->attach(this);
  return true;
}

void HardProbeFeatureCollector::releaseRelay() {
  const IPtr<IZelHardProbeDataReceiverV2> relay = std::move(relay_);
  if (!relay) return;
  if (auto* subject = queryPart<IZelSubject>(relay.get())) subject->detach(this);
  if (device_) device_->removeReceiver(relay.get());
}

void HardProbeFeatureCollector::stop() {
  if (!device_) {
    reportAssertion("device_", "hardprobefeaturecollector", __LINE__);
    return;
  }
  releaseRelay();
  device_->stopAcquisition();
}

void HardProbeFeatureCollector::onNotify(const char* event, IZelSubject* subject, void* data) {
  // A listener may let go of this object, or give it another collector, inside the notifications below.
  IPtr<HardProbeFeatureCollector> self(this);
  if (!subject || subject != queryPart<IZelSubject>(relay_.get())) return;
  if (isEvent(event, "NewFeature")) {
    announceFeature();
  } else if (isEvent(event, "FeatureRefused")) {
    notify(event, data);
  } else if (isEvent(event, "Stop") || isEvent(event, "Error") || isEvent(event, "Cancel")) {
    stop();
    notify(event, nullptr);
  } else if (isEvent(event, "UserInstructionsChanged") || isEvent(event, "DeleteLastFeature")) {
    notify(event, nullptr);
  }
}

void HardProbeFeatureCollector::announceFeature() {
  feature_ = collector_ ? collector_->takeFeature() : IPtr<IZelFeature>();
  if (!feature_) return;
  notify("NewFeature", nullptr);
  feature_.release();
}

void HardProbeFeatureCollector::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, this, static_cast<IZelListener*>(this))
      .offer<IZelHardProbeFeatureCollector>(this)
      .offer<IZelListener>(this);
  querySubjectChain(chain);
  chain.end();
}
