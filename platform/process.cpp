#include "platform/process.h"

#include <unistd.h>

#include <cstdio>

namespace platform {

void exitProcess(int code) {
  std::fflush(nullptr);
  _exit(code);
}

uint32_t currentProcessId() {
  return static_cast<uint32_t>(getpid());
}

}  // namespace platform
