#include "framework/memory/bucket_memory_pool.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstddef>
#include <cstring>
#include <mutex>
#include <new>

#include "basic_types/no_destructor.h"
#include "framework/memory/kvo_alloc.h"
#include "framework/memory/out_of_memory.h"
#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "platform/spin_lock.h"

namespace {

// The initial capacity of a free list.
constexpr int32_t kFreeListStart = 9;
// While the module runs its own pool, it looks for the host's after this many allocations.
constexpr int32_t kHostCheckInterval = 600;
// The out-of-memory report's code for a request that no block can serve.
constexpr int kNoMemory = -4;

// The size of a cache line: data read on every allocation keeps apart from data written under the lock.
constexpr size_t kCacheLine = 64;

// Constant-initialised and trivially destroyed, so it works before any constructor and after every
// destructor.
alignas(kCacheLine) constinit platform::SpinLock thePoolLock;

platform::SpinLock& poolLock() {
  return thePoolLock;
}

// Frees whole blocks (header included). Named in every block's header, so a block can be freed after its
// pool is gone; a host's blocks name the host's allocator.
class BucketMemoryAllocator {
 public:
  virtual ~BucketMemoryAllocator() = default;
  virtual void free(void* blockWithHeader) {
    std::lock_guard lock(poolLock());
    kvoFree(blockWithHeader);
  }
};

BucketMemoryAllocator& theAllocator() {
  static NoDestructor<BucketMemoryAllocator> allocator;
  return *allocator;
}

// A negative request has no block: it is out of memory, never the smallest class.
void refuseNegative(int32_t size) {
  if (size < 0) memoryExhausted(0, kNoMemory);
}

void* newBlock(int32_t bytes) {
  // The header must not push the size past what a block size can hold.
  if (bytes < 0 || bytes > INT32_MAX - BucketMemoryPool::kHeaderBytes)
    memoryExhausted(static_cast<uint32_t>(bytes), kNoMemory);
  void* raw = nullptr;
  kvoMalloc(&raw, 1, bytes + BucketMemoryPool::kHeaderBytes);
  *static_cast<BucketMemoryAllocator**>(raw) = &theAllocator();
  return static_cast<char*>(raw) + BucketMemoryPool::kHeaderBytes;
}

// Blocks of one class carved from one allocation, so that the blocks a thread takes one after another lie
// side by side, and walking its stack of them stays within a few cache lines whatever the heap did before.
// The run is its blocks' allocator, named in each header: it frees itself, whole, when the last of them is
// freed through it, whichever thread or pool does that.
class BlockRun final : public BucketMemoryAllocator {
 public:
  explicit BlockRun(int32_t blocks) : unfreed_(blocks) {}

  void free(void*) override {
    if (unfreed_.fetch_sub(1, std::memory_order_acq_rel) > 1) return;
    this->~BlockRun();
    std::lock_guard lock(poolLock());
    kvoFree(this);
  }

