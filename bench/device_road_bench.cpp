// The whole road of device events: a plug-in's worker thread calls the device's callback, which maps the
// event into part coordinates, packs it into a record and posts it; the main thread delivers it to a
// receiver that reads every point. Each round the plug-in sends one batch and the main loop is pumped until
// the receiver has had all of it, so the figures include the hand-off between the two threads. Figures are in
// process CPU time, the work of both threads per core, each beside its peer in the same run (beside_peer.h):
// - scan lines through the laser-scan device, 1 to 100 lines of 10 to 10^4 points per round, beside a
//   memcpy of the same lines into as many buffers, each copy then read as the receiver reads its line (the
//   bandwidth limit of any road that copies a line once): `vs_memcpy`; `sleeps_per_line` counts the
//   process's voluntary context switches per line carried, each a thread going to sleep to be woken later;
// - sampled points through the continuous hard-probe device, 1 to 10^4 per round, beside a plain queue
//   between two threads carrying the same events to the same receiver: `vs_queue`.

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "beside_peer.h"
#include "devices/contracts/plugin.h"
#include "devices/contracts/plugin_device.h"
#include "devices/plugins/module_plugin.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"
#include "module_with_plugin.h"

namespace {

// One round's scan lines, each a buffer of its own, as a scanner hands them over one after another.
struct ScanLines {
  ScanLines(int64_t lines, int64_t points) : points(static_cast<uint32_t>(points)) {
    for (int64_t line = 0; line < lines; ++line) {
      std::vector<double>& xyz = buffers.emplace_back(3 * points);
      for (size_t i = 0; i < xyz.size(); ++i) xyz[i] = 0.001 * static_cast<double>(i + line);
    }
  }
  uint64_t pointCount() const { return buffers.size() * points; }

  std::vector<std::vector<double>> buffers;
  uint32_t points;
};

// The sum of a line's coordinates' bits, read at the speed of memory: the figure is the road's and not the
// latency of one long chain of floating-point additions.
uint64_t lineChecksum(const void* line, uint32_t count) {
  const auto* bytes = static_cast<const unsigned char*>(line);
  uint64_t bits = 0;
  for (size_t i = 0; i < 3 * size_t{count}; ++i) {
    uint64_t word;
    std::memcpy(&word, bytes + i * sizeof(word), sizeof(word));
    bits += word;
  }
  return bits;
}

// The event every sampled-point round sends, by the plug-in and by the queue alike.
void samplePoint(IZelHardProbeContinuousDataReceiver& receiver, int i) {
  receiver.onPointSampled({0.001 * i, 0.5, 1}, {0, 0, -1}, {0, 1, 0});
}

// A thread that waits for requests from the main thread and serves each in turn: for a request of count,
// emit(count) on its own thread.
class RequestServer {
 public:
  // Main thread: the serving thread emits count more.
  void send(int count) {
    std::lock_guard lock(mutex_);
    requested_ += count;
    wake_.notify_all();
  }
  void stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    wake_.notify_all();
  }

  // On the serving thread, until stop; a stop ends this serve and the next starts afresh.
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

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  int requested_ = 0;     // guarded by mutex_
  bool stopped_ = false;  // guarded by mutex_
};

// A plug-in that sends on request: sampled points to the continuous face, rounds of scan lines to the
// scanner. Its lines are made before any acquisition starts and only read afterwards.
class BatchPlugin : public ModulePlugin,
                    public ModulePluginFace<IZelHardProbeContinuousPlugin>,
                    public ModulePluginFace<IZelLaserScanPlugin>,
                    public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "BatchPlugin";

  explicit BatchPlugin(const ScanLines* lines) : lines_(lines) {}

  const ZelString& getName() override { return name_; }

  void run(IZelHardProbeContinuousDataReceiver* receiver) override {
    server_.serve([&](int count) {
      for (int i = 0; i < count; ++i) samplePoint(*receiver, i);
    });
  }
  void run(IZelLaserScanDataReceiver* receiver) override {
    server_.serve([&](int rounds) {
      for (int i = 0; i < rounds; ++i) {
        for (const std::vector<double>& line : lines_->buffers)
          receiver->onSampled({0, 0, 1}, {0, 0, -1}, {0, 1, 0}, line.data(), lines_->points, 0);
      }
    });
  }
  void stop() override { server_.stop(); }

  // Main thread: the running face sends count points, or count rounds of lines.
  void send(int count) { server_.send(count); }

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
  const ZelString name_{u"Batch"};
  const ScanLines* const lines_;  // null for a plug-in that sends no lines
  RequestServer server_;
};

// Counts what reaches the main thread and reads every byte of every line once, as a consumer would.
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
    checksum += lineChecksum(line, count);
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
  uint64_t checksum = 0;
  uint64_t points = 0;
};

// The module started on a stand-in host with the batch plug-in chosen by both managers, and one device
// acquiring into the counting receiver.
class DeviceRoad {
 public:
  explicit DeviceRoad(const char* deviceName, const ScanLines* lines = nullptr)
      : plugin_(new BatchPlugin(lines)),
        module_(static_cast<IZelPlugin*>(plugin_.get()), {{"Palpera/MoveEventRateLimit", 0}}) {
    SPtr<IZelPluginService> registry;
    device_ = IPtr<IZelPluginDevice>(registry->getDevice(ZelCString(deviceName)));
    device_->connect();
    device_->addReceiver(static_cast<IZelHardProbeContinuousDataReceiver*>(receiver_.get()));
    device_->startAcquisition();
  }
  ~DeviceRoad() {
    device_->stopAcquisition();
    device_.release();
  }

