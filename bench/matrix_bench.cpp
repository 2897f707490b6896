// Matrix4x4 point transforms beside a plain memcpy of the same bytes: how close the transform of every device
// position comes to the memory-bandwidth limit.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "basic_types/matrix4x4.h"
#include "basic_types/vector3.h"

namespace {

// 24 MiB of points: far beyond the caches, so both runs stream through memory.
constexpr size_t kPoints = 1 << 20;

std::vector<Vector3> points() {
  std::vector<Vector3> made(kPoints);
  for (size_t i = 0; i < kPoints; ++i) made[i] = Vector3(i * 0.001, i * 0.002, 1.0 - i * 0.0005);
  return made;
}

void BM_TransformPoints(benchmark::State& state) {
  std::vector<Vector3> in = points();
  std::vector<Vector3> out(kPoints);
  Matrix4x4 t = Matrix4x4::translation(Vector3(0.1, -0.2, 0.3)) * Matrix4x4::rotation(Vector3(1, 2, 3), 0.4);
  for (auto _ : state) {
    for (size_t i = 0; i < kPoints; ++i) out[i] = Matrix4x4::transformPoint(t, in[i]);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
  state.SetBytesProcessed(state.iterations() * kPoints * sizeof(Vector3));
}

void BM_MemcpyPoints(benchmark::State& state) {
  std::vector<Vector3> in = points();
  std::vector<Vector3> out(kPoints);
  for (auto _ : state) {
    std::memcpy(out.data(), in.data(), kPoints * sizeof(Vector3));
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
  state.SetBytesProcessed(state.iterations() * kPoints * sizeof(Vector3));
}

BENCHMARK(BM_TransformPoints)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpyPoints)->Unit(benchmark::kMillisecond);

}  // namespace
