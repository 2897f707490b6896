#include "framework/memory/bucket_memory_pool.h"

#include <atomic>
#include <climits>
#include <mutex>

#include "basic_types/no_destructor.h"
#include "framework/memory/kvo_alloc.h"
#include "framework/memory/out_of_memory.h"
#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "platform/spin_lock.h"

namespace {

// The initial capacity of a free list.
constexpr size_t kFreeListStart = 9;
// The class of the largest pooled request (262144 bytes).
constexpr int32_t kTopClass = 2052;
// While the module runs its own pool, it looks for the host's after this many allocations.
constexpr int32_t kHostCheckInterval = 600;

// Constant-initialised and trivially destroyed, so it works before any constructor and after every
// destructor.
constinit platform::SpinLock thePoolLock;

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

void* newBlock(int32_t bytes) {
  // The header must not push the size past what a block size can hold.
  if (bytes < 0 || bytes > INT32_MAX - BucketMemoryPool::kHeaderBytes)
    memoryExhausted(static_cast<uint32_t>(bytes), -4);
  void* raw = nullptr;
  kvoMalloc(&raw, 1, bytes + BucketMemoryPool::kHeaderBytes);
  *static_cast<BucketMemoryAllocator**>(raw) = &theAllocator();
  return static_cast<char*>(raw) + BucketMemoryPool::kHeaderBytes;
}

void freeBlock(void* block) {
  void* raw = static_cast<char*>(block) - BucketMemoryPool::kHeaderBytes;
  (*static_cast<BucketMemoryAllocator**>(raw))->free(raw);
}

// The pool in use. Guarded by poolLock. An own pool's lists are used under the lock, so the switch to the
// host's pool cannot free it under a caller; the host's pool, once adopted, is held until the module lets it
// go.
struct GlobalPool {
  IPtr<BucketMemoryPool> pool;
  bool own = false;
  int32_t callsSinceCheck = 0;
};

// Mirrors "the module runs its own pool": while it does, each thread keeps a small cache of its own.
std::atomic<bool> ownPoolInUse{false};

GlobalPool& global() {
  static NoDestructor<GlobalPool> instance;
  return *instance;
}

// The host's pool, when it offers one that is a pool of this kind.
IPtr<BucketMemoryPool> hostPool() {
  IPtr<IBucketMemoryPool> offered;
  offered.getService();
  if (!offered) return {};
  void* part = nullptr;
  offered->queryInterface(BucketMemoryPool::interfaceName, &part, false);
  return IPtr<BucketMemoryPool>(static_cast<BucketMemoryPool*>(part));
}

// Makes sure a pool is in use, and moves to the host's pool when it has appeared. The host is asked outside
// the lock; the switch itself happens under it.
void choosePool() {
  IPtr<BucketMemoryPool> host = hostPool();
  IPtr<BucketMemoryPool> retired;  // released after the lock is left
  std::lock_guard lock(poolLock());
  GlobalPool& g = global();
  if (host) {
    if (g.pool && g.pool.get() != host.get()) {
      host->takeOverLocked(*g.pool);
      retired = g.pool;
    }
    g.pool = host;
    g.own = false;
  } else if (!g.pool) {
    g.pool = IPtr<BucketMemoryPool>(new BucketMemoryPool);
    g.own = true;
  }
  ownPoolInUse = g.own;
}

}  // namespace