 private:
  std::atomic<int32_t> unfreed_;
};

// About what one run takes from the heap; a class too large for two blocks in it gets runs of one.
constexpr int32_t kRunBytes = 4096;

// Up to most new blocks of the class in out, in address order, carved from one run; none when the heap
// refuses the run at once (the caller then makes its blocks one at a time). Every block keeps the alignment
// of a heap block's header.
int32_t newRunOfClass(int32_t index, void** out, int32_t most) {
  constexpr int32_t kAlign = alignof(std::max_align_t);
  constexpr int32_t kRunHead = (sizeof(BlockRun) + kAlign - 1) / kAlign * kAlign;
  const int32_t stride = (BucketMemoryPool::classSize(index) + BucketMemoryPool::kHeaderBytes + 7) / 8 * 8;
  const int32_t count = std::clamp(kRunBytes / stride, 1, most);
  void* raw = kvoTryMalloc(1, kRunHead + count * stride);
  if (!raw) return 0;
  auto* run = new (raw) BlockRun(count);
  char* block = static_cast<char*>(raw) + kRunHead;
  for (int32_t k = 0; k < count; ++k, block += stride) {
    *reinterpret_cast<BucketMemoryAllocator**>(block) = run;
    out[k] = block + BucketMemoryPool::kHeaderBytes;
  }
  return count;
}

void freeBlock(void* block) {
  void* raw = static_cast<char*>(block) - BucketMemoryPool::kHeaderBytes;
  (*static_cast<BucketMemoryAllocator**>(raw))->free(raw);
}

// Runs cacheLocked under the lock until it no longer needs room, making room outside the lock between tries,
// and answers its last result: kNeedsRoom when no room could be had, and the block is the caller's to free.
template <class CacheLocked>
BucketMemoryPool::Cached cacheWithRoom(CacheLocked cacheLocked) {
  BucketMemoryPool::Room room;
  BucketMemoryPool::Cached cached;
  for (;;) {
    {
      std::lock_guard lock(poolLock());
      cached = cacheLocked(room);
    }
    if (cached != BucketMemoryPool::Cached::kNeedsRoom || !BucketMemoryPool::makeRoom(room)) break;
  }
  BucketMemoryPool::freeRoom(room);
  return cached;
}

// The pool in use: the module's own, or the host's once adopted, never both. Guarded by poolLock. An own
// pool's lists are used under the lock, so the switch to the host's pool cannot free it under a caller; the
// host's pool, once adopted, is held until the module lets it go.
struct GlobalPool {
  IPtr<BucketMemoryPool> own;
  IPtr<IBucketMemoryPool> shared;
  int32_t callsSinceCheck = 0;
};

// A flag with a cache line to itself.
struct alignas(kCacheLine) LoneFlag : std::atomic<bool> {};

// Mirrors "the module runs its own pool": while it does, each thread keeps a cache of its own. Read on every
// allocation and release.
LoneFlag ownPoolInUse;

GlobalPool& global() {
  static NoDestructor<GlobalPool> instance;
  return *instance;
}

bool anyPoolLocked() {
  return global().own || global().shared;
}

IPtr<BucketMemoryPool> newOwnPool() {
  auto* pool = new (std::nothrow) BucketMemoryPool;
  if (!pool) memoryExhausted(sizeof(BucketMemoryPool), kNoMemory);
  return IPtr<BucketMemoryPool>(pool);
}

// Makes sure a pool is in use, and moves to the host's pool when it has appeared. The host is asked, a new
// pool made and the cached blocks handed over outside the lock; the switch itself happens under it.
void choosePool() {
  IPtr<IBucketMemoryPool> host;
  host.getService();
  // The periodic look of every thread while the module runs its own pool: nothing to change until the host
  // offers one, and no lock to take for that.
  if (!host && ownPoolInUse.load()) return;
  IPtr<BucketMemoryPool> fresh;
  if (!host) {
    bool needed = false;
    {
      std::lock_guard lock(poolLock());
      needed = !anyPoolLocked();
    }
    if (needed) fresh = newOwnPool();
  }
  IPtr<BucketMemoryPool> retired;  // handed over and released after the lock is left
  {
    std::lock_guard lock(poolLock());
    GlobalPool& g = global();
    if (host && static_cast<IBucketMemoryPool*>(g.own.get()) != host.get()) {
      std::swap(retired, g.own);
      g.shared = host;
    } else if (!anyPoolLocked()) {
      std::swap(g.own, fresh);
    }
    ownPoolInUse.store(static_cast<bool>(g.own));
  }
  if (retired) retired->handOver(*host);
}

}  // namespace

BucketMemoryPool::~BucketMemoryPool() {
  releaseAll();
}

void BucketMemoryPool::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IBucketMemoryPool>(this).end();
}

