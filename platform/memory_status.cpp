#include "platform/memory_status.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace platform {
namespace {

// User address space of a 64-bit Linux process (47 bits).
constexpr uint64_t kAddressSpace = uint64_t{1} << 47;

// Reads "Key:   <number> kB" lines; answers the value in bytes, or 0 when the key is missing.
uint64_t readKiloBytes(const char* path, const char* key) {
  std::FILE* file = std::fopen(path, "r");
  if (!file) return 0;
  char line[256];
  uint64_t value = 0;
  size_t keyLength = std::strlen(key);
  while (std::fgets(line, sizeof line, file)) {
    if (std::strncmp(line, key, keyLength) == 0 && line[keyLength] == ':') {
      unsigned long long kib = 0;
      if (std::sscanf(line + keyLength + 1, "%llu", &kib) == 1) value = kib * 1024;
      break;
    }
  }
  std::fclose(file);
  return value;
}

// The system's figures come from /proc/meminfo, or from a file of its form that kMemInfoVariable names: other
// processes change the real figures at any moment, and a test of a limit must not test the machine.
const char* memInfoPath() {
  const char* path = std::getenv(kMemInfoVariable);
  return path && *path ? path : "/proc/meminfo";
}

}  // namespace

bool queryMemoryStatus(MemoryStatus& status) {
  status = MemoryStatus{};
  const char* memInfo = memInfoPath();
  uint64_t total = readKiloBytes(memInfo, "MemTotal");
  if (total == 0) return false;
  uint64_t available = readKiloBytes(memInfo, "MemAvailable");
  uint64_t swapTotal = readKiloBytes(memInfo, "SwapTotal");
  uint64_t swapFree = readKiloBytes(memInfo, "SwapFree");
  uint64_t used = readKiloBytes("/proc/self/status", "VmSize");
  status.totalPhysical = total;
  status.availablePhysical = available;
  status.totalPageFile = total + swapTotal;
  status.availablePageFile = available + swapFree;
  status.totalVirtual = kAddressSpace;
  status.availableVirtual = used < kAddressSpace ? kAddressSpace - used : 0;
  return true;
}

uint64_t memoryLeft() {
  uint64_t left = std::numeric_limits<uint64_t>::max();
  MemoryStatus status;
  if (queryMemoryStatus(status)) left = status.availablePageFile;
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
    const uint64_t used = readKiloBytes("/proc/self/status", "VmSize");
    left = std::min<uint64_t>(left, limit.rlim_cur > used ? limit.rlim_cur - used : 0);
  }
  return left;
}

}  // namespace platform
