// One whole probed plane, the way an operator gets it: "Hard Probe Features" runs on the stand-in host with a
// single-point plug-in as the current hard probe; each round the plug-in's worker thread sends N touches on
// a face and a stop point above it, the device maps and posts them, the main thread hands them to the
// command's probing run (the collector, the live statistics after every touch, the instructions), and the
// stop fits the plane, takes the probe radius off and adds it to "TestObject". The round ends when the plane
// is in the document, and takes it out again. Beside it, the bare host fit of the same N points:
// `vs_host_fit` is the fit's time over the road's, the share of the road's cost that the fit alone is. In
// process CPU time, both threads' work counted; 10, 100 and 1,000 touches.

#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <vector>

#include "beside_peer.h"
#include "devices/contracts/plugin.h"
#include "devices/plugins/module_plugin.h"
#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"
#include "framework/registrations/registered_classes.h"
#include "host/gui/command_runner.h"
#include "host_fit.h"
#include "module_with_plugin.h"

namespace {

constexpr double kProbeRadius = 0.003;
constexpr const char* kPlaneArguments = "IZelFeature=IZelPlane,IZelFeatureCollector=Plane,UsePlane=false";

// count ball centres over a 100 mm face at z = 0, one radius above it, with 10 µm of noise and a fixed seed.
std::vector<Vector3> touches(int64_t count) {
  std::mt19937_64 rng(7);
  std::normal_distribution<double> noise(0.0, 10e-6);
  std::uniform_real_distribution<double> across(0.0, 0.1);
  std::vector<Vector3> points;
  for (int64_t i = 0; i < count; ++i) points.push_back({across(rng), across(rng), kProbeRadius + noise(rng)});
  return points;
}

// A single-point hard probe whose worker thread sends, on each request, the touches and a stop point above
// the face.
class TouchPlugin : public ModulePlugin, public ModulePluginFace<IZelHardProbePlugin>, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "TouchPlugin";

  explicit TouchPlugin(std::vector<Vector3> touches) : touches_(std::move(touches)) {}

  const ZelString& getName() override { return name_; }

  void run(IZelHardProbeDataReceiver* receiver) override {
    receiver->setProbeRadius(kProbeRadius);
    for (;;) {
      {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [&] { return stopped_ || requested_ > 0; });
        if (stopped_) {
          stopped_ = false;
          return;
        }
        --requested_;
      }
      for (const Vector3& p : touches_) receiver->onPointSampled(p);
      receiver->onPointStop({0.05, 0.05, 0.02});
    }
  }
  void stop() override {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    wake_.notify_all();
  }

  // Main thread: the running plug-in sends one plane's touches and its stop.
  void sendPlane() {
    std::lock_guard lock(mutex_);
    ++requested_;
    wake_.notify_all();
  }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out)
        .classLeaf(interfaceName, this, static_cast<IZelPlugin*>(this))
        .offer<IZelPlugin>(this)
        .offer<IZelHardProbePlugin>(this)
        .end();
  }
  const char* className() override { return interfaceName; }

 private:
  const ZelString name_{u"Touch"};
  const std::vector<Vector3> touches_;
  std::mutex mutex_;
  std::condition_variable wake_;
  int requested_ = 0;     // guarded by mutex_
  bool stopped_ = false;  // guarded by mutex_
};

// The module started on a stand-in host with the touch plug-in as the current hard probe, and "Hard Probe
// Features" running for planes.
class PlaneRoad {
 public:
  explicit PlaneRoad(const std::vector<Vector3>& points)
      : plugin_(new TouchPlugin(points)),
        module_(static_cast<IZelPlugin*>(plugin_.get()), {{"Palpera/Gfx/ShowProbe", 0}}) {
    command_.createInstance(classIdOf("PalperaCreateFeaturesCmd2"));
    module_.host.gui().commandContainer().setArgumentText(kPlaneArguments);
    started_ = command_ && runner_.start(command_.get()) == CommandRunner::Start::kStarted;
  }
  ~PlaneRoad() {
    if (runner_.running()) runner_.cancel();
  }

  bool started() const { return started_; }

  // The touches and the stop from the worker thread to the plane in the document, which is then taken out;
  // false when no plane came.
  bool probePlane() {
    plugin_->sendPlane();
    IPtr<HostDocObject> target;
    const bool added = module_.host.core().mainLoop().runUntil(
        [&] {
          target = probedObject();
          return target && !target->featureSubObjects().subObjects().empty();
        },
        std::chrono::seconds(60));
    if (!added) return false;
    for (const auto& plane : target->featureSubObjects().subObjects())
      target->featureSubObjects().removeSubObject(plane.get());
    return true;
  }

 private:
  IPtr<HostDocObject> probedObject() {
    HostDocument& doc = module_.host.document().doc();
    IZelDocObject* found = doc.findObject(ZelString(u"TestObject"));
    for (const IPtr<HostDocObject>& object : doc.objects()) {
      if (found && object.get() == found) return object;
    }
    return {};
  }

  IPtr<TouchPlugin> plugin_;
  ModuleWithPlugin module_;
  IPtr<IComponentCommand> command_;
  CommandRunner runner_{&module_.host.gui().commandContainer(), &module_.host.gui().dialog(),
                        &module_.host.scene().view()};
  bool started_ = false;
};

void BM_ProbedPlaneFromWorkerToDocument(benchmark::State& state) {
  const std::vector<Vector3> points = touches(state.range(0));
  PlaneRoad road(points);
  if (!road.started() || !road.probePlane() || !hostFit("IZelPlane", points)) {
    state.SkipWithError("the command did not start, or no plane came of the touches");
    return;
  }
  bool planes = true;
  runBesidePeer(
      state, 1, "host_fit", [&] { planes = road.probePlane() && planes; },
      [&] { benchmark::DoNotOptimize(hostFit("IZelPlane", points)); });
  if (!planes) state.SkipWithError("a round brought no plane");
}

}  // namespace

BENCHMARK(BM_ProbedPlaneFromWorkerToDocument)
    ->ArgName("touches")
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