int32_t BucketMemoryPool::classIndex(int32_t size) const {
  if (largeLimit_ < 0 || size > largeLimit_) return -1;
  if (size <= kSmallLimit) return size <= 0 ? 0 : (size - 1) / kGranule;
  int32_t index = kSmallLimit / kGranule - 1;
  for (int64_t bytes = kSmallLimit; bytes < size; bytes *= 2) ++index;
  return index;
}

int32_t BucketMemoryPool::classSize(int32_t index) {
  int32_t granuleClasses = kSmallLimit / kGranule;
  if (index < granuleClasses) return kGranule * (index + 1);
  return kSmallLimit << (index - granuleClasses + 1);
}

void* BucketMemoryPool::takeCachedLocked(int32_t size, uint32_t* capacity, int32_t* index) {
  *index = classIndex(size);
  if (*index < 0) return nullptr;
  FreeList& list = buckets_[*index];
  while (list.count > 0) {
    Entry entry = list.entries[--list.count];
    if (entry.block) {
      *capacity = entry.size;
      return entry.block;
    }
  }
  return nullptr;
}

void* BucketMemoryPool::newBlockOfClass(int32_t size, int32_t index, uint32_t* capacity) {
  int32_t bytes = index < 0 ? size : classSize(index);
  *capacity = static_cast<uint32_t>(bytes);
  return newBlock(bytes);
}

int32_t BucketMemoryPool::takeBatchLocked(int32_t index, void** out, int32_t most) {
  FreeList& list = buckets_[index];
  int32_t first = std::max(0, list.count - most);
  int32_t taken = 0;
  for (int32_t k = first; k < list.count; ++k) {
    if (list.entries[k].block) out[taken++] = list.entries[k].block;
  }
  list.count = first;
  return taken;
}

BucketMemoryPool::Cached BucketMemoryPool::cacheLocked(int32_t capacity, void* const* blocks, int32_t count,
                                                       Room& room) {
  int32_t index = classIndex(capacity);
  if (index < 0) return Cached::kDirect;
  FreeList& list = buckets_[index];
  if (list.capacity - list.count < count) {
    int32_t wanted = std::max(list.capacity > 0 ? list.capacity * 2 : kFreeListStart, list.count + count);
    if (room.capacity < wanted) {
      room.wanted = wanted;
      return Cached::kNeedsRoom;
    }
    if (list.count > 0) std::memcpy(room.entries, list.entries, sizeof(Entry) * list.count);
    std::swap(list.entries, room.entries);
    std::swap(list.capacity, room.capacity);
  }
  auto size = static_cast<uint32_t>(classSize(index));
  for (int32_t k = 0; k < count; ++k) list.entries[list.count++] = {size, blocks[k]};
  return Cached::kYes;
}

void* BucketMemoryPool::allocate(int32_t size, uint32_t* capacity) {
  refuseNegative(size);
  int32_t index = -1;
  {
    std::lock_guard lock(poolLock());
    if (void* block = takeCachedLocked(size, capacity, &index)) return block;
  }
  return newBlockOfClass(size, index, capacity);
}

bool BucketMemoryPool::free(int32_t capacity, void** block) {
  if (!*block || capacity == 0) return false;
  void* given = *block;
  *block = nullptr;
  if (cacheWithRoom([&](Room& room) { return cacheLocked(capacity, &given, 1, room); }) != Cached::kYes)
    freeBlock(given);
  return true;
}

bool BucketMemoryPool::makeRoom(Room& room) {
  freeRoom(room);
  room.entries = static_cast<Entry*>(kvoTryMalloc(static_cast<int32_t>(sizeof(Entry)), room.wanted));
  room.capacity = room.entries ? room.wanted : 0;
  return room.entries != nullptr;
}

void BucketMemoryPool::freeRoom(Room& room) {
  kvoFree(room.entries);
  room.entries = nullptr;
  room.capacity = 0;
}

BucketMemoryPool::FreeList BucketMemoryPool::takeListLocked(int32_t index) {
  FreeList taken = buckets_[index];
  buckets_[index] = FreeList{};
  return taken;
}

