#include "framework/memory/kvo_alloc.h"

#include <cstdlib>
#include <cstring>

#include "framework/files/temporary_file.h"
#include "framework/memory/assertion.h"
#include "framework/memory/heap_refusal.h"
#include "framework/memory/memory_manager.h"
#include "framework/memory/out_of_memory.h"
#include "platform/file.h"

namespace {

// Further reallocation attempts, each settling for less, before the contents would have to leave memory.
constexpr int kShrinkingAttempts = 8;
// From this attempt on the memory manager is asked as well.
constexpr int kFirstManagedAttempt = 3;
// One unit of the memory manager's counters; the number of times it is asked scales with the bytes missing.
constexpr uint64_t kManagerUnit = 24576;

// Which step gave up, as the out-of-memory report numbers them.
constexpr int kSpillFileUnusable = -1;
constexpr int kSpillWriteShort = -2;
constexpr int kSpillReadShort = -3;
constexpr int kNoMemory = -4;

// Element size times count in 64 bits, where two 32-bit factors cannot overflow; false for a negative factor,
// which no block size can come from.
bool byteSize(int32_t elementSize, int32_t count, uint64_t& bytes) {
  if (elementSize < 0 || count < 0) return false;
  bytes = static_cast<uint64_t>(elementSize) * static_cast<uint64_t>(count);
  return true;
}

void* tryMalloc(uint64_t bytes) {
  return heapRefuses(bytes, false) ? nullptr : std::malloc(bytes);
}

void* tryRealloc(void* block, uint64_t bytes) {
  return heapRefuses(bytes, true) ? nullptr : std::realloc(block, bytes);
}

// Asks the manager to free memory and retries while it says so; answers the block or null.
void* mallocWithManager(uint64_t bytes) {
  void* block = tryMalloc(bytes);
  if (block) return block;
  IPtr<ZelMM::IZelMManager> manager = getMemoryManager();
  while (manager && manager->freeMemory()) {
    block = tryMalloc(bytes);
    if (block) return block;
  }
  return nullptr;
}

int32_t grown(void** inOut, void* block, int32_t elementSize, int32_t curCount, int32_t target) {
  uint64_t oldBytes = static_cast<uint64_t>(elementSize) * curCount;
  uint64_t newBytes = static_cast<uint64_t>(elementSize) * target;
  std::memset(static_cast<char*>(block) + oldBytes, 0, newBytes - oldBytes);
  *inOut = block;
  return target;
}

// Asks the manager for memory up to `times` times, retrying the reallocation after each yes. A no ends the
// asking for good: declined is set and later calls ask nothing.
void* reallocWithManager(void* old, uint64_t bytes, uint64_t times, bool& declined) {
  IPtr<ZelMM::IZelMManager> manager = declined ? IPtr<ZelMM::IZelMManager>() : getMemoryManager();
  for (uint64_t k = 0; manager && k < times; ++k) {
    if (!manager->freeMemory()) {
      declined = true;
      return nullptr;
    }
    if (void* block = tryRealloc(old, bytes)) return block;
  }
  return nullptr;
}

int32_t shrunk(void** inOut, int32_t elementSize, int32_t target) {
  if (target <= 0) {
    kvoFree(*inOut);
    *inOut = nullptr;
    return 0;
  }
  // A smaller block that cannot be had leaves the larger one in place, which still holds everything.
  if (void* block = tryRealloc(*inOut, static_cast<uint64_t>(elementSize) * target)) *inOut = block;
  return target;
}

// A read may stop short of what was asked without anything being wrong; only an error or the end of the
// file ends it early.
bool readAll(int32_t fd, void* buffer, uint64_t count) {
  char* bytes = static_cast<char*>(buffer);
  for (uint64_t done = 0; done < count;) {
    int64_t got = platform::readFile(fd, bytes + done, count - done);
    if (got <= 0) return false;
    done += static_cast<uint64_t>(got);
  }
  return true;
}

// The last resort of a growing block: its contents wait in a temporary file while the old block is freed and
// the new one allocated, so the two never have to exist at once. Answers 0 with *inOut the new block (the old
// contents at its start, the rest undefined), or the code of the step that gave up. The old block is freed
// only once its contents are safely in the file; after a failure *inOut still holds them when the failing
// step came before that, and is null after it, when the contents exist only in the file, which goes with the
// process.
int moveThroughTemporaryFile(void** inOut, uint64_t oldBytes, uint64_t newBytes) {
  TemporaryFile file;
  if (!file.create()) return file.path().isEmpty() ? kNoMemory : kSpillFileUnusable;
  if (platform::writeFile(file.fd(), *inOut, oldBytes) != static_cast<int64_t>(oldBytes))
    return kSpillWriteShort;
  std::free(*inOut);
  *inOut = mallocWithManager(newBytes);
  if (!*inOut) return kNoMemory;
  if (platform::seekFile(file.fd(), 0, platform::SeekOrigin::kBegin) != 0 ||
      !readAll(file.fd(), *inOut, oldBytes)) {
    std::free(*inOut);
    *inOut = nullptr;
    return kSpillReadShort;
  }
  return 0;
}

}  // namespace

