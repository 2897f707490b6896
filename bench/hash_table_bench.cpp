// ZelHashTable beside std::unordered_map: inserting and looking up 10^5 owned string keys.

#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "basic_types/zel_cstring.h"
#include "basic_types/zel_hash_table.h"

namespace {

constexpr int kKeys = 100000;

std::string keyText(int i) {
  return "Palpera/Settings/Key" + std::to_string(i);
}

const std::vector<ZelCString>& zelKeys() {
  static const std::vector<ZelCString> keys = [] {
    std::vector<ZelCString> made;
    for (int i = 0; i < kKeys; ++i) made.emplace_back(keyText(i).c_str(), 64);
    return made;
  }();
  return keys;
}

const std::vector<std::string>& stdKeys() {
  static const std::vector<std::string> keys = [] {
    std::vector<std::string> made;
    for (int i = 0; i < kKeys; ++i) made.push_back(keyText(i));
    return made;
  }();
  return keys;
}

void BM_ZelHashTableInsert(benchmark::State& state) {
  const auto& keys = zelKeys();
  for (auto _ : state) {
    ZelHashTable<ZelCString, int32_t> table;
    for (int i = 0; i < kKeys; ++i) table.set(keys[i], i);
    benchmark::DoNotOptimize(table.count());
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}

void BM_UnorderedMapInsert(benchmark::State& state) {
  const auto& keys = stdKeys();
  for (auto _ : state) {
    std::unordered_map<std::string, int32_t> table;
    for (int i = 0; i < kKeys; ++i) table[keys[i]] = i;
    benchmark::DoNotOptimize(table.size());
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}

void BM_ZelHashTableLookup(benchmark::State& state) {
  const auto& keys = zelKeys();
  ZelHashTable<ZelCString, int32_t> table;
  for (int i = 0; i < kKeys; ++i) table.set(keys[i], i);
  for (auto _ : state) {
    int64_t sum = 0;
    for (int i = 0; i < kKeys; ++i) sum += *table.find(keys[i]);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}

void BM_UnorderedMapLookup(benchmark::State& state) {
  const auto& keys = stdKeys();
  std::unordered_map<std::string, int32_t> table;
  for (int i = 0; i < kKeys; ++i) table[keys[i]] = i;
  for (auto _ : state) {
    int64_t sum = 0;
    for (int i = 0; i < kKeys; ++i) sum += table.find(keys[i])->second;
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}

BENCHMARK(BM_ZelHashTableInsert)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnorderedMapInsert)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZelHashTableLookup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnorderedMapLookup)->Unit(benchmark::kMillisecond);

}  // namespace