  // Has the plug-in send count events and delivers until the receiver has had points more points.
  void carry(int count, uint64_t points) {
    const uint64_t target = receiver_->points + points;
    plugin_->send(count);
    module_.host.core().mainLoop().runUntil([&] { return receiver_->points >= target; },
                                            std::chrono::seconds(60));
  }
  CountingReceiver& receiver() { return *receiver_; }

 private:
  IPtr<BatchPlugin> plugin_;
  ModuleWithPlugin module_;
  IPtr<CountingReceiver> receiver_{new CountingReceiver};
  IPtr<IZelPluginDevice> device_;
};

// The sampled-point road's peer: a worker thread that, on request, queues sampled points for the main thread
// under a lock, waking it when the queue fills; the main thread takes all that is queued and hands each
// point to the receiver.
class TwoThreadQueue {
 public:
  explicit TwoThreadQueue(IZelHardProbeContinuousDataReceiver* receiver) : receiver_(receiver) {}
  ~TwoThreadQueue() {
    server_.stop();
    worker_.join();
  }

  // Has the worker queue count points and delivers them all.
  void carry(int count) {
    server_.send(count);
    std::deque<Sample> taken;
    for (int delivered = 0; delivered < count;) {
      {
        std::unique_lock lock(mutex_);
        filled_.wait(lock, [&] { return !queue_.empty(); });
        taken.swap(queue_);
      }
      for (const Sample& sample : taken) receiver_->onPointSampled(sample.point, sample.to, sample.up);
      delivered += static_cast<int>(taken.size());
      taken.clear();
    }
  }

 private:
  struct Sample {
    Vector3 point, to, up;
  };
  struct QueueingReceiver : IZelHardProbeContinuousDataReceiver, ZelUnknownImpl {
    explicit QueueingReceiver(TwoThreadQueue* queue) : queue(queue) {}
    void setProbeRadius(double) override {}
    void onStartCapture() override {}
    void onStopCapture() override {}
    void onMoved(const Vector3&, const Vector3&, const Vector3&) override {}
    void onPointSampled(const Vector3& point, const Vector3& to, const Vector3& up) override {
      queue->push({point, to, up});
    }
    void onStop() override {}
    void onCustomEvent(const ZelCString&, IZelUnknown*) override {}
    void queryInterface(const char*, void** out, bool) override { *out = nullptr; }
    const char* className() override { return "QueueingReceiver"; }
    TwoThreadQueue* queue;
  };

  void push(const Sample& sample) {
    bool wasEmpty = false;
    {
      std::lock_guard lock(mutex_);
      wasEmpty = queue_.empty();
      queue_.push_back(sample);
    }
    if (wasEmpty) filled_.notify_one();
  }

  IZelHardProbeContinuousDataReceiver* const receiver_;
  std::mutex mutex_;
  std::condition_variable filled_;
  std::deque<Sample> queue_;  // guarded by mutex_
  RequestServer server_;
  std::thread worker_{[this] {
    QueueingReceiver queueing(this);
    server_.serve([&](int count) {
      for (int i = 0; i < count; ++i) samplePoint(queueing, i);
    });
  }};
};

void BM_SampledPointsFromWorkerToReceiver(benchmark::State& state) {
  const int points = static_cast<int>(state.range(0));
  DeviceRoad road("HardProbeContinuous");
  TwoThreadQueue queue(&road.receiver());
  runBesidePeer(
      state, points, "queue", [&] { road.carry(points, points); }, [&] { queue.carry(points); });
  benchmark::DoNotOptimize(road.receiver().sum);
}

// The process's voluntary context switches so far: every time one of its threads went to sleep.
int64_t sleepsSoFar() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_nvcsw;
}

void BM_ScanLinesThroughTheLaserDevice(benchmark::State& state) {
  const ScanLines lines(state.range(0), state.range(1));
  DeviceRoad road("LaserScan", &lines);
  std::vector<std::vector<double>> copies(lines.buffers.size(), std::vector<double>(3 * lines.points));
  uint64_t peerChecksum = 0;
  // The copies' reader sleeps never, so the sleeps counted around both are the road's.
  const int64_t sleepsBefore = sleepsSoFar();
  runBesidePeer(
      state, static_cast<int64_t>(lines.pointCount()), "memcpy", [&] { road.carry(1, lines.pointCount()); },
      [&] {
        for (size_t line = 0; line < copies.size(); ++line) {
          std::memcpy(copies[line].data(), lines.buffers[line].data(), 3 * lines.points * sizeof(double));
          benchmark::ClobberMemory();
          peerChecksum += lineChecksum(copies[line].data(), lines.points);
        }
      });
  state.counters["sleeps_per_line"] =
      static_cast<double>(sleepsSoFar() - sleepsBefore) /
      static_cast<double>(state.iterations() * static_cast<int64_t>(lines.buffers.size()));
  benchmark::DoNotOptimize(road.receiver().checksum);
  benchmark::DoNotOptimize(peerChecksum);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(lines.pointCount() * 3 * sizeof(double)));
}

}  // namespace

BENCHMARK(BM_SampledPointsFromWorkerToReceiver)
    ->RangeMultiplier(10)
    ->Range(1, 10000)
    ->MeasureProcessCPUTime();
BENCHMARK(BM_ScanLinesThroughTheLaserDevice)
    ->ArgNames({"lines", "points"})
    ->ArgsProduct({{1, 10, 100}, {10, 100, 1000, 2000, 10000}})
    ->MeasureProcessCPUTime();
