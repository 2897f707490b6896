#include "host/standin_host.h"

#include "framework/object/module_id.h"
#include "host/core/host_data_event.h"
#include "host/core/host_settings.h"
#include "host/core/xml_dom.h"
#include "host/core/zel_id_text.h"
#include "host/document/host_point_objects.h"
#include "host/scene/host_pick_on_model.h"
#include "host/scene/host_vertex_array.h"

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
      memChecker_(new HostMemChecker),
      mainLoop_(new HostMainLoop(dataStore_.get())),
      eventDataStore_(new HostEventDataStore),
      view_(new HostGfxViewMgr(callbacks_.get())),
      nodeFactory_(new HostNodeFactory),
      genGfx_(new HostGenGfxService),
      random_(new HostRandom),
      pluginHandler_(new HostPluginHandler),
      logger_(new HostGuiLogger),
      replayer_(new HostLogReplayer),
      counters_(new HostCounterStore),
      updateGui_(new HostUpdateGui),
      images_(new HostImageStore),
      imageWriter_(new HostImageWriter),
      shutdownService_(new HostShutdownService) {
  translatorService_->setTranslator(moduleId(), translator_.get());
  enableAssertHandler(true);
  for (const auto& [name, service] : permanentServices()) root_->setService(name, service);
  offerFreshObjects(true);
  enableDirService(true);
  registerHostSettings(*dataStore_);
  serveModuleServices();
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
      {IZelErrorService::interfaceName, errors_.get()},
      {IDataStore::interfaceName, dataStore_.get()},
      {ICallbackObject::interfaceName, callbacks_.get()},
      {IGfxRenderer::interfaceName, renderer_.get()},
      {IUnitService::interfaceName, units_.get()},
      {IZelDoc::interfaceName, document_.get()},
      {IGfxDoc::interfaceName, graphicsDocument_.get()},
      {IZelObjectBuilder::interfaceName, builder_.get()},
      {IZelObjectRemover::interfaceName, remover_.get()},
      {IRealPArrayFactory::interfaceName, arrays_.get()},
      {IGuiSimpleDlg::interfaceName, simpleDialog_.get()},
      {IMainApplication::interfaceName, mainLoop_.get()},
      {IEventService::interfaceName, mainLoop_.get()},
      {IEventDataStore::interfaceName, eventDataStore_.get()},
      {IGfxViewMgr::interfaceName, view_.get()},
      {IZelNodeFactory::interfaceName, nodeFactory_.get()},
      {IGenGfxService::interfaceName, genGfx_.get()},
      {IZelRandom::interfaceName, random_.get()},
      {IZelPluginHandler::interfaceName, pluginHandler_.get()},
      {IGuiLogger::interfaceName, logger_.get()},
      {ILogReplayer::interfaceName, replayer_.get()},
      {ICounterStore::interfaceName, counters_.get()},
      {IUpdateGui::interfaceName, updateGui_.get()},
      {IImageStore::interfaceName, images_.get()},
      {IZelImageWriter::interfaceName, imageWriter_.get()},
      {IShutdownService::interfaceName, shutdownService_.get()},
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
  offer(IZelDataEvent::interfaceName, [] { return static_cast<IZelUnknown*>(new HostDataEvent); });
  offer(IZelMouseData::interfaceName, [] { return static_cast<IZelUnknown*>(new HostMouseData); });
  offer(IZelKeyData::interfaceName, [] { return static_cast<IZelUnknown*>(new HostKeyData); });
  offer(IZelPickOnModel::interfaceName, [] { return static_cast<IZelUnknown*>(new HostPickOnModel); });
  offer(VertexArrayImp::interfaceName, [] { return static_cast<IZelUnknown*>(new HostVertexArray); });
  offer(IZelImage::interfaceName, [] { return static_cast<IZelUnknown*>(new HostImage); });
}

void StandinHost::serveModuleServices() {
  // The host's registry of the services the module implements, by the module's class ids.
  static constexpr std::pair<const char*, const char*> kModuleServices[] = {
      {"IZelPluginDeviceHardwareAlignmentService", "7c3966ab-c757-4788-bdbd-f639474b7928"},
      {"IZelPluginDeviceObjectAlignmentService", "56df55fe-bc59-479c-b4da-9bd6eeb693a9"},
      {"IZelPluginDeviceScaleAlignmentService", "bc1d2d2d-4ad1-4ac3-9c7e-ec0b54a80d6f"},
      {"Materials::IZelMaterials", "3bed067f-5cf6-4147-8b2f-32bda4b349bf"},
      {"IZelPluginService", "16942fa6-c94a-44fb-b05e-fae3edabb716"},
      {"IZelPluginManagerLogRecordUtil", "a6040466-b17a-4ed6-a5d9-9100a1fe1316"},
      {"IZelPluginManagerLogReplayUtil", "4ef0a1bf-13da-48e9-8ec5-8618e08e7877"},
  };
  for (const auto& [name, classId] : kModuleServices)
    root_->serveFromModule(name, idFromCanonicalText(classId));
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
