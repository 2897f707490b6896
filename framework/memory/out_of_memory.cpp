#include "framework/memory/out_of_memory.h"

#include "basic_types/zel_string.h"
#include "framework/translation/tr.h"
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
  if (code < -5 || code > -1) return false;
  ZelString message = tr(kOutOfMemoryText);
  platform::messageBox(u"Out of Memory", message.c_str());
  return false;
}

void memoryExhausted(uint64_t /*attemptedBytes*/, int code) {
  reportOutOfMemory(code);
  platform::exitProcess(kOutOfMemoryExit);
}