BucketMemoryPool::BucketMemoryPool() : buckets_(kTopClass + 1) {}

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
  FreeList* list = buckets_[*index].get();
  while (list && !list->empty()) {
    Entry entry = list->back();
    list->pop_back();
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

bool BucketMemoryPool::cacheLocked(int32_t capacity, void* block) {
  int32_t index = classIndex(capacity);
  if (index < 0) return false;
  std::unique_ptr<FreeList>& list = buckets_[index];
  if (!list) {
    list = std::make_unique<FreeList>();
    list->reserve(kFreeListStart);
  }
  list->push_back({static_cast<uint32_t>(classSize(index)), block});
  return true;
}

void* BucketMemoryPool::allocate(int32_t size, uint32_t* capacity) {
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
  bool cached = false;
  {
    std::lock_guard lock(poolLock());
    cached = cacheLocked(capacity, given);
  }
  if (!cached) freeBlock(given);
  return true;
}

bool BucketMemoryPool::releaseAll() {
  std::vector<std::unique_ptr<FreeList>> lists(buckets_.size());
  {
    std::lock_guard lock(poolLock());
    lists.swap(buckets_);
  }
  for (auto& list : lists) {
    if (!list) continue;
    for (Entry& entry : *list) {
      if (entry.block) freeBlock(entry.block);
    }
  }
  return true;
}

void BucketMemoryPool::setEnabled(bool on) {
  std::lock_guard lock(poolLock());
  if (on != (largeLimit_ > 0)) largeLimit_ = -largeLimit_;
}

void BucketMemoryPool::takeOverLocked(BucketMemoryPool& other) {
  for (size_t index = 0; index < other.buckets_.size() && index < buckets_.size(); ++index) {
    std::unique_ptr<FreeList>& from = other.buckets_[index];
    if (!from) continue;
    std::unique_ptr<FreeList>& to = buckets_[index];
    if (!to) {
      to = std::move(from);
      continue;
    }
    to->insert(to->end(), from->begin(), from->end());
    from.reset();
  }
}

int32_t BucketMemoryPool::cachedBlocks(int32_t size) {
  std::lock_guard lock(poolLock());
  int32_t index = classIndex(size);
  if (index < 0 || !buckets_[index]) return 0;
  return static_cast<int32_t>(buckets_[index]->size());
}

namespace {

void* allocateFromGlobal(int32_t size, uint32_t* capacity) {
  for (;;) {
    // The host's pool is held by the global pointer until the module lets it go.
    BucketMemoryPool* shared = nullptr;
    int32_t index = -1;
    bool checkDue = false;
    {
      std::lock_guard lock(poolLock());
      GlobalPool& g = global();
      checkDue = !g.pool || (g.own && g.callsSinceCheck > kHostCheckInterval);
      if (checkDue) {
        g.callsSinceCheck = 0;
      } else if (!g.own) {
        shared = g.pool.get();
      } else {
        ++g.callsSinceCheck;
        if (void* block = g.pool->takeCachedLocked(size, capacity, &index)) return block;
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

void freeToGlobal(uint32_t capacity, void* block) {
  BucketMemoryPool* pool = nullptr;
  {
    std::lock_guard lock(poolLock());
    if (global().own && global().pool) {
      if (global().pool->cacheLocked(static_cast<int32_t>(capacity), block)) return;
    } else {
      pool = global().pool.get();
    }
  }
  if (pool) {
    pool->free(static_cast<int32_t>(capacity), &block);
    return;
  }
  freeBlock(block);
}

// A thread's last released blocks of the small classes, so that the common allocate/free pair of a
// short-lived string takes no lock. Only used while the module runs its own pool; given back to the pool in
// use when the thread ends. Its hits count towards the look for the host's pool like any allocation.
class ThreadCache {
 public:
  static constexpr int32_t kClasses = 64;  // the classes up to 256 bytes
  static constexpr int32_t kDepth = 32;

  ThreadCache() = default;
  ThreadCache(const ThreadCache&) = delete;
  ThreadCache& operator=(const ThreadCache&) = delete;
  ~ThreadCache() { flush(); }

  void* take(int32_t size, uint32_t* capacity) {
    int32_t index = size <= 0 ? 0 : (size - 1) / BucketMemoryPool::kGranule;
    if (index >= kClasses || counts_[index] == 0 || ++allocations_ > kHostCheckInterval) return nullptr;
    *capacity = static_cast<uint32_t>(BucketMemoryPool::classSize(index));
    return blocks_[index][--counts_[index]];
  }

  bool keep(uint32_t capacity, void* block) {
    if (capacity % BucketMemoryPool::kGranule != 0) return false;
    int32_t index = static_cast<int32_t>(capacity / BucketMemoryPool::kGranule) - 1;
    if (index < 0 || index >= kClasses || counts_[index] == kDepth) return false;
    blocks_[index][counts_[index]++] = block;
    return true;
  }

  // A miss or the interval's end sends the thread to the global pool, which then counts and looks.
  bool checkDue() {
    if (allocations_ <= kHostCheckInterval) return false;
    allocations_ = 0;
    return true;
  }

  void flush() {
    for (int32_t index = 0; index < kClasses; ++index) {
      while (counts_[index] > 0) {
        freeToGlobal(static_cast<uint32_t>(BucketMemoryPool::classSize(index)),
                     blocks_[index][--counts_[index]]);
      }
    }
  }

 private:
  void* blocks_[kClasses][kDepth];
  int32_t counts_[kClasses] = {};
  int32_t allocations_ = 0;
};

thread_local ThreadCache threadCache;

}  // namespace

void* poolAllocate(int32_t size, uint32_t* capacity) {
  if (ownPoolInUse.load(std::memory_order_relaxed)) {
    if (void* block = threadCache.take(size, capacity)) return block;
    if (threadCache.checkDue()) {
      choosePool();
      if (!ownPoolInUse.load(std::memory_order_relaxed)) threadCache.flush();
    }
  }
  return allocateFromGlobal(size, capacity);
}

void poolFree(uint32_t capacity, void* block) {
  if (!block || capacity == 0) return;
  if (ownPoolInUse.load(std::memory_order_relaxed) && threadCache.keep(capacity, block)) return;
  freeToGlobal(capacity, block);
}

void releaseGlobalPool() {
  IPtr<BucketMemoryPool> released;
  {
    std::lock_guard lock(poolLock());
    std::swap(released, global().pool);
    global().own = false;
    ownPoolInUse = false;
    global().callsSinceCheck = 0;
  }
}
