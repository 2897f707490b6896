// ZelString beside std::u16string: building a key from parts, and ordering two keys of equal length.

#include <benchmark/benchmark.h>

#include <string>

#include "basic_types/zel_string.h"

namespace {

void BM_ZelStringBuild(benchmark::State& state) {
  for (auto _ : state) {
    ZelString key(u"Palpera/Events/");
    key += ZelString(u"Continuous");
    key += ZelString(u"/MovedEvent");
    benchmark::DoNotOptimize(key.data());
  }
}

void BM_U16StringBuild(benchmark::State& state) {
  for (auto _ : state) {
    std::u16string key(u"Palpera/Events/");
    key += u"Continuous";
    key += u"/MovedEvent";
    benchmark::DoNotOptimize(key.data());
  }
}

void BM_ZelStringCompare(benchmark::State& state) {
  ZelString a(u"Palpera/Events/Continuous/MovedEvent");
  ZelString b(u"Palpera/Events/Continuous/StopsEvent");
  for (auto _ : state) benchmark::DoNotOptimize(a < b);
}

void BM_U16StringCompare(benchmark::State& state) {
  std::u16string a(u"Palpera/Events/Continuous/MovedEvent");
  std::u16string b(u"Palpera/Events/Continuous/StopsEvent");
  for (auto _ : state) benchmark::DoNotOptimize(a < b);
}

BENCHMARK(BM_ZelStringBuild);
BENCHMARK(BM_U16StringBuild);
BENCHMARK(BM_ZelStringCompare);
BENCHMARK(BM_U16StringCompare);

}  // namespace