int32_t kvoMalloc(void** out, int32_t elementSize, int32_t count) {
  uint64_t bytes = 0;
  if (!byteSize(elementSize, count, bytes)) memoryExhausted(0, kNoMemory);
  if (bytes == 0) {
    *out = nullptr;
    return count;
  }
  void* block = mallocWithManager(bytes);
  if (!block) memoryExhausted(bytes, kNoMemory);
  *out = block;
  return count;
}

int32_t kvoRealloc(void** inOut, int32_t elementSize, int32_t curCount, int32_t minNewCount,
                   int32_t maxNewCount) {
  if (curCount == minNewCount) return curCount;
  if ((*inOut == nullptr || curCount == 0) && minNewCount > 0) {
    kvoFree(*inOut);  // a block that held nothing
    return kvoMalloc(inOut, elementSize, minNewCount);
  }

  int32_t target = maxNewCount == -1 ? minNewCount : maxNewCount;
  if (maxNewCount != -1 && maxNewCount < minNewCount)
    reportAssertion("maxNewSize >= minNewSize", "kvorealloc", 397);

  bool growing = minNewCount > curCount;
  // A maximum below the minimum would leave the caller short of what it needs: take the minimum.
  if (target < minNewCount) {
    if (growing) reportAssertion("minNewSize > curSize && maxNewSize >= minNewSize", "kvorealloc", 430);
    target = minNewCount;
  }
  if (!growing) {
    if (target < curCount) return shrunk(inOut, elementSize, target);
    return curCount;
  }

  uint64_t bytes = 0;
  if (!byteSize(elementSize, target, bytes)) memoryExhausted(0, kNoMemory);
  if (void* block = tryRealloc(*inOut, bytes)) return grown(inOut, block, elementSize, curCount, target);

  // Settle for less: halfway towards the minimum each time, the minimum itself at the last attempt.
  uint64_t oldBytes = static_cast<uint64_t>(elementSize) * curCount;
  bool managerDeclined = false;
  for (int attempt = 1; attempt <= kShrinkingAttempts && target > minNewCount; ++attempt) {
    target = attempt == kShrinkingAttempts ? minNewCount : minNewCount + (target - minNewCount) / 2;
    bytes = static_cast<uint64_t>(elementSize) * target;
    void* block = tryRealloc(*inOut, bytes);
    if (!block && attempt >= kFirstManagedAttempt) {
      block = reallocWithManager(*inOut, bytes, (bytes - oldBytes) / kManagerUnit + 2, managerDeclined);
    }
    if (block) return grown(inOut, block, elementSize, curCount, target);
  }
  // The old block is still intact here: realloc never frees on failure.
  if (int failure = moveThroughTemporaryFile(inOut, oldBytes, bytes)) memoryExhausted(bytes, failure);
  return grown(inOut, *inOut, elementSize, curCount, target);
}

void* kvoTryMalloc(int32_t elementSize, int32_t count) {
  uint64_t bytes = 0;
  if (!byteSize(elementSize, count, bytes) || bytes == 0) return nullptr;
  return tryMalloc(bytes);
}

void kvoFree(void* block) {
  std::free(block);
}
