#pragma once

// The stand-in host: a real host of our own, with every service the module reaches through its root. The
// assertion handler, the error service, the data store, the default callback object, the renderer, the units,
// the document with its graphics, builder and remover, the point-array factory, the point objects, the simple
// dialog, the XML documents and the directory service are always there (a test withdraws one through
// root().setService); the services a host may lack (a shared pool, string support, the memory manager, the
// translator service, the memory checker) start switched off and can be switched on. The host also owns the
// dialog and the command container its commands run with.
//
// The device layer's services are always there too: the main loop ("IMainApplication", "IEventService", with
// fresh "IZelDataEvent"s), the document events ("IEventDataStore"), the view ("IGfxViewMgr", fresh
// "IZelMouseData" and "IZelKeyData"), the scene's node factory ("IZelNodeFactory") with fresh vertex arrays
// ("VertexArrayImp"), the graphics service ("IGenGfxService"), fresh pickers
// ("IZelPickOnModel"), random numbers ("IZelRandom"), the plug-in handler ("IZelPluginHandler"), the log
// ("IGuiLogger", "ILogReplayer"), the counters ("ICounterStore"), the user-interface refresh ("IUpdateGui")
// and the shutdown service ("IShutdownService"); so is the image store ("IImageStore") that takes the
// module's icons, with fresh dialog images ("IZelImage") and their PNG decoder ("IZelImageWriter").
//
// The thread that makes the host is its main thread: the main loop delivers there only.

#include <utility>
#include <vector>

#include "framework/memory/bucket_memory_pool.h"
#include "framework/object/iptr.h"
#include "host/api/zel_component.h"
#include "host/core/host_counter_store.h"
#include "host/core/host_data_store.h"
#include "host/core/host_dir_service.h"
#include "host/core/host_main_loop.h"
#include "host/core/host_mem_checker.h"
#include "host/core/host_memory_manager.h"
#include "host/core/host_random.h"
#include "host/core/host_root.h"
#include "host/core/host_shutdown_service.h"
#include "host/core/host_str_support.h"
#include "host/core/host_unit_service.h"
#include "host/core/recording_assert_handler.h"
#include "host/core/recording_error_service.h"
#include "host/core/table_translator.h"
#include "host/devices/host_gui_logger.h"
#include "host/devices/host_log_replayer.h"
#include "host/devices/host_plugin_handler.h"
#include "host/document/host_document.h"
#include "host/document/host_event_data_store.h"
#include "host/document/host_object_editors.h"
#include "host/document/host_real_parray.h"
#include "host/gui/host_command_container.h"
#include "host/gui/host_gui_dialog.h"
#include "host/gui/host_image.h"
#include "host/gui/host_image_store.h"
#include "host/gui/host_update_gui.h"
#include "host/gui/scripted_simple_dialog.h"
#include "host/scene/host_callback_object.h"
#include "host/scene/host_gen_gfx_service.h"
#include "host/scene/host_gfx_renderer.h"
#include "host/scene/host_gfx_view.h"
#include "host/scene/host_scene_nodes.h"

class StandinHost {
 public:
  enum class Optional { kBucketMemoryPool, kStrSupport, kMemoryManager, kTranslatorService, kMemChecker };

  StandinHost();
  StandinHost(const StandinHost&) = delete;
  StandinHost& operator=(const StandinHost&) = delete;
  ~StandinHost();

  HostRoot& root() { return *root_; }
  RecordingAssertHandler& assertions() { return *assertions_; }
  RecordingErrorService& errors() { return *errors_; }
  // The translator the translator service gives the module.
  TableTranslator& translator() { return *translator_; }
  HostMemoryManager& memoryManager() { return *memoryManager_; }
  BucketMemoryPool& pool() { return *pool_; }
  HostDataStore& dataStore() { return *dataStore_; }
  HostCallbackObject& callbacks() { return *callbacks_; }
  HostGfxRenderer& renderer() { return *renderer_; }
  HostUnitService& units() { return *units_; }
  HostDocument& document() { return *document_; }
  HostGuiDialog& dialog() { return *dialog_; }
  HostCommandContainer& commandContainer() { return *commandContainer_; }
  ScriptedSimpleDialog& simpleDialog() { return *simpleDialog_; }
  HostDirService& dirService() { return *dirService_; }
  HostMainLoop& mainLoop() { return *mainLoop_; }
  HostEventDataStore& eventDataStore() { return *eventDataStore_; }
  HostGfxViewMgr& view() { return *view_; }
  HostPluginHandler& pluginHandler() { return *pluginHandler_; }
  HostGuiLogger& logger() { return *logger_; }
  HostLogReplayer& replayer() { return *replayer_; }
  HostCounterStore& counters() { return *counters_; }
  HostUpdateGui& updateGui() { return *updateGui_; }
  HostImageStore& images() { return *images_; }
  HostImageWriter& imageWriter() { return *imageWriter_; }

  // Tells every shutdown listener, once, on the calling (main) thread; the host does so before it lets go of
  // the module. Answers how many were told.
  size_t shutdown() { return shutdownService_->shutdown(); }

  void enable(Optional service, bool on);
  // Without an assertion handler a failed assertion ends the process, as it does under a real host.
  void enableAssertHandler(bool on);
  // A host without directories gives the module no temporary directory.
  void enableDirService(bool on);

  // Lets the root create the component's classes and hands the component the root.
  void attach(IZelComponent* component);

 private:
  // The services offered for the host's whole life, by name.
  std::vector<std::pair<const char*, IZelUnknown*>> permanentServices() const;
  void serveModuleServices();
  // Services whose every lookup makes a new object: point values, point sets, XML documents, data events,
  // mouse and key data, pickers, vertex arrays and images.
  void offerFreshObjects(bool on);

  IPtr<HostRoot> root_;
  IPtr<RecordingAssertHandler> assertions_;
  IPtr<RecordingErrorService> errors_;
  IPtr<TableTranslator> translator_;
  IPtr<TranslatorService> translatorService_;
  IPtr<HostStrSupport> strSupport_;
  IPtr<HostMemoryManager> memoryManager_;
  IPtr<BucketMemoryPool> pool_;
  IPtr<HostDataStore> dataStore_;
  IPtr<HostCallbackObject> callbacks_;
  IPtr<HostGfxRenderer> renderer_;
  IPtr<HostUnitService> units_;
  IPtr<HostDocument> document_;
  IPtr<HostGfxDoc> graphicsDocument_;
  IPtr<HostObjectBuilder> builder_;
  IPtr<HostObjectRemover> remover_;
  IPtr<HostRealPArrayFactory> arrays_;
  IPtr<HostGuiDialog> dialog_;
  IPtr<HostCommandContainer> commandContainer_;
  IPtr<ScriptedSimpleDialog> simpleDialog_;
  IPtr<HostDirService> dirService_;
  IPtr<HostMemChecker> memChecker_;
  IPtr<HostMainLoop> mainLoop_;
  IPtr<HostEventDataStore> eventDataStore_;
  IPtr<HostGfxViewMgr> view_;
  IPtr<HostNodeFactory> nodeFactory_;
  IPtr<HostGenGfxService> genGfx_;
  IPtr<HostRandom> random_;
  IPtr<HostPluginHandler> pluginHandler_;
  IPtr<HostGuiLogger> logger_;
  IPtr<HostLogReplayer> replayer_;
  IPtr<HostCounterStore> counters_;
  IPtr<HostUpdateGui> updateGui_;
  IPtr<HostImageStore> images_;
  IPtr<HostImageWriter> imageWriter_;
  IPtr<HostShutdownService> shutdownService_;
};
