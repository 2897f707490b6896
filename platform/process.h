#pragma once

#include <cstdint>

namespace platform {

// Ends the process at once with the given exit code, after flushing the standard streams. No static
// destructor runs, so none can race a worker thread that is still alive. The code is truncated to 8 bits by
// the system, as -1 becomes 255.
[[noreturn]] void exitProcess(int code);

uint32_t currentProcessId();

}  // namespace platform
