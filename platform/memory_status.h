#pragma once

#include <cstdint>

namespace platform {

// The system's memory figures in bytes, in the shape the module's out-of-memory report reads them: physical
// memory, the commit limit (physical memory plus swap, the "page file") and the process's address space.
struct MemoryStatus {
  uint64_t totalPhysical = 0;
  uint64_t availablePhysical = 0;
  uint64_t totalPageFile = 0;
  uint64_t availablePageFile = 0;
  uint64_t totalVirtual = 0;
  uint64_t availableVirtual = 0;
};

// The environment variable that names a file to read in place of /proc/meminfo, in its form ("MemTotal:
// 1024 kB" lines): fixed figures for tests.
inline constexpr const char* kMemInfoVariable = "PALPERA_MEMINFO";

// Reads /proc/meminfo (or the file kMemInfoVariable names) and /proc/self/status. Answers false, with every
// figure 0, when they cannot be read.
bool queryMemoryStatus(MemoryStatus& status);

// The bytes the process may still take, as far as the system tells: the memory available (physical memory
// and free swap) and, under a limit of the address space (RLIMIT_AS), what the limit leaves; the largest
// value when neither is known.
uint64_t memoryLeft();

}  // namespace platform
