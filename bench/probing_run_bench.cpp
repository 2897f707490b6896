// One sampled point of a probing run: the device's call into the relay, the collector taking the point, and
// the live statistics (a trial fit through every point taken so far, then their distances to it), beside the
// host fit alone on the same points (`vs_host_fit`, peer_ratio.h). Plane and cylinder, with 10, 100 and
// 1,000 probe-tip centres already taken (10 µm of noise). Beyond 128 points the run refits only once the
// points have changed by a thirty-second of their count, so at 1,000 points a sampled point pays a share of
// a fit: items_per_second is the run's sustained rate there.
//
// Both are timed per call, in the process's CPU time: after each sampled point the run undoes it again,
// untimed, so every round meets the same number of points taken. BM_CollectorInstructions is the share of a
// point's cost that does not grow with the points: the instructions with their pictures shown after it.

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "bench_host.h"
#include "beside_peer.h"
#include "commands/features/zel_hard_probe_create_features_util.h"
#include "devices/registry/izel_plugin_service.h"
#include "features/collectors/zel_feature_collector.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "host_api/data_store.h"
#include "host_api/zel_initializer.h"
#include "host_fit.h"
#include "peer_ratio.h"
#include "tests/support/test_device.h"

namespace {

constexpr double kProbeRadius = 0.001;

enum class Kind { kPlane, kCylinder };

const char* collectorOf(Kind kind) {
  return kind == Kind::kPlane ? "PlaneCollector" : "CylinderCollector";
}
const char* fitterTypeOf(Kind kind) {
  return kind == Kind::kPlane ? "IZelPlane" : "IZelCylinder";
}

// count + 1 probe-tip centres on a 100 mm face, or in a bore of radius 10 mm probed in five rings 4 mm apart,
// with a fixed seed; the last is the point each round samples.
std::vector<Vector3> tips(Kind kind, int64_t count) {
  std::mt19937_64 rng(11);
  std::normal_distribution<double> noise(0.0, 10e-6);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<Vector3> points;
  for (int64_t i = 0; i <= count; ++i) {
    Vector3 p{0.1 * unit(rng), 0.1 * unit(rng), kProbeRadius};
    if (kind == Kind::kCylinder) {
      const double a = 6.283185307179586 * unit(rng);
      const double r = 0.01 - kProbeRadius;
      p = {std::cos(a) * r, std::sin(a) * r, 0.004 * static_cast<double>(5 * i / (count + 1))};
    }
    points.push_back(p + Vector3{noise(rng), noise(rng), noise(rng)});
  }
  return points;
}

// A probing run of the kind through the utility, with a test device as "HardProbe" and the points taken.
class ProbingRun {
 public:
  ProbingRun(Kind kind, const std::vector<Vector3>& taken) {
    IPtr<IZelInitializer> adder;
    adder.createInstance(classIdOf("PalperaDataItemAdder"));
    adder->initialise();
    SPtr<IDataStore> store;
    store->setInt(nullptr, "Palpera/Gfx/ShowProbe", 0);
    devices_->setDevice(ZelCString("HardProbe"), device_.get());
    target_ = bench_.host.document().doc().add({"Point", u"TestObject", std::nullopt, {}, {}}, false);
    util_.createInstance(classIdOf("HardProbeCreateFeaturesUtil"));
    util_->setTargetObject(target_.get());
    util_->setCollectorClassId(classIdOf(collectorOf(kind)));
    util_->connect();
    started_ = util_->startFeature();
    each([](IZelHardProbeDataReceiver* r) { r->setProbeRadius(kProbeRadius); });
    for (const Vector3& p : taken) sample(p);
  }
  ~ProbingRun() {
    if (util_) util_->stopFeature();
    devices_->setDevice(ZelCString("HardProbe"), nullptr);
  }

  bool started() const { return started_ && device_->receiverCount() == 1; }
  void sample(const Vector3& p) {
    each([&](IZelHardProbeDataReceiver* r) { r->onPointSampled(p); });
  }
  void undo() {
    each([](IZelHardProbeDataReceiver* r) {
      r->onCustomEvent(ZelCString(IZelHardProbeDataReceiver::kUndoLastSampledEvent), nullptr);
    });
  }

 private:
  template <class Call>
  void each(Call call) {
    device_->deliver<IZelHardProbeDataReceiver>(call);
  }

  BenchHost& bench_ = attachModule();  // first: the members below look the host up
  std::vector<std::string> journal_;
  IPtr<TestDevice> device_{new TestDevice("HardProbe", "IZelHardProbeDataReceiverV2", journal_)};
  SPtr<IZelPluginService> devices_;
  IPtr<HostDocObject> target_;
  IPtr<IZelHardProbeCreateFeaturesUtil> util_;
  bool started_ = false;
};

// The work's time in the process's CPU seconds: the machine's other work counts for neither side.
template <class Work>
void timeOne(benchmark::State& state, Work work) {
  const double start = processCpuSeconds();
  work();
  state.SetIterationTime(processCpuSeconds() - start);
}

void BM_HostFit(benchmark::State& state, Kind kind) {
  attachModule();
  const std::vector<Vector3> points = tips(kind, state.range(0));
  if (!hostFit(fitterTypeOf(kind), points)) {
    state.SkipWithError("no feature from the points");
    return;
  }
  for (auto _ : state) timeOne(state, [&] { benchmark::DoNotOptimize(hostFit(fitterTypeOf(kind), points)); });
  state.SetItemsProcessed(state.iterations());
}

void BM_SampledPoint(benchmark::State& state, Kind kind) {
  std::vector<Vector3> points = tips(kind, state.range(0));
  const Vector3 next = points.back();
  points.pop_back();
  ProbingRun run(kind, points);
  if (!run.started()) {
    state.SkipWithError("the collector is not built or the run did not start");
    return;
  }
  for (auto _ : state) {
    timeOne(state, [&] { run.sample(next); });
    run.undo();
  }
  state.SetItemsProcessed(state.iterations());
}

// Of a sampled point's cost, the part that does not grow with the points: the collector's new instructions
// for the operator, with their pictures, which the run shows after every point.
void BM_CollectorInstructions(benchmark::State& state) {
  attachModule();
  IPtr<IZelUserInstructionSource> collector;
  collector.createInstance(classIdOf("PlaneCollector"));
  for (auto _ : state) {
    timeOne(state, [&] {
      IPtr<IZelUserInstructions> instructions;
      collector->userInstructions(instructions, true);
      benchmark::DoNotOptimize(instructions.get());
    });
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CollectorInstructions)->UseManualTime()->Unit(benchmark::kMicrosecond);

void sizes(benchmark::internal::Benchmark* b) {
  b->Arg(10)->Arg(100)->Arg(1000)->UseManualTime()->Unit(benchmark::kMicrosecond);
}

BENCHMARK_CAPTURE(BM_HostFit, plane, Kind::kPlane)->Apply(sizes);
BENCHMARK_CAPTURE(BM_SampledPoint, plane, Kind::kPlane)->Apply(sizes);
BENCHMARK_CAPTURE(BM_HostFit, cylinder, Kind::kCylinder)->Apply(sizes);
BENCHMARK_CAPTURE(BM_SampledPoint, cylinder, Kind::kCylinder)->Apply(sizes);

}  // namespace

int main(int argc, char** argv) {
  return runWithPeerRatios(argc, argv,
                           {{"BM_SampledPoint/plane", "BM_HostFit/plane", "vs_host_fit"},
                            {"BM_SampledPoint/cylinder", "BM_HostFit/cylinder", "vs_host_fit"}});
}
