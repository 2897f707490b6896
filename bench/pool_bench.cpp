// The bucket pool beside the C library's malloc/free for the small blocks strings are made of, on one thread
// and on four. Each iteration takes a batch of blocks and gives them back, as short-lived strings do.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "framework/memory/bucket_memory_pool.h"

namespace {

constexpr int kBatch = 64;

void BM_PoolAllocateFree(benchmark::State& state) {
  const auto size = static_cast<int32_t>(state.range(0));
  std::vector<void*> blocks(kBatch);
  std::vector<uint32_t> capacities(kBatch);
  for (auto _ : state) {
    for (int i = 0; i < kBatch; ++i) blocks[i] = poolAllocate(size, &capacities[i]);
    benchmark::DoNotOptimize(blocks.data());
    for (int i = kBatch - 1; i >= 0; --i) poolFree(capacities[i], blocks[i]);
  }
  state.SetItemsProcessed(state.iterations() * kBatch);
}

void BM_MallocFree(benchmark::State& state) {
  const auto size = static_cast<size_t>(state.range(0));
  std::vector<void*> blocks(kBatch);
  for (auto _ : state) {
    for (int i = 0; i < kBatch; ++i) blocks[i] = std::malloc(size);
    benchmark::DoNotOptimize(blocks.data());
    for (int i = kBatch - 1; i >= 0; --i) std::free(blocks[i]);
  }
  state.SetItemsProcessed(state.iterations() * kBatch);
}

BENCHMARK(BM_PoolAllocateFree)->RangeMultiplier(2)->Range(16, 256);
BENCHMARK(BM_MallocFree)->RangeMultiplier(2)->Range(16, 256);
BENCHMARK(BM_PoolAllocateFree)->RangeMultiplier(2)->Range(16, 256)->Threads(4)->UseRealTime();
BENCHMARK(BM_MallocFree)->RangeMultiplier(2)->Range(16, 256)->Threads(4)->UseRealTime();

}  // namespace
