#pragma once

// The process-wide pool of small blocks behind every string buffer. Released blocks wait in per-class free
// lists (last in, first out) and are handed out again; nothing goes back to the heap before releaseAll,
// except a block released while its free list cannot grow. The module shares the host's pool when the host
// offers one, and otherwise runs its own until the host's appears; then each cached block is handed to the
// host's pool through its interface. Every free-list operation runs under one global lock, from any thread;
// new blocks, new free-list room and direct blocks are made and freed outside it, so the lock never waits on
// the heap or the host, and a release never fails or throws. While the module runs its own pool, each thread
// also keeps its last released blocks of each class up to 256 bytes for itself (no lock at all for a
// short-lived string), trades them with the pool in batches when it keeps too many or has run out (or, when
// the pool has none either, makes a run of new ones side by side in one allocation), and gives
// them back to the pool when it ends; releases that come after that (static strings at exit) go to the pool
// in use.
//
// A negative size is never a block: it is out of memory, as is a size past what 32-bit sizes hold.

#include <array>
#include <cstdint>

#include "framework/object/zel_unknown_impl.h"
#include "host_api/bucket_memory_pool.h"

class BucketMemoryPool : public IBucketMemoryPool, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "BucketMemoryPool";
  // Requests up to this many bytes are served by granule classes of kGranule bytes.
  static constexpr int32_t kGranule = 4;
  static constexpr int32_t kSmallLimit = 8192;
  // The largest request served from the free lists; larger ones are allocated and freed directly.
  static constexpr int32_t kLargeLimit = 262144;
  // Each block starts with a header naming the allocator that frees it.
  static constexpr int32_t kHeaderBytes = 8;

  BucketMemoryPool() = default;
  ~BucketMemoryPool() override;

  bool releaseAll() override;
  void* allocate(int32_t size, uint32_t* capacity) override;
  bool free(int32_t capacity, void** block) override;
  void setEnabled(bool on) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

  // Gives every cached block to target through its interface; this pool keeps none. No lock is held while
  // target is called.
  void handOver(IBucketMemoryPool& target);
  // The number of cached blocks of the class that serves size bytes (for tests and benchmarks).
  int32_t cachedBlocks(int32_t size);

  // The class index of a request, or -1 when it is served directly.
  int32_t classIndex(int32_t size) const;
  static int32_t classSize(int32_t index);

  struct Entry {
    uint32_t size;
    void* block;
  };
  // Room for a free list to grow into, made outside the lock: the entries a full list needs, and afterwards
  // whatever is left to free (unused room, or the list's old entries).
  struct Room {
    Entry* entries = nullptr;
    int32_t capacity = 0;
    int32_t wanted = 0;
  };
  enum class Cached { kYes, kDirect, kNeedsRoom };
  // Replaces the room with room.wanted entries; false (and no room) when the heap refuses them.
  static bool makeRoom(Room& room);
  static void freeRoom(Room& room);

  // With the global lock held: a cached block for size bytes, or null with *index set to the class a new
  // block must have (-1: a direct block).
  void* takeCachedLocked(int32_t size, uint32_t* capacity, int32_t* index);
  // With the global lock held: up to most cached blocks of the class in out, the top of its list last;
  // answers how many.
  int32_t takeBatchLocked(int32_t index, void** out, int32_t most);
  // With the global lock held: files count blocks of one capacity in their class, all or none. kDirect:
  // direct blocks, to be freed. kNeedsRoom: their list has no room for them and room holds too little;
  // room.wanted says how much to make before trying again.
  Cached cacheLocked(int32_t capacity, void* const* blocks, int32_t count, Room& room);
  // A new block of the class (or of exactly size bytes for a direct one); no lock needed.
  static void* newBlockOfClass(int32_t size, int32_t index, uint32_t* capacity);

 private:
  // A stack of cached blocks; its entries come from the C heap.
  struct FreeList {
    Entry* entries = nullptr;
    int32_t capacity = 0;
    int32_t count = 0;
  };
  static constexpr int32_t kClasses = 2053;  // 2048 granule classes and five powers of two up to kLargeLimit

  // With the global lock held: the list of the class, emptied here.
  FreeList takeListLocked(int32_t index);

  std::array<FreeList, kClasses> buckets_{};  // guarded by the global lock
  int32_t largeLimit_ = kLargeLimit;          // negative while the pool is switched off
};

// The module's entry for every string buffer: a block of at least size bytes from the pool in use, with its
// usable size in *capacity. Never answers null.
void* poolAllocate(int32_t size, uint32_t* capacity);
// A buffer for a text of units units of unitBytes each plus its terminator, its size computed in 64 bits.
void* poolAllocateText(int64_t units, int32_t unitBytes, uint32_t* capacity);
// Gives a block back with the capacity poolAllocate reported; null or capacity 0 is ignored. Without a pool
// (during unload) the block goes back to the heap through the allocator named in its header.
void poolFree(uint32_t capacity, void* block);

// Gives up the pool in use: cached blocks are freed with the module's own pool, and a pool shared with the
// host is released. Runs at unload, and when the module is detached from its host.
void releaseGlobalPool();
