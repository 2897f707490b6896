#include "framework/object/host_detach.h"

#include <mutex>
#include <vector>

#include "basic_types/no_destructor.h"
#include "framework/memory/bucket_memory_pool.h"
#include "framework/object/host_root.h"
#include "framework/object/kept_service.h"
#include "framework/translation/tr.h"

namespace {

struct DetachSteps {
  std::mutex mutex;
  std::vector<void (*)()> steps;  // guarded by mutex
};

DetachSteps& detachSteps() {
  static NoDestructor<DetachSteps> instance;
  return *instance;
}

}  // namespace

void addDetachStep(void (*step)()) {
  std::lock_guard lock(detachSteps().mutex);
  detachSteps().steps.push_back(step);
}

void detachFromHost() {
  std::vector<void (*)()> steps;
  {
    std::lock_guard lock(detachSteps().mutex);
    steps = detachSteps().steps;
  }
  for (void (*step)() : steps) step();
  forgetModuleTranslator();
  forgetKeptServices();
  releaseGlobalPool();
  setHostRoot(nullptr);
}