bool BucketMemoryPool::releaseAll() {
  for (int32_t index = 0; index < kClasses; ++index) {
    FreeList list;
    {
      std::lock_guard lock(poolLock());
      list = takeListLocked(index);
    }
    for (int32_t k = 0; k < list.count; ++k) {
      if (list.entries[k].block) freeBlock(list.entries[k].block);
    }
    kvoFree(list.entries);
  }
  return true;
}

void BucketMemoryPool::handOver(IBucketMemoryPool& target) {
  for (int32_t index = 0; index < kClasses; ++index) {
    FreeList list;
    {
      std::lock_guard lock(poolLock());
      list = takeListLocked(index);
    }
    for (int32_t k = 0; k < list.count; ++k) {
      void* block = list.entries[k].block;
      if (block) target.free(static_cast<int32_t>(list.entries[k].size), &block);
    }
    kvoFree(list.entries);
  }
}

void BucketMemoryPool::setEnabled(bool on) {
  std::lock_guard lock(poolLock());
  if (on != (largeLimit_ > 0)) largeLimit_ = -largeLimit_;
}

int32_t BucketMemoryPool::cachedBlocks(int32_t size) {
  std::lock_guard lock(poolLock());
  int32_t index = classIndex(size);
  return index < 0 ? 0 : buckets_[index].count;
}

namespace {

void* allocateFromGlobal(int32_t size, uint32_t* capacity) {
  for (;;) {
    // The host's pool is held by the global pointer until the module lets it go.
    IBucketMemoryPool* shared = nullptr;
    int32_t index = -1;
    bool checkDue = false;
    {
      std::lock_guard lock(poolLock());
      GlobalPool& g = global();
      checkDue = !anyPoolLocked() || (g.own && g.callsSinceCheck > kHostCheckInterval);
      if (checkDue) {
        g.callsSinceCheck = 0;
      } else if (g.shared) {
        shared = g.shared.get();
      } else {
        ++g.callsSinceCheck;
        if (void* block = g.own->takeCachedLocked(size, capacity, &index)) return block;
      }
    }
    if (checkDue) {
      choosePool();
      continue;
    }
    if (shared) return shared->allocate(size, capacity);
    return BucketMemoryPool::newBlockOfClass(size, index, capacity);
  }
}

// Gives count blocks of one capacity to the pool in use. Out of line, like allocateSlowly.
[[gnu::noinline]] void freeToGlobal(uint32_t capacity, void* const* blocks, int32_t count) {
  // An own pool's lists are used under the lock that finds the pool, so a switch to the host's pool cannot
  // retire it in between; the host's pool stays held until the module lets it go.
  IBucketMemoryPool* shared = nullptr;
  BucketMemoryPool::Cached cached = cacheWithRoom([&](BucketMemoryPool::Room& room) {
    GlobalPool& g = global();
    shared = g.shared.get();
    if (!g.own) return BucketMemoryPool::Cached::kDirect;
    return g.own->cacheLocked(static_cast<int32_t>(capacity), blocks, count, room);
  });
  for (int32_t k = 0; k < count; ++k) {
    void* block = blocks[k];
    if (shared) {
      shared->free(static_cast<int32_t>(capacity), &block);
    } else if (cached != BucketMemoryPool::Cached::kYes) {
      freeBlock(block);
    }
  }
}

// Up to most cached blocks of the class from the module's own pool, the most recently released last.
int32_t takeFromOwnPool(int32_t index, void** out, int32_t most) {
  std::lock_guard lock(poolLock());
  return global().own ? global().own->takeBatchLocked(index, out, most) : 0;
}

// A thread's last released blocks of the small classes, so that the common allocate/free pair of a
// short-lived string takes no lock. Each class is a stack linked through the blocks themselves (their first
// bytes are free while they wait), so a deep cache costs the thread nothing while it is empty. Blocks move
// between the cache and the pool a batch at a time, so a thread that holds more blocks of a class than its
// cache keeps takes the lock once per batch rather than once per block. Only used while the module runs its
// own pool; given back to the pool in use when the thread ends. Every allocation through it counts towards
// the look for the host's pool.
class ThreadCache {
 public:
  // The classes from 8 bytes (room for the link) up to 256 bytes.
  static constexpr int32_t kFirstClass = 1;
  static constexpr int32_t kClasses = 64;
  // A batch, and room for two more beside it: a thread that holds up to two batches of a class at once and
  // gives them back (with what its last batch or run left over) cycles through its cache without the lock.
  static constexpr int32_t kBatch = 128;
  static constexpr int32_t kDepth = 3 * kBatch;

