#include "host/core/core_family.h"

#include "framework/object/module_id.h"
#include "host/core/host_data_event.h"
#include "host/core/host_settings.h"
#include "host/core/xml_dom.h"
#include "host_api/host_class_ids.h"

CoreFamily::CoreFamily()
    : root_(new HostRoot),
      assertions_(new RecordingAssertHandler),
      errors_(new RecordingErrorService),
      translator_(new TableTranslator),
      translatorService_(new TranslatorService),
      strSupport_(new HostStrSupport),
      memoryManager_(new HostMemoryManager),
      pool_(new BucketMemoryPool),
      memChecker_(new HostMemChecker),
      dataStore_(new HostDataStore),
      mainLoop_(new HostMainLoop(dataStore_.get())),
      units_(new HostUnitService),
      dirService_(new HostDirService),
      random_(new HostRandom),
      counters_(new HostCounterStore),
      shutdownService_(new HostShutdownService),
      scriptFactory_(new HostScriptFactory) {
  translatorService_->setTranslator(moduleId(), translator_.get());
  registerHostSettings(*dataStore_);
}

std::vector<ServiceFamily::SharedService> CoreFamily::sharedServices() const {
  return {
      {IZelErrorService::interfaceName, errors_.get()},
      {IDataStore::interfaceName, dataStore_.get()},
      {IUnitService::interfaceName, units_.get()},
      {IMainApplication::interfaceName, mainLoop_.get()},
      {IEventService::interfaceName, mainLoop_.get()},
      {IZelRandom::interfaceName, random_.get()},
      {ICounterStore::interfaceName, counters_.get()},
      {IShutdownService::interfaceName, shutdownService_.get()},
      {IScriptFactory::interfaceName, scriptFactory_.get()},
      {Corvane::IZelRegistry::interfaceName, &root_->registry()},
  };
}

std::vector<ServiceFamily::HostClass> CoreFamily::hostClasses() const {
  return {
      hostClassOf<XmlDomDocument>(kHostXmlDocumentClassId,
                                  {IZelDOMXml::interfaceName, IZelDOMXmlV2::interfaceName}),
      hostClassOf<HostDataEvent>(kHostDataEventClassId, {IZelDataEvent::interfaceName}),
  };
}

void CoreFamily::enable(Optional service, bool on) {
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

void CoreFamily::enableAssertHandler(bool on) {
  root_->setService(IZelAssertHandlerCB::interfaceName, on ? assertions_.get() : nullptr);
}

void CoreFamily::enableDirService(bool on) {
  root_->setService(IZelDirService::interfaceName, on ? dirService_.get() : nullptr);
}
