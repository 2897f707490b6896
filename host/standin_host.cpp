#include "host/standin_host.h"

#include "framework/object/module_id.h"

StandinHost::StandinHost()
    : root_(new HostRoot),
      assertions_(new RecordingAssertHandler),
      errors_(new RecordingErrorService),
      translator_(new TableTranslator),
      translatorService_(new TranslatorService),
      strSupport_(new HostStrSupport),
      memoryManager_(new HostMemoryManager),
      pool_(new BucketMemoryPool) {
  translatorService_->setTranslator(moduleId(), translator_.get());
  enableAssertHandler(true);
  root_->setService(IZelErrorService::interfaceName, errors_.get());
}

StandinHost::~StandinHost() {
  root_->setComponent(nullptr);
  for (Optional service : {Optional::kBucketMemoryPool, Optional::kStrSupport, Optional::kMemoryManager,
                           Optional::kTranslatorService}) {
    enable(service, false);
  }
  root_->setService(IZelErrorService::interfaceName, nullptr);
  enableAssertHandler(false);
}

void StandinHost::enable(Optional service, bool on) {
  switch (service) {
    case Optional::kBucketMemoryPool:
      root_->setService(IBucketMemoryPool::interfaceName, on ? pool_.get() : nullptr);
      break;
    case Optional::kStrSupport:
      root_->setService(IZelStrSupport::interfaceName, on ? strSupport_.get() : nullptr);
      break;
    case Optional::kMemoryManager:
      root_->setService(ZelMM::IZelMManager::interfaceName, on ? memoryManager_.get() : nullptr);
      break;
    case Optional::kTranslatorService:
      root_->setService(IZelTranslatorService::interfaceName, on ? translatorService_.get() : nullptr);
      break;
  }
}

void StandinHost::enableAssertHandler(bool on) {
  root_->setService(IZelAssertHandlerCB::interfaceName, on ? assertions_.get() : nullptr);
}

void StandinHost::attach(IZelComponent* component) {
  root_->setComponent(component);
  component->initialise(root_.get());
}