  constexpr ThreadCache() = default;
  ThreadCache(const ThreadCache&) = delete;
  ThreadCache& operator=(const ThreadCache&) = delete;

  // A cached block when one is at hand and no look for the host's pool is due; counts the allocation.
  void* takeAtHand(int32_t size, uint32_t* capacity) {
    int32_t index = classOf(size);
    if (index < kFirstClass || index >= kClasses || stacks_[index].count == 0 ||
        allocations_ >= kHostCheckInterval)
      return nullptr;
    ++allocations_;
    *capacity = static_cast<uint32_t>(BucketMemoryPool::classSize(index));
    return stacks_[index].pop();
  }

  // A cached block, after taking a batch from the pool, or else a new run, when the cache has none; does not
  // count.
  void* take(int32_t size, uint32_t* capacity) {
    int32_t index = classOf(size);
    if (index < kFirstClass || index >= kClasses) return nullptr;
    if (stacks_[index].count == 0) refill(index);
    if (stacks_[index].count == 0) makeRun(index);
    if (stacks_[index].count == 0) return nullptr;
    *capacity = static_cast<uint32_t>(BucketMemoryPool::classSize(index));
    return stacks_[index].pop();
  }

  bool keep(uint32_t capacity, void* block) {
    if (capacity % BucketMemoryPool::kGranule != 0) return false;
    int32_t index = static_cast<int32_t>(capacity / BucketMemoryPool::kGranule) - 1;
    if (index < kFirstClass || index >= kClasses) return false;
    if (stacks_[index].count == kDepth) giveBack(index, kBatch);
    stacks_[index].push(block);
    return true;
  }

  // Counts an allocation that takeAtHand did not serve; true at the end of each interval, when the thread
  // looks for the host's pool.
  bool checkDue() {
    if (++allocations_ <= kHostCheckInterval) return false;
    allocations_ = 0;
    return true;
  }

  void flush() {
    for (int32_t index = kFirstClass; index < kClasses; ++index) giveBack(index, stacks_[index].count);
  }

 private:
  static int32_t classOf(int32_t size) { return size <= 0 ? 0 : (size - 1) / BucketMemoryPool::kGranule; }

  struct Stack {
    void* top = nullptr;
    int32_t count = 0;

    void push(void* block) {
      *static_cast<void**>(block) = top;
      top = block;
      ++count;
    }
    void* pop() {
      void* block = top;
      top = *static_cast<void**>(block);
      --count;
      return block;
    }
  };

  // Up to a batch from the module's own pool, its most recently released on top.
  void refill(int32_t index) {
    void* arriving[kBatch];
    int32_t count = takeFromOwnPool(index, arriving, kBatch);
    for (int32_t k = 0; k < count; ++k) stacks_[index].push(arriving[k]);
  }

  // New blocks when the pool has none of the class: a run of them, the first on top.
  void makeRun(int32_t index) {
    void* made[kBatch];
    for (int32_t k = newRunOfClass(index, made, kBatch); k > 0; --k) stacks_[index].push(made[k - 1]);
  }

