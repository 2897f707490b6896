// The bucket pool beside the C library's malloc/free for the small blocks strings are made of, on one thread
// and on four. Each iteration takes a batch of blocks of one size and gives them back, last first, as
// short-lived strings do. Arguments: block size, batch. With four threads the figures compared are the
// process's CPU time, which counts every thread's work and its waits for a lock, but not the time a thread
// spends descheduled on a busy machine.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include "framework/memory/bucket_memory_pool.h"
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

void BM_PoolAllocateFree(benchmark::State& state) {
  measureBatches(state, poolAllocate, poolFree);
}

void sizesAndBatches(benchmark::internal::Benchmark* b) {
  b->ArgNames({"size", "batch"})->ArgsProduct({{16, 32, 64, 128, 256}, {1, 8, 32, 64, 256}});
}

BENCHMARK(BM_MallocFree)->Apply(sizesAndBatches);
BENCHMARK(BM_MallocFree)->Apply(sizesAndBatches)->Threads(4)->MeasureProcessCPUTime();
BENCHMARK(BM_PoolAllocateFree)->Apply(sizesAndBatches);
BENCHMARK(BM_PoolAllocateFree)->Apply(sizesAndBatches)->Threads(4)->MeasureProcessCPUTime();

}  // namespace

int main(int argc, char** argv) {
  // The C library's allocator takes a faster path while a process has never started a thread; the module
  // always runs in a host that has, so both are measured after one.
  std::thread([] {}).join();
  return runWithPeerRatios(argc, argv, {{"BM_PoolAllocateFree", "BM_MallocFree", "vs_malloc"}});
}
