// The whole road of device events: a plug-in's worker thread calls the device's callback, which maps the
// event into part coordinates, packs it into a record and posts it; the main thread delivers it to a
// receiver. Sampled points through the continuous hard-probe device, and scan lines of 2,000 points through
// the laser-scan device beside a memcpy of the same bytes (the bandwidth limit of any road that copies the
// line once).
//
// Each iteration hands the plug-in one batch and pumps the main loop until the receiver has had all of it, so
// the figure includes the hand-off between the two threads.

#include <benchmark/benchmark.h>

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <vector>

#include "devices/contracts/plugin.h"
#include "devices/contracts/plugin_device.h"
#include "devices/plugins/module_plugin.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/object/host_detach.h"
#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"
#include "framework/registrations/registered_classes.h"
#include "host/api/zel_component.h"
#include "host/api/zel_initializer.h"
#include "host/standin_host.h"

namespace {

constexpr uint32_t kLinePoints = 2000;
constexpr int kSampledBatch = 1000;
constexpr int kLineBatch = 20;

// A plug-in that sends batches on request: sampled points to the continuous face, scan lines to the scanner.
class BatchPlugin : public ModulePlugin,
                    public ModulePluginFace<IZelHardProbeContinuousPlugin>,
                    public ModulePluginFace<IZelLaserScanPlugin>,
                    public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "BatchPlugin";

  BatchPlugin() : line_(3 * kLinePoints) {
    for (size_t i = 0; i < line_.size(); ++i) line_[i] = 0.001 * static_cast<double>(i);
  }

  const ZelString& getName() override { return name_; }

  void run(IZelHardProbeContinuousDataReceiver* receiver) override {
    serve([&](int count) {
      for (int i = 0; i < count; ++i) receiver->onPointSampled({0.001 * i, 0.5, 1}, {0, 0, -1}, {0, 1, 0});
    });
  }
  void run(IZelLaserScanDataReceiver* receiver) override {
    serve([&](int count) {
      for (int i = 0; i < count; ++i)
        receiver->onSampled({0, 0, 1}, {0, 0, -1}, {0, 1, 0}, line_.data(), kLinePoints, 0);
    });
  }
  void stop() override {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    wake_.notify_all();
  }

  // Main thread: the running face sends count events.
  void send(int count) {
    std::lock_guard lock(mutex_);
    requested_ += count;
    wake_.notify_all();
  }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out)
        .classLeaf(interfaceName, this, static_cast<IZelPlugin*>(this))
        .offer<IZelPlugin>(this)
        .offer<IZelHardProbeContinuousPlugin>(this)
        .offer<IZelLaserScanPlugin>(this)
        .end();
  }
  const char* className() override { return interfaceName; }

 private:
  template <class Emit>
  void serve(Emit emit) {
    for (;;) {
      int count = 0;
      {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [&] { return stopped_ || requested_ > 0; });
        if (stopped_) {
          stopped_ = false;
          return;
        }
        std::swap(count, requested_);
      }
      emit(count);
    }
  }

  const ZelString name_{u"Batch"};
  std::vector<double> line_;
  std::mutex mutex_;
  std::condition_variable wake_;
  int requested_ = 0;     // guarded by mutex_
  bool stopped_ = false;  // guarded by mutex_
};

// Counts what reaches the main thread, touching every point as a consumer would.
class CountingReceiver : public IZelHardProbeContinuousDataReceiver,
                         public IZelLaserScanDataReceiver,
                         public ZelUnknownImpl {
 public:
  void setProbeRadius(double) override {}
  void onStartCapture() override {}
  void onStopCapture() override {}
  void onMoved(const Vector3&, const Vector3&, const Vector3&) override {}
  void onPointSampled(const Vector3& point, const Vector3&, const Vector3&) override {
    sum += point.x;
    ++points;
  }
  void onSampled(const Vector3&, const Vector3&, const Vector3&, const void* line, uint32_t count,
                 uint32_t) override {
    const auto* xyz = static_cast<const double*>(line);
    for (uint32_t i = 0; i < count; ++i) sum += xyz[3 * i];
    points += count;
  }
  void onStop() override {}
  void onCustomEvent(const ZelCString&, IZelUnknown*) override {}
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out)
        .classLeaf("CountingReceiver", this, static_cast<IZelPluginDataReceiver*>(this))
        .offer<IZelPluginDataReceiver>(this)
        .offer<IZelHardProbeContinuousDataReceiver>(this)
        .offer<IZelLaserScanDataReceiver>(this)
        .end();
  }
  const char* className() override { return "CountingReceiver"; }

  double sum = 0;
  uint64_t points = 0;
};

