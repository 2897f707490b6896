#include "commands/features/hard_probe_feature_collector.h"

#include "devices/registry/izel_plugin_service.h"
#include "framework/memory/assertion.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "framework/subject/event_name.h"

namespace {

const ClassRegistration<HardProbeFeatureCollector> registration(registeredClass("HardProbeFeatureCollector"));

}  // namespace

HardProbeFeatureCollector::~HardProbeFeatureCollector() {
  listen(false);
}

void HardProbeFeatureCollector::listen(bool on) {
  auto* subject = queryPart<IZelSubject>(collector_.get());
  if (!subject || on == listening_) return;
  if (on) {
    subject->attach(this);
  } else {
    subject->detach(this);
  }
  listening_ = on;
}

void HardProbeFeatureCollector::setCollector(IZelFeatureCollector* collector) {
  if (collector == collector_.get()) return;
  listen(false);
  // The old collector must not go on taking the device's points during a pass.
  releaseReceiver();
  collector_ = collector;
}

bool HardProbeFeatureCollector::start() {
  if (!collector_) return false;
  collector_->refreshInfo();
  SPtr<IZelPluginService> devices;
  device_ = devices ? devices->getDevice(ZelCString("HardProbe")) : nullptr;
  auto* receiver = queryPart<IZelPluginDataReceiver>(collector_.get());
  if (!device_ || !receiver) return false;
  // Listening only once the device takes the collector: a failed start leaves nothing behind.
  releaseReceiver();
  device_->addReceiver(receiver);
  receiver_ = receiver;
  if (!device_->startAcquisition()) {
    releaseReceiver();
    return false;
  }
  listen(true);
  return true;
}

void HardProbeFeatureCollector::releaseReceiver() {
  if (device_ && receiver_) device_->removeReceiver(receiver_.get());
  receiver_.release();
}

void HardProbeFeatureCollector::stop() {
  if (!device_) {
    reportAssertion("device_", "hardprobefeaturecollector", __LINE__);
    return;
  }
  releaseReceiver();
  device_->stopAcquisition();
}

void HardProbeFeatureCollector::onNotify(const char* event, IZelSubject* subject, void*) {
  // A listener may let go of this object, or give it another collector, inside the notifications below.
  IPtr<HardProbeFeatureCollector> self(this);
  IPtr<IZelFeatureCollector> collector = collector_;
  if (!subject || subject != queryPart<IZelSubject>(collector.get())) return;
  if (isEvent(event, "Stop")) {
    onStop();
  } else if (isEvent(event, "UserInstructionsChanged")) {
    notify(event, nullptr);
  } else if (isEvent(event, "Error") || isEvent(event, "Cancel")) {
    stop();
    collector->reset();
    notify(event, nullptr);
  } else if (isEvent(event, "DeleteLastFeature")) {
    notify(event, nullptr);
    collector->publishTileInfo();
  }
}

void HardProbeFeatureCollector::onStop() {
  IPtr<IZelFeatureCollector> collector = collector_;
  if (!collector->fillCreatorParameters()) {
    stop();
    notify("Stop", nullptr);
    return;
  }
  collector->publishTileInfo();
  feature_ = collector->takeFeature();
  if (feature_) {
    notify("NewFeature", nullptr);
    feature_.release();
  }
  collector->reset();
  collector->refreshInfo();
}

void HardProbeFeatureCollector::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, this, static_cast<IZelListener*>(this))
      .offer<IZelHardProbeFeatureCollector>(this)
      .offer<IZelListener>(this);
  querySubjectChain(chain);
  chain.end();
}
