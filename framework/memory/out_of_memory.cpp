#include "framework/memory/out_of_memory.h"

#include <atomic>

#include "basic_types/zel_string.h"
#include "framework/memory/memory_report.h"
#include "framework/object/iptr.h"
#include "framework/translation/tr.h"
#include "host/api/data_store.h"
#include "host/api/gfx_renderer.h"
#include "host/api/zel_error_service.h"
#include "platform/message_box.h"
#include "platform/process.h"

namespace {

constexpr const char* kOutOfMemoryText =
    "While running this function, you have run out of memory.\n"
    "The application will close. After restarting, please read\n"
    "the online help about \"Memory Optimization\".";

// The exit code of every exhausted allocation path.
constexpr int kOutOfMemoryExit = -1;

}  // namespace

bool reportOutOfMemory(int code) {
  SPtr<IDataStore> store;
  bool useErrorService = store && store->getInt("Memory/UseErrorService", 0) != 0;
  SPtr<IZelErrorService> errors;
  if (useErrorService && !errors) return false;
  if (code < -5 || code > -1) return false;
  ZelString message = tr(kOutOfMemoryText);
  SPtr<IGfxRenderer> renderer;
  if (renderer) renderer->beginUpdate();
  if (useErrorService) {
    errors->report(message, 1, emptyZelCString());
  } else {
    platform::messageBox(u"Out of Memory", message.c_str());
  }
  if (renderer) renderer->endUpdate();
  return false;
}

void memoryExhausted(uint64_t attemptedBytes, int code) {
  // Making the report allocates too: when that fails as well, there is nothing more to tell.
  static std::atomic<bool> reporting{false};
  if (reporting.exchange(true)) platform::exitProcess(kOutOfMemoryExit);
  writeMemoryLog(attemptedBytes);
  reportOutOfMemory(code);
  platform::exitProcess(kOutOfMemoryExit);
}
