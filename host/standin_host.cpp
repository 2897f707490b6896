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
      pool_(new BucketMemoryPool),
      dirService_(new HostDirService),
      dataStore_(new HostDataStore),
      memChecker_(new HostMemChecker) {
  translatorService_->setTranslator(moduleId(), translator_.get());
  enableAssertHandler(true);
  enableDirService(true);
  root_->setService(IZelErrorService::interfaceName, errors_.get());
  root_->setService(IDataStore::interfaceName, dataStore_.get());
}

StandinHost::~StandinHost() {
  root_->setComponent(nullptr);
  for (Optional service : {Optional::kBucketMemoryPool, Optional::kStrSupport, Optional::kMemoryManager,
                           Optional::kTranslatorService, Optional::kMemChecker}) {
    enable(service, false);
  }
  enableDirService(false);
  root_->setService(IZelErrorService::interfaceName, nullptr);
  root_->setService(IDataStore::interfaceName, nullptr);
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
    case Optional::kMemChecker:
      root_->setService(IMemChecker::interfaceName, on ? memChecker_.get() : nullptr);
      break;
  }
}

void StandinHost::enableAssertHandler(bool on) {
  root_->setService(IZelAssertHandlerCB::interfaceName, on ? assertions_.get() : nullptr);
}

void StandinHost::enableDirService(bool on) {
  root_->setService(IZelDirService::interfaceName, on ? dirService_.get() : nullptr);
}

void StandinHost::attach(IZelComponent* component) {
  root_->setComponent(component);
  component->initialise(root_.get());
}
