// ZelString beside std::u16string: building a key from three parts, and ordering and comparing for equality
// two strings of equal length, the peer through the standard library's own comparison (compare, ==).
// Arguments: the length of a part or string, and where the compared strings first differ (in percent of their
// length).

#include <benchmark/benchmark.h>

#include <string>

#include "basic_types/zel_string.h"
#include "bench_host.h"
#include "peer_ratio.h"

namespace {

std::u16string filled(int64_t length, char16_t unit) {
  return std::u16string(static_cast<size_t>(length), unit);
}

ZelString owned(const std::u16string& text) {
  ZelString copy;
  copy.setBuffer(text.c_str(), -1);
  return copy;
}

void BM_U16StringBuild(benchmark::State& state) {
  const std::u16string part = filled(state.range(0), u'p');
  for (auto _ : state) {
    std::u16string key(part);
    key += part;
    key += part;
    benchmark::DoNotOptimize(key.data());
  }
}

void BM_ZelStringBuild(benchmark::State& state) {
  const ZelString part = owned(filled(state.range(0), u'p'));
  for (auto _ : state) {
    ZelString key(part);
    key += part;
    key += part;
    benchmark::DoNotOptimize(key.data());
  }
}

// Two texts of the argument's length, equal up to the argument's place of their first difference.
std::pair<std::u16string, std::u16string> differing(const benchmark::State& state) {
  std::u16string a = filled(state.range(0), u'k');
  std::u16string b = a;
  const auto at = static_cast<size_t>(state.range(0) * state.range(1) / 100);
  b[at < b.size() ? at : b.size() - 1] = u'm';
  return {a, b};
}

void BM_U16StringCompare(benchmark::State& state) {
  const auto [a, b] = differing(state);
  for (auto _ : state) benchmark::DoNotOptimize(a.compare(b) < 0);
}

void BM_ZelStringCompare(benchmark::State& state) {
  const auto [first, second] = differing(state);
  const ZelString a = owned(first);
  const ZelString b = owned(second);
  for (auto _ : state) benchmark::DoNotOptimize(a < b);
}

void BM_U16StringEqual(benchmark::State& state) {
  const auto [a, b] = differing(state);
  for (auto _ : state) benchmark::DoNotOptimize(a == b);
}

void BM_ZelStringEqual(benchmark::State& state) {
  const auto [first, second] = differing(state);
  const ZelString a = owned(first);
  const ZelString b = owned(second);
  for (auto _ : state) benchmark::DoNotOptimize(a == b);
}

// The same with the module attached to a host that offers no ordering of its own.
void BM_ZelStringCompareInHost(benchmark::State& state) {
  attachModule();
  BM_ZelStringCompare(state);
}

void lengths(benchmark::internal::Benchmark* b) {
  b->ArgName("length")->RangeMultiplier(4)->Range(4, 1024);
}

void lengthsAndDifferences(benchmark::internal::Benchmark* b) {
  b->ArgNames({"length", "differs_at_percent"})->ArgsProduct({{8, 32, 128, 1024}, {50, 100}});
}

BENCHMARK(BM_U16StringBuild)->Apply(lengths);
BENCHMARK(BM_ZelStringBuild)->Apply(lengths);
BENCHMARK(BM_U16StringCompare)->Apply(lengthsAndDifferences);
BENCHMARK(BM_ZelStringCompare)->Apply(lengthsAndDifferences);
BENCHMARK(BM_ZelStringCompareInHost)->Apply(lengthsAndDifferences);
BENCHMARK(BM_U16StringEqual)->Apply(lengthsAndDifferences);
BENCHMARK(BM_ZelStringEqual)->Apply(lengthsAndDifferences);

}  // namespace

int main(int argc, char** argv) {
  return runWithPeerRatios(argc, argv,
                           {{"BM_ZelStringBuild", "BM_U16StringBuild", "vs_u16string"},
                            {"BM_ZelStringCompare", "BM_U16StringCompare", "vs_u16string"},
                            {"BM_ZelStringCompareInHost", "BM_U16StringCompare", "vs_u16string"},
                            {"BM_ZelStringEqual", "BM_U16StringEqual", "vs_u16string"}});
}