  // Gives the count topmost blocks of the class to the pool in use, a batch at a time. They leave the cache
  // before the pool is called, so the cache stays whole whatever the call does.
  void giveBack(int32_t index, int32_t count) {
    while (count > 0) {
      void* leaving[kBatch];
      int32_t batch = std::min(count, kBatch);
      for (int32_t k = 0; k < batch; ++k) leaving[k] = stacks_[index].pop();
      count -= batch;
      freeToGlobal(static_cast<uint32_t>(BucketMemoryPool::classSize(index)), leaving, batch);
    }
  }

  Stack stacks_[kClasses];
  int32_t allocations_ = 0;
};

// Constant-initialised and trivially destroyed, so that reaching it costs no check of its own.
constinit thread_local ThreadCache threadCache;

// Where the thread's cache stands: not used yet, in use, or gone (given back at thread end, or at exit for
// the main thread): later releases of the thread (static strings destroyed after it) go to the pool in use
// instead. Trivially destroyed, so it can still be read then.
enum class CacheState : uint8_t { kUnused, kInUse, kGone };
constinit thread_local CacheState cacheState = CacheState::kUnused;

// Gives the thread's cache back to the pool in use when the thread ends. Made on the thread's first use of
// its cache, so it is destroyed before whatever the thread made earlier, whose releases then go to the pool.
struct CacheGiveBack {
  ~CacheGiveBack() {
    cacheState = CacheState::kGone;
    threadCache.flush();
  }
  bool arranged = false;
};
thread_local CacheGiveBack cacheGiveBack;

// The check of every allocation and release.
bool threadCacheInUse() {
  return cacheState == CacheState::kInUse && ownPoolInUse.load(std::memory_order_relaxed);
}

// The same, first putting the cache in use (and arranging its return) on the thread's first use.
[[gnu::noinline]] bool threadCacheUsable() {
  if (cacheState == CacheState::kUnused && ownPoolInUse.load(std::memory_order_relaxed)) {
    cacheGiveBack.arranged = true;
    cacheState = CacheState::kInUse;
  }
  return threadCacheInUse();
}

// Out of line, so that the common release keeps its block in a register.
[[gnu::noinline]] void freeOneToGlobal(uint32_t capacity, void* block) {
  freeToGlobal(capacity, &block, 1);
}

// Everything but a block at hand in the thread's cache; kept out of line, so that the common path saves no
// registers.
[[gnu::noinline]] void* allocateSlowly(int32_t size, uint32_t* capacity) {
  refuseNegative(size);
  if (threadCacheUsable()) {
    if (threadCache.checkDue()) {
      choosePool();
      if (!ownPoolInUse.load(std::memory_order_relaxed)) threadCache.flush();
    }
    if (threadCacheUsable()) {
      if (void* block = threadCache.take(size, capacity)) return block;
    }
  }
  return allocateFromGlobal(size, capacity);
}

}  // namespace

void* poolAllocate(int32_t size, uint32_t* capacity) {
  if (threadCacheInUse()) {
    if (void* block = threadCache.takeAtHand(size, capacity)) return block;
  }
  return allocateSlowly(size, capacity);
}

void* poolAllocateText(int64_t units, int32_t unitBytes, uint32_t* capacity) {
  int64_t bytes = (units + 1) * unitBytes;
  // A text the pool's 32-bit sizes cannot describe is out of memory, never a short buffer.
  if (units < 0 || bytes > INT32_MAX)
    memoryExhausted(units < 0 ? 0 : static_cast<uint64_t>(bytes), kNoMemory);
  return poolAllocate(static_cast<int32_t>(bytes), capacity);
}

void poolFree(uint32_t capacity, void* block) {
  if (!block || capacity == 0) return;
  if ((threadCacheInUse() || threadCacheUsable()) && threadCache.keep(capacity, block)) return;
  freeOneToGlobal(capacity, block);
}

void releaseGlobalPool() {
  IPtr<BucketMemoryPool> own;
  IPtr<IBucketMemoryPool> shared;
  {
    std::lock_guard lock(poolLock());
    std::swap(own, global().own);
    std::swap(shared, global().shared);
    ownPoolInUse.store(false);
    global().callsSinceCheck = 0;
  }
}