// The module started on a stand-in host with the batch plug-in chosen by both managers, and one device
// acquiring into the counting receiver.
class DeviceRoad {
 public:
  explicit DeviceRoad(const char* deviceName) {
    uint32_t version = 0;
    IZelComponent* raw = nullptr;
    EntryPoint(&version, &raw);
    component_ = raw;
    host_.attach(component_.get());
    run<IZelInitializer>("PalperaDataItemAdder", &IZelInitializer::initialise);
    host_.dataStore().setInt(nullptr, "Palpera/MoveEventRateLimit", 0);
    host_.pluginHandler().registerPlugin(static_cast<IZelPlugin*>(plugin_.get()));
    run<IZelStartupTask>("PluginDeviceStartupTask", &IZelStartupTask::run);
    run<IZelStartupTask>("PluginManagerStartupTask", &IZelStartupTask::run);
    SPtr<IZelPluginService> registry;
    device_ = IPtr<IZelPluginDevice>(registry->getDevice(ZelCString(deviceName)));
    device_->connect();
    device_->addReceiver(static_cast<IZelHardProbeContinuousDataReceiver*>(receiver_.get()));
    device_->startAcquisition();
  }
  ~DeviceRoad() {
    device_->stopAcquisition();
    device_.release();
    host_.shutdown();
    detachFromHost();
  }

  // Has the plug-in send count events and delivers until the receiver has had points more points.
  void carry(int count, uint64_t points) {
    const uint64_t target = receiver_->points + points;
    plugin_->send(count);
    host_.mainLoop().runUntil([&] { return receiver_->points >= target; }, std::chrono::seconds(60));
  }
  CountingReceiver& receiver() { return *receiver_; }

 private:
  template <class Interface>
  void run(const char* className, void (Interface::*operation)()) {
    IPtr<Interface> object;
    object.createInstance(classIdOf(className));
    ((*object).*operation)();
  }

  StandinHost host_;
  IPtr<IZelComponent> component_;
  IPtr<BatchPlugin> plugin_{new BatchPlugin};
  IPtr<CountingReceiver> receiver_{new CountingReceiver};
  IPtr<IZelPluginDevice> device_;
};

void BM_SampledPointsFromWorkerToReceiver(benchmark::State& state) {
  DeviceRoad road("HardProbeContinuous");
  for (auto _ : state) road.carry(kSampledBatch, kSampledBatch);
  benchmark::DoNotOptimize(road.receiver().sum);
  state.SetItemsProcessed(state.iterations() * kSampledBatch);
}

void BM_ScanLinePointsThroughTheLaserDevice(benchmark::State& state) {
  DeviceRoad road("LaserScan");
  for (auto _ : state) road.carry(kLineBatch, uint64_t{kLineBatch} * kLinePoints);
  benchmark::DoNotOptimize(road.receiver().sum);
  state.SetItemsProcessed(state.iterations() * kLineBatch * kLinePoints);
  state.SetBytesProcessed(state.iterations() * kLineBatch * kLinePoints * 3 * sizeof(double));
}

void BM_ScanLineMemcpy(benchmark::State& state) {
  std::vector<double> source(3 * kLinePoints, 1.0), target(3 * kLinePoints);
  for (auto _ : state) {
    std::memcpy(target.data(), source.data(), source.size() * sizeof(double));
    benchmark::ClobberMemory();
  }
  benchmark::DoNotOptimize(target.data());
  state.SetItemsProcessed(state.iterations() * kLinePoints);
  state.SetBytesProcessed(state.iterations() * kLinePoints * 3 * sizeof(double));
}

}  // namespace

BENCHMARK(BM_SampledPointsFromWorkerToReceiver)->UseRealTime();
BENCHMARK(BM_ScanLinePointsThroughTheLaserDevice)->UseRealTime();
BENCHMARK(BM_ScanLineMemcpy);
