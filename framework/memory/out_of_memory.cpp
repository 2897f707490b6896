#include "framework/memory/out_of_memory.h"

#include <atomic>
#include <chrono>
#include <new>
#include <thread>

#include "basic_types/zel_string.h"
#include "framework/memory/memory_report.h"
#include "framework/object/iptr.h"
#include "framework/translation/tr.h"
#include "host_api/data_store.h"
#include "host_api/gfx_renderer.h"
#include "host_api/zel_error_service.h"
#include "platform/message_box.h"
#include "platform/process.h"

namespace {

#define PALPERA_OUT_OF_MEMORY_TEXT                              \
  "While running this function, you have run out of memory.\n"  \
  "The application will close. After restarting, please read\n" \
  "the online help about \"Memory Optimization\"."

constexpr const char* kOutOfMemoryText = PALPERA_OUT_OF_MEMORY_TEXT;
// The same text, shown untranslated when not even the translation can be made.
constexpr const char16_t* kOutOfMemoryLiteral = u"" PALPERA_OUT_OF_MEMORY_TEXT;
#undef PALPERA_OUT_OF_MEMORY_TEXT

// The exit code of every exhausted allocation path.
constexpr int kOutOfMemoryExit = -1;

// The thread writing the report; the default id while none is.
std::atomic<std::thread::id> reporter{};

// The message in the user's language, or the literal when the translation needs memory that is not there.
ZelString outOfMemoryMessage() {
  try {
    return tr(kOutOfMemoryText);
  } catch (const std::bad_alloc&) {
    return ZelString(kOutOfMemoryLiteral);
  }
}

void tell(const ZelString& message, bool useErrorService, IZelErrorService* errors) {
  SPtr<IGfxRenderer> renderer;
  if (renderer) renderer->beginUpdate();
  if (useErrorService) {
    errors->report(message, 1, emptyZelCString());
  } else {
    platform::messageBox(u"Out of Memory", message.c_str());
  }
  if (renderer) renderer->endUpdate();
}

}  // namespace

bool reportOutOfMemory(int code) {
  SPtr<IDataStore> store;
  bool useErrorService = store && store->getInt("Memory/UseErrorService", 0) != 0;
  SPtr<IZelErrorService> errors;
  if (useErrorService && !errors) return false;
  if (code < -5 || code > -1) return false;
  try {
    tell(outOfMemoryMessage(), useErrorService, errors.get());
  } catch (const std::bad_alloc&) {
    // Showing the message needed memory as well: the report in "memory.log" is what remains.
  }
  return false;
}

void memoryExhausted(uint64_t attemptedBytes, int code) {
  std::thread::id none;
  if (!reporter.compare_exchange_strong(none, std::this_thread::get_id())) {
    // The report's own allocations failing as well: the report goes on with its fallbacks.
    if (none == std::this_thread::get_id()) throw std::bad_alloc();
    // Another thread is reporting and will end the process; this one must not end it first.
    for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
  }
  // Whatever of the report cannot be made is left out; the process ends all the same.
  try {
    writeMemoryLog(attemptedBytes);
  } catch (...) {
  }
  try {
    reportOutOfMemory(code);
  } catch (...) {
  }
  platform::exitProcess(kOutOfMemoryExit);
}
