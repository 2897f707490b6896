#pragma once

// The stand-in host: a real host of our own, with every service the module reaches through its root. The
// assertion handler, the error service, the data store and the directory service are there from the start;
// the services a host may lack (a shared pool, string support, the memory manager, the translator service,
// the memory checker) start switched off and can be switched on. The binary streams of documents are host
// objects that tests make directly (host_binary_streams.h).

#include "framework/memory/bucket_memory_pool.h"
#include "framework/object/iptr.h"
#include "host/api/zel_component.h"
#include "host/host_data_store.h"
#include "host/host_dir_service.h"
#include "host/host_mem_checker.h"
#include "host/host_memory_manager.h"
#include "host/host_root.h"
#include "host/host_str_support.h"
#include "host/recording_assert_handler.h"
#include "host/recording_error_service.h"
#include "host/table_translator.h"

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
  HostDirService& dirService() { return *dirService_; }
  HostDataStore& dataStore() { return *dataStore_; }

  void enable(Optional service, bool on);
  // Without an assertion handler a failed assertion ends the process, as it does under a real host.
  void enableAssertHandler(bool on);
  // A host without directories gives the module no temporary directory.
  void enableDirService(bool on);

  // Lets the root create the component's classes and hands the component the root.
  void attach(IZelComponent* component);

 private:
  IPtr<HostRoot> root_;
  IPtr<RecordingAssertHandler> assertions_;
  IPtr<RecordingErrorService> errors_;
  IPtr<TableTranslator> translator_;
  IPtr<TranslatorService> translatorService_;
  IPtr<HostStrSupport> strSupport_;
  IPtr<HostMemoryManager> memoryManager_;
  IPtr<BucketMemoryPool> pool_;
  IPtr<HostDirService> dirService_;
  IPtr<HostDataStore> dataStore_;
  IPtr<HostMemChecker> memChecker_;
};
