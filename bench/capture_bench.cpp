// "Probe Capture" taking points at the source: a pass of the continuous device in distance mode with the
// automatic view resize on (one mapping into the view and six comparisons per point taken), beside appending
// the same points to a bare point set (`vs_bare_append`, peer_ratio.h), at 10^3, 10^4 and 10^5 points.
// Every point is taken (they lie 2 mm apart, the interval is 1 mm) and in view, so no fit is timed. Then the
// uniform sampling of a finished pass (spacing 1 mm over a 10 cm cube of random points) beside a copy of the
// same set (`vs_copy`), at 10^4, 10^5 and 10^6 points.
//
// Each round begins with a fresh command (or set), made while the timer is paused.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "bench_host.h"
#include "commands/capture/capture_sampling.h"
#include "commands/capture/palpera_capture_cmd.h"
#include "devices/managers/hard_probe_plugin_manager.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/host_glue/point_objects.h"
#include "framework/registrations/registered_classes.h"
#include "host/gui/command_runner.h"
#include "host_api/data_store.h"
#include "host_api/zel_initializer.h"
#include "peer_ratio.h"
#include "tests/devices/support/test_plugin.h"
#include "tests/support/test_device.h"

namespace {

constexpr double kDistanceRate = 0.001;
constexpr double kGridStep = 0.002;

// count points on a square grid 2 mm apart about the origin, row by row, well inside the view's [-1, 1].
std::vector<Vector3> gridPoints(int64_t count) {
  std::vector<Vector3> points;
  const int64_t side = static_cast<int64_t>(std::ceil(std::sqrt(static_cast<double>(count))));
  for (int64_t i = 0; i < count; ++i)
    points.push_back(
        {kGridStep * static_cast<double>(i % side), kGridStep * static_cast<double>(i / side), 0});
  return points;
}

std::vector<Vector3> randomPoints(int64_t count) {
  std::mt19937_64 rng(5);
  std::uniform_real_distribution<double> unit(0.0, 0.1);
  std::vector<Vector3> points;
  for (int64_t i = 0; i < count; ++i) points.push_back({unit(rng), unit(rng), unit(rng)});
  return points;
}

// The command run by the host in distance mode with a test device as "HardProbeContinuous" and a capture
// started after a pass of one point, so that no first-pass fit of the view is due.
class CaptureRun {
 public:
  CaptureRun() {
    static const bool registered = [] {
      IPtr<IZelInitializer> adder;
      adder.createInstance(classIdOf("PalperaDataItemAdder"));
      adder->initialise();
      return true;
    }();
    (void)registered;
    SPtr<IDataStore> store;
    for (const char* key : {"Palpera/Gfx/ShowProbe", "Palpera/Tile/ShowInfo",
                            "Palpera/ProbeCapture/VirtualCamera", "Palpera/ProbeCapture/Sampling"})
      store->setInt(nullptr, key, 0);
    store->setInt(nullptr, "Palpera/ProbeCapture/Mode", PalperaCaptureCmd::kDistance);
    store->setDouble(nullptr, "Palpera/ProbeCapture/DistanceRate", kDistanceRate);
    registry_->setManager(ZelCString("HardProbe"), manager_.get());
    bench_.host.devices().pluginHandler().registerPlugin(static_cast<IZelPlugin*>(arm_.get()));
    ZelString error;
    if (!manager_->setActivePlugin(arm_.get()) ||
        !static_cast<IZelHardProbePlugin*>(arm_.get())->connect(error))
      std::abort();
    registry_->setDevice(ZelCString("HardProbeContinuous"), device_.get());
    command_.createInstance(classIdOf("PalperaCaptureCmd"));
    if (runner_.start(command_.get()) != CommandRunner::Start::kStarted) std::abort();
    bench_.host.gui().dialog().pressButton(PalperaCaptureCmd::kStartCapture);
    pass({{0, 0, 0}});
    receiver()->onStop();
    bench_.host.gui().dialog().pressButton(PalperaCaptureCmd::kStartCapture);
  }
  CaptureRun(const CaptureRun&) = delete;
  CaptureRun& operator=(const CaptureRun&) = delete;
  ~CaptureRun() {
    runner_.cancel();
    registry_->setDevice(ZelCString("HardProbeContinuous"), nullptr);
  }

