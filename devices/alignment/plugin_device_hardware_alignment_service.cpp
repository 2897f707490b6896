#include "devices/alignment/plugin_device_hardware_alignment_service.h"

#include <cstring>

#include "basic_types/transform_checks.h"
#include "devices/alignment/rigid_transform_rule.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"

namespace {
const ClassRegistration<PluginDeviceHardwareAlignmentService> registration(
    registeredClass("PluginDeviceHardwareAlignmentService"));
constexpr const char* kDocumentReset = "Document/Reset";
}  // namespace

PluginDeviceHardwareAlignmentService::PluginDeviceHardwareAlignmentService()
    : stored_("Palpera/Alignment/Hardware Alignment", "Palpera/Alignment/LoadHardwareTransformation",
              whyNoProperRigid) {
  stored_.reset(dataStore_.get());
  if (events_) events_->addListener(kDocumentReset, this);
}

PluginDeviceHardwareAlignmentService::~PluginDeviceHardwareAlignmentService() {
  if (events_) events_->removeListener(kDocumentReset, this);
}

void PluginDeviceHardwareAlignmentService::reset() {
  stored_.reset(dataStore_.get());
}

void PluginDeviceHardwareAlignmentService::setMatrix(const Matrix4x4& matrix, bool store) {
  if (!acceptHardwareMatrix(matrix)) return;
  stored_.matrix() = matrix;
  if (store) this->store();
}

void PluginDeviceHardwareAlignmentService::loadStored() {
  stored_.loadStored(dataStore_.get());
}

void PluginDeviceHardwareAlignmentService::store() {
  stored_.store(dataStore_.get(), nullptr);
}

bool PluginDeviceHardwareAlignmentService::onNotify(const char* key) {
  if (!key || std::strcmp(key, kDocumentReset) != 0) return false;
  reset();
  return true;
}

void PluginDeviceHardwareAlignmentService::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelUnknown*>(this))
      .offer<IZelPluginDeviceHardwareAlignmentService>(this)
      .end();
}
