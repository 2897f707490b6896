#include "framework/object/host_detach.h"

#include "framework/memory/bucket_memory_pool.h"
#include "framework/object/host_root.h"
#include "framework/object/kept_service.h"
#include "framework/translation/tr.h"

void detachFromHost() {
  forgetModuleTranslator();
  forgetKeptServices();
  releaseGlobalPool();
  setHostRoot(nullptr);
}
