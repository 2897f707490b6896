#include "framework/component/zel_base_component.h"

#include <atomic>
#include <cstring>
#include <vector>

#include "framework/component/zel_default_class_factory.h"
#include "framework/object/host_root.h"
#include "framework/object/iptr.h"
#include "framework/object/module_id.h"
#include "host_api/zel_error_service.h"

namespace {

// Makes selfTest ignore a re-entrant call on the same thread.
std::atomic<bool> selfTestRunning{false};

// The module registers no self-test; the list stays empty.
std::vector<void*>& selfTests() {
  static std::vector<void*> tests;
  return tests;
}

void reportToErrorService(IZelErrorService* service, const ZelString& message) {
  if (service) service->report(message, 1, emptyZelCString());
}

}  // namespace

void ZelBaseComponent::initialise(IZelRoot* root) {
  setHostRoot(root);
}

uint32_t ZelBaseComponent::createInstance(const ZelID* classId, IZelUnknown** out) {
  ZelDefaultClassFactory* factory = getClassFactory();
  if (!factory) {
    *out = nullptr;
    return 0;
  }
  return factory->createInstance(classId, out);
}

const ZelID* ZelBaseComponent::moduleId() {
  return &::moduleId();
}

uint32_t ZelBaseComponent::classCount() {
  return getClassFactory() ? getClassFactory()->count() : 0;
}

bool ZelBaseComponent::firstClassId(ZelID* out) {
  return getClassFactory() && getClassFactory()->firstId(out);
}

bool ZelBaseComponent::nextClassId(ZelID* out) {
  return getClassFactory() && getClassFactory()->nextId(out);
}

const char* ZelBaseComponent::className(const ZelID* classId) {
  return getClassFactory() ? getClassFactory()->className(classId) : nullptr;
}

void ZelBaseComponent::selfTest(IZelSelfTestService* testService) {
  if (selfTestRunning.exchange(true)) return;
  if (testService) {
    for (void* entry : selfTests()) testService->runTest(entry);
    selfTestRunning = false;
    return;
  }
  IPtr<IZelErrorService> errors;
  errors.getService();
  reportToErrorService(errors.get(), ZelString("Unable to get test service"));
  // The root's status is read only when there is a root to read it from.
  if (IZelRoot* root = hostRoot()) {
    reportToErrorService(errors.get(), ZelString(static_cast<char>(root->status() & 0xFF)));
  }
  selfTestRunning = false;
}

void ZelBaseComponent::queryInterface(const char* name, void** out, bool) {
  if (!name) return;
  *out = nullptr;
  if (std::strcmp(name, interfaceName) == 0 || std::strcmp(name, IZelComponent::interfaceName) == 0) {
    *out = static_cast<IZelComponent*>(this);
  } else if (std::strcmp(name, IZelUnknown::interfaceName) == 0) {
    *out = static_cast<IZelUnknown*>(this);
  } else if (std::strcmp(name, IZelCompInternal::interfaceName) == 0) {
    *out = static_cast<IZelCompInternal*>(this);
  }
}

IZelComponent* ZelBaseComponentFact::createComponent() {
  return new ZelBaseComponent;
}
