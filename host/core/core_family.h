#pragma once

// The host's core: the root every service is found on, the error and assertion services, the data store and
// its main loop, the units, random numbers, counters, the shutdown service and the script factory, with fresh
// XML documents and data events. The services a host may lack (a shared pool, string support, the memory
// manager, the translator service, the memory checker) start switched off; the assertion handler and the
// directory service start on; each can be switched.
//
// The thread that makes the core is the host's main thread: the main loop delivers there only.

#include "framework/memory/bucket_memory_pool.h"
#include "framework/object/iptr.h"
#include "host/core/host_counter_store.h"
#include "host/core/host_data_store.h"
#include "host/core/host_dir_service.h"
#include "host/core/host_main_loop.h"
#include "host/core/host_mem_checker.h"
#include "host/core/host_memory_manager.h"
#include "host/core/host_random.h"
#include "host/core/host_root.h"
#include "host/core/host_script_factory.h"
#include "host/core/host_shutdown_service.h"
#include "host/core/host_str_support.h"
#include "host/core/host_unit_service.h"
#include "host/core/recording_assert_handler.h"
#include "host/core/recording_error_service.h"
#include "host/core/service_family.h"
#include "host/core/table_translator.h"

class CoreFamily : public ServiceFamily {
 public:
  enum class Optional { kBucketMemoryPool, kStrSupport, kMemoryManager, kTranslatorService, kMemChecker };
  static constexpr Optional kOptionals[] = {Optional::kBucketMemoryPool, Optional::kStrSupport,
                                            Optional::kMemoryManager, Optional::kTranslatorService,
                                            Optional::kMemChecker};

  CoreFamily();

  HostRoot& root() { return *root_; }
  RecordingAssertHandler& assertions() { return *assertions_; }
  RecordingErrorService& errors() { return *errors_; }
  // The translator the translator service gives the module.
  TableTranslator& translator() { return *translator_; }
  TranslatorService& translatorService() { return *translatorService_; }
  HostStrSupport& strSupport() { return *strSupport_; }
  HostMemoryManager& memoryManager() { return *memoryManager_; }
  BucketMemoryPool& pool() { return *pool_; }
  HostMemChecker& memChecker() { return *memChecker_; }
  HostDataStore& dataStore() { return *dataStore_; }
  HostMainLoop& mainLoop() { return *mainLoop_; }
  HostUnitService& units() { return *units_; }
  HostDirService& dirService() { return *dirService_; }
  HostRandom& random() { return *random_; }
  HostCounterStore& counters() { return *counters_; }
  HostShutdownService& shutdownService() { return *shutdownService_; }
  HostScriptFactory& scriptFactory() { return *scriptFactory_; }

  std::vector<SharedService> sharedServices() const override;
  std::vector<HostClass> hostClasses() const override;

  void enable(Optional service, bool on);
  // Without an assertion handler a failed assertion ends the process, as it does under a real host.
  void enableAssertHandler(bool on);
  // A host without directories gives the module no temporary directory.
  void enableDirService(bool on);

 private:
  IPtr<HostRoot> root_;
  IPtr<RecordingAssertHandler> assertions_;
  IPtr<RecordingErrorService> errors_;
  IPtr<TableTranslator> translator_;
  IPtr<TranslatorService> translatorService_;
  IPtr<HostStrSupport> strSupport_;
  IPtr<HostMemoryManager> memoryManager_;
  IPtr<BucketMemoryPool> pool_;
  IPtr<HostMemChecker> memChecker_;
  IPtr<HostDataStore> dataStore_;
  IPtr<HostMainLoop> mainLoop_;
  IPtr<HostUnitService> units_;
  IPtr<HostDirService> dirService_;
  IPtr<HostRandom> random_;
  IPtr<HostCounterStore> counters_;
  IPtr<HostShutdownService> shutdownService_;
  IPtr<HostScriptFactory> scriptFactory_;
};
