// The bucket pool beside general-purpose allocators for the small blocks strings are made of: the C library's
// malloc/free and, where the build found them, mimalloc and jemalloc (see heap_peers.h), on one thread, four
// and eight. Each iteration takes a batch of blocks of one size and gives them back, last first, as
// short-lived strings do. Arguments: block size, batch. With several threads the figures compared are the
// process's CPU time, which counts every thread's work and its waits for a lock, but not the time a thread
// spends descheduled on a busy machine.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include "framework/memory/bucket_memory_pool.h"
#include "heap_peers.h"
#include "peer_ratio.h"

namespace {

template <class Allocate, class Free>
void measureBatches(benchmark::State& state, Allocate allocate, Free free) {
  const auto size = static_cast<int32_t>(state.range(0));
  const auto batch = static_cast<int>(state.range(1));
  std::vector<void*> blocks(batch);
  std::vector<uint32_t> capacities(batch);
  for (auto _ : state) {
    for (int i = 0; i < batch; ++i) blocks[i] = allocate(size, &capacities[i]);
    benchmark::DoNotOptimize(blocks.data());
    for (int i = batch - 1; i >= 0; --i) free(capacities[i], blocks[i]);
  }
  state.SetItemsProcessed(state.iterations() * batch);
}

void BM_MallocFree(benchmark::State& state) {
  measureBatches(
      state, [](int32_t size, uint32_t*) { return std::malloc(static_cast<size_t>(size)); },
      [](uint32_t, void* block) { std::free(block); });
}

void BM_Mimalloc(benchmark::State& state) {
  measureBatches(
      state, [](int32_t size, uint32_t*) { return theHeapPeers.miMalloc(static_cast<size_t>(size)); },
      [](uint32_t, void* block) { theHeapPeers.miFree(block); });
}

// The sized release is given the size asked for, as a caller that knows it would.
void BM_Jemalloc(benchmark::State& state) {
  measureBatches(
      state,
      [](int32_t size, uint32_t* capacity) {
        *capacity = static_cast<uint32_t>(size);
        return theHeapPeers.jeMallocx(static_cast<size_t>(size), 0);
      },
      [](uint32_t capacity, void* block) { theHeapPeers.jeSdallocx(block, capacity, 0); });
}

void BM_PoolAllocateFree(benchmark::State& state) {
  measureBatches(state, poolAllocate, poolFree);
}

// Every size and batch on one thread, four and eight; peers before the pool, as the report needs them.
void registerSweep(const char* name, void (*function)(benchmark::State&)) {
  for (int threads : {1, 4, 8}) {
    auto* b = benchmark::RegisterBenchmark(name, function)
                  ->ArgNames({"size", "batch"})
                  ->ArgsProduct({{16, 32, 64, 128, 256}, {1, 8, 32, 64, 256}});
    if (threads > 1) b->Threads(threads)->MeasureProcessCPUTime();
  }
}

}  // namespace

int main(int argc, char** argv) {
  reserveStaticTlsForHeapPeers(argv);
  // The C library's allocator takes a faster path while a process has never started a thread; the module
  // always runs in a host that has, so every allocator is measured after one.
  std::thread([] {}).join();
  loadHeapPeers();
  std::vector<PeerRatio> ratios{{"BM_PoolAllocateFree", "BM_MallocFree", "vs_malloc"}};
  registerSweep("BM_MallocFree", BM_MallocFree);
  if (theHeapPeers.miMalloc) {
    registerSweep("BM_Mimalloc", BM_Mimalloc);
    ratios.push_back({"BM_PoolAllocateFree", "BM_Mimalloc", "vs_mimalloc"});
  }
  if (theHeapPeers.jeMallocx) {
    registerSweep("BM_Jemalloc", BM_Jemalloc);
    ratios.push_back({"BM_PoolAllocateFree", "BM_Jemalloc", "vs_jemalloc"});
  }
  registerSweep("BM_PoolAllocateFree", BM_PoolAllocateFree);
  return runWithPeerRatios(argc, argv, ratios);
}