  void pass(const std::vector<Vector3>& points) {
    IZelHardProbeContinuousDataReceiver* r = receiver();
    r->onStartCapture();
    for (const Vector3& p : points) r->onPointSampled(p, {0, 0, -1}, {0, 1, 0});
    r->onStopCapture();
  }

 private:
  IZelHardProbeContinuousDataReceiver* receiver() {
    void* part = nullptr;
    command_->queryInterface(IZelHardProbeContinuousDataReceiver::interfaceName, &part, false);
    return static_cast<IZelHardProbeContinuousDataReceiver*>(part);
  }

  BenchHost& bench_ = attachModule();
  std::vector<std::string> journal_;
  SPtr<IZelPluginService> registry_;
  IPtr<HardProbePluginManager> manager_{new HardProbePluginManager};
  IPtr<TestPlugin> arm_{TestPlugin::arm(u"Arm")};
  IPtr<TestDevice> device_{
      new TestDevice("HardProbeContinuous", "IZelHardProbeContinuousDataReceiver", journal_)};
  IPtr<IComponentCommand> command_;
  CommandRunner runner_{&bench_.host.gui().commandContainer(), &bench_.host.gui().dialog(),
                        &bench_.host.scene().view()};
};

void BM_BareAppend(benchmark::State& state) {
  attachModule();
  const std::vector<Vector3> points = gridPoints(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    IPtr<IZelPoints> set = createPointSet();
    state.ResumeTiming();
    for (const Vector3& p : points) {
      const double xyz[3] = {p.x, p.y, p.z};
      set->appendPoint(xyz, 0, true);
      set->update();
    }
    benchmark::DoNotOptimize(set->pointCount());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_CaptureDistanceMode(benchmark::State& state) {
  const std::vector<Vector3> points = gridPoints(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto run = std::make_unique<CaptureRun>();
    state.ResumeTiming();
    run->pass(points);
    state.PauseTiming();
    run.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

IPtr<IZelPoints> pointSetOf(const std::vector<Vector3>& points) {
  IPtr<IZelPoints> set = createPointSet();
  for (const Vector3& p : points) {
    const double xyz[3] = {p.x, p.y, p.z};
    set->appendPoint(xyz, 0, false);
  }
  return set;
}

void BM_CopyOfTheSet(benchmark::State& state) {
  attachModule();
  IPtr<IZelPoints> source = pointSetOf(randomPoints(state.range(0)));
  IZelPoints* sets[2] = {nullptr, source.get()};
  for (auto _ : state) {
    IPtr<IZelPoints> copy = createPointSet();
    copy->merge(sets, 1, 0, true, nullptr);
    benchmark::DoNotOptimize(copy->pointCount());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_UniformSampling(benchmark::State& state) {
  attachModule();
  const std::vector<Vector3> points = randomPoints(state.range(0));
  int32_t kept = 0;
  for (auto _ : state) {
    state.PauseTiming();
    IPtr<IZelPoints> set = pointSetOf(points);
    state.ResumeTiming();
    samplePoints(set.get(), kDistanceRate);
    kept = set->pointCount();
  }
  state.counters["kept"] = kept;
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_BareAppend)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CaptureDistanceMode)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyOfTheSet)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UniformSampling)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return runWithPeerRatios(argc, argv,
                           {{"BM_CaptureDistanceMode", "BM_BareAppend", "vs_bare_append"},
                            {"BM_UniformSampling", "BM_CopyOfTheSet", "vs_copy"}});
}
