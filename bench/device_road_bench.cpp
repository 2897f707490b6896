// The whole road of device events: a plug-in's worker thread calls the device's callback, which maps the
// event into part coordinates, packs it into a record and posts it; the main thread delivers it to a
// receiver that reads every point. Each round the plug-in sends one batch and the main loop is pumped until
// the receiver has had all of it, so the figures include the hand-off between the two threads. Figures are in
// process CPU time, the work of both threads per core, each beside its peer in the same run (beside_peer.h):
// - scan lines through the laser-scan device, 1 to 100 lines of 10 to 10^4 points per round, beside a
//   memcpy of the same lines into as many buffers, each copy then read as the receiver reads its line (the
//   bandwidth limit of any road that copies a line once): `vs_memcpy`; `sleeps_per_line` counts the
//   process's voluntary context switches per line carried, each a thread going to sleep to be woken later,
//   and `preempted_per_line` its involuntary ones;
//   the same lines through a plain queue between two threads (no mapping, no records) show what the
//   hand-off alone costs beside the same peer;
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

// The event every sampled-point round sends, by the plug-in and by its peer alike.
struct Sample {
  Vector3 point, to, up;
};
Sample sampleAt(int i) {
  return {{0.001 * i, 0.5, 1}, {0, 0, -1}, {0, 1, 0}};
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
      for (int i = 0; i < count; ++i) {
        const Sample sample = sampleAt(i);
        receiver->onPointSampled(sample.point, sample.to, sample.up);
      }
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

// A plain queue between two threads: a worker that, on request, pushes items under a lock, waking the main
// thread when the queue fills; the main thread takes all that is queued at once and consumes each.
template <class Item>
class TwoThreadQueue {
 public:
  // On the worker, produce(count, push) makes what a request of count asks for, handing each item to push.
  template <class Produce>
  explicit TwoThreadQueue(Produce produce)
      : worker_([this, produce] {
          server_.serve([&](int count) { produce(count, [this](Item item) { push(std::move(item)); }); });
        }) {}
  ~TwoThreadQueue() {
    server_.stop();
    worker_.join();
  }

  // Sends the worker a request of count and consumes items items.
  template <class Consume>
  void carry(int count, size_t items, Consume consume) {
    server_.send(count);
    std::deque<Item> taken;
    for (size_t consumed = 0; consumed < items; consumed += taken.size()) {
      taken.clear();
      {
        std::unique_lock lock(mutex_);
        filled_.wait(lock, [&] { return !queue_.empty(); });
        taken.swap(queue_);
      }
      for (const Item& item : taken) consume(item);
    }
  }

 private:
  void push(Item item) {
    bool wasEmpty = false;
    {
      std::lock_guard lock(mutex_);
      wasEmpty = queue_.empty();
      queue_.push_back(std::move(item));
    }
    if (wasEmpty) filled_.notify_one();
  }

  std::mutex mutex_;
  std::condition_variable filled_;
  std::deque<Item> queue_;  // guarded by mutex_
  RequestServer server_;
  std::thread worker_;  // last: it uses the members above
};

void BM_SampledPointsFromWorkerToReceiver(benchmark::State& state) {
  const int points = static_cast<int>(state.range(0));
  DeviceRoad road("HardProbeContinuous");
  CountingReceiver& receiver = road.receiver();
  TwoThreadQueue<Sample> queue([](int count, auto push) {
    for (int i = 0; i < count; ++i) push(sampleAt(i));
  });
  runBesidePeer(
      state, points, "queue", [&] { road.carry(points, points); },
      [&] {
        queue.carry(points, points, [&](const Sample& sample) {
          receiver.onPointSampled(sample.point, sample.to, sample.up);
        });
      });
  benchmark::DoNotOptimize(receiver.sum);
}

// The process's context switches so far: voluntary ones, each a thread going to sleep, and involuntary ones,
// each a running thread put off its core (among them a poster preempted by the thread it has just woken).
struct Switches {
  int64_t sleeps = 0;
  int64_t preemptions = 0;

  static Switches soFar() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return {usage.ru_nvcsw, usage.ru_nivcsw};
  }
};

// Runs round beside a memcpy of the round's lines into as many buffers, each copy then read as the
// receiver reads its line, and counts the context switches per line. The copies' reader never sleeps, so
// the sleeps counted around both are the round's; it is preempted only by the machine's other work.
template <class Round>
void runBesideCopies(benchmark::State& state, const ScanLines& lines, Round round) {
  std::vector<std::vector<double>> copies(lines.buffers.size(), std::vector<double>(3 * lines.points));
  uint64_t checksum = 0;
  const Switches before = Switches::soFar();
  runBesidePeer(state, static_cast<int64_t>(lines.pointCount()), "memcpy", round, [&] {
    for (size_t line = 0; line < copies.size(); ++line) {
      std::memcpy(copies[line].data(), lines.buffers[line].data(), 3 * lines.points * sizeof(double));
      benchmark::ClobberMemory();
      checksum += lineChecksum(copies[line].data(), lines.points);
    }
  });
  const Switches after = Switches::soFar();
  const auto lineCount = static_cast<double>(state.iterations() * static_cast<int64_t>(lines.buffers.size()));
  state.counters["sleeps_per_line"] = static_cast<double>(after.sleeps - before.sleeps) / lineCount;
  state.counters["preempted_per_line"] =
      static_cast<double>(after.preemptions - before.preemptions) / lineCount;
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(lines.pointCount() * 3 * sizeof(double)));
  benchmark::DoNotOptimize(checksum);
}

void BM_ScanLinesThroughTheLaserDevice(benchmark::State& state) {
  const ScanLines lines(state.range(0), state.range(1));
  DeviceRoad road("LaserScan", &lines);
  runBesideCopies(state, lines, [&] { road.carry(1, lines.pointCount()); });
  benchmark::DoNotOptimize(road.receiver().checksum);
}

// What any road between two threads costs before it maps a point: the same lines copied on a worker and read
// on the main thread through a plain queue (TwoThreadQueue), the hand-off's wake-ups included.
void BM_ScanLinesThroughAPlainQueue(benchmark::State& state) {
  const ScanLines lines(state.range(0), state.range(1));
  std::vector<std::vector<double>> copies(lines.buffers.size(), std::vector<double>(3 * lines.points));
  TwoThreadQueue<const double*> queue([&](int rounds, auto push) {
    for (int round = 0; round < rounds; ++round) {
      for (size_t line = 0; line < copies.size(); ++line) {
        std::memcpy(copies[line].data(), lines.buffers[line].data(), 3 * lines.points * sizeof(double));
        push(copies[line].data());
      }
    }
  });
  uint64_t checksum = 0;
  runBesideCopies(state, lines, [&] {
    queue.carry(1, copies.size(), [&](const double* line) { checksum += lineChecksum(line, lines.points); });
  });
  benchmark::DoNotOptimize(checksum);
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
BENCHMARK(BM_ScanLinesThroughAPlainQueue)
    ->ArgNames({"lines", "points"})
    ->ArgsProduct({{1, 10, 100}, {2000}})
    ->MeasureProcessCPUTime();
