#include "framework/object/host_detach.h"

#include "framework/memory/bucket_memory_pool.h"
#include "framework/memory/memory_manager.h"
#include "framework/object/host_root.h"
#include "framework/translation/tr.h"

void detachFromHost() {
  forgetModuleTranslator();
  forgetMemoryManager();
  releaseGlobalPool();
  setHostRoot(nullptr);
}
