#include "host/standin_host.h"

#include "framework/object/module_id.h"
#include "framework/registrations/registered_classes.h"
#include "host/host_point_objects.h"
#include "host/host_settings.h"
#include "host/xml_dom.h"

namespace {

// The services the module serves itself, each by the registered class that serves it. A real host learns
// them from its own registry; the stand-in knows them by name.
struct ModuleService {
  const char* interfaceName;
  const char* className;
};
constexpr ModuleService kModuleServices[] = {
    {"Materials::IZelMaterials", "ZelMaterials"},
};

}  // namespace

StandinHost::StandinHost()
    : root_(new HostRoot),
      assertions_(new RecordingAssertHandler),
      errors_(new RecordingErrorService),
      translator_(new TableTranslator),
      translatorService_(new TranslatorService),
      strSupport_(new HostStrSupport),
      memoryManager_(new HostMemoryManager),
      pool_(new BucketMemoryPool),
      dataStore_(new HostDataStore),
      callbacks_(new HostCallbackObject),
      renderer_(new HostGfxRenderer),
      units_(new HostUnitService),
      document_(new HostDocument),
      graphicsDocument_(new HostGfxDoc),
      builder_(new HostObjectBuilder(document_.get())),
      remover_(new HostObjectRemover(document_.get())),
      arrays_(new HostRealPArrayFactory),
      dialog_(new HostGuiDialog),
      commandContainer_(new HostCommandContainer),
      simpleDialog_(new ScriptedSimpleDialog),
      dirService_(new HostDirService),
      memChecker_(new HostMemChecker) {
  translatorService_->setTranslator(moduleId(), translator_.get());
  enableAssertHandler(true);
  for (const auto& [name, service] : permanentServices()) root_->setService(name, service);
  offerFreshObjects(true);
  enableDirService(true);
  registerHostSettings(*dataStore_);
  for (const ModuleService& service : kModuleServices) {
    root_->routeToModule(service.interfaceName, registeredClass(service.className).id);
  }
}

StandinHost::~StandinHost() {
  root_->setComponent(nullptr);
  for (Optional service : {Optional::kBucketMemoryPool, Optional::kStrSupport, Optional::kMemoryManager,
                           Optional::kTranslatorService, Optional::kMemChecker}) {
    enable(service, false);
  }
  offerFreshObjects(false);
  for (const auto& [name, service] : permanentServices()) root_->setService(name, nullptr);
  enableDirService(false);
  enableAssertHandler(false);
}

std::vector<std::pair<const char*, IZelUnknown*>> StandinHost::permanentServices() const {
  return {
      {IZelErrorService::interfaceName, errors_.get()},    {IDataStore::interfaceName, dataStore_.get()},
      {ICallbackObject::interfaceName, callbacks_.get()},  {IGfxRenderer::interfaceName, renderer_.get()},
      {IUnitService::interfaceName, units_.get()},         {IZelDoc::interfaceName, document_.get()},
      {IGfxDoc::interfaceName, graphicsDocument_.get()},   {IZelObjectBuilder::interfaceName, builder_.get()},
      {IZelObjectRemover::interfaceName, remover_.get()},  {IRealPArrayFactory::interfaceName, arrays_.get()},
      {IGuiSimpleDlg::interfaceName, simpleDialog_.get()},
  };
}

void StandinHost::offerFreshObjects(bool on) {
  // The module owns every point value and point set it asks for, and a worker thread never shares a document.
  auto offer = [this, on](const char* name, HostRoot::ServiceFactory factory) {
    root_->setServiceFactory(name, on ? std::move(factory) : nullptr);
  };
  offer(IZelPoints::interfaceName, [] { return static_cast<IZelUnknown*>(new HostPoints); });
  offer(IZelPoint::interfaceName, [] { return static_cast<IZelUnknown*>(new HostPoint); });
  offer(IZelDOMXml::interfaceName, [] { return static_cast<IZelUnknown*>(new XmlDomDocument); });
  offer(IZelDOMXmlV2::interfaceName, [] { return static_cast<IZelUnknown*>(new XmlDomDocument); });
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
