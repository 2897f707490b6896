// Device events on the main thread, each figure beside the same receiver calls made directly (`vs_direct`,
// beside_peer.h):
// - one move through the module's handler (the receiver set copied under the device lock, the record read
//   afresh for each receiver), for 1 to 64 receivers;
// - the whole road through the host, 1 to 10^4 moves a round (each a fresh record and data event, posted,
//   then delivered by one pump of the main loop) to four receivers.

#include <benchmark/benchmark.h>

#include <vector>

#include "beside_peer.h"
#include "devices/events/device_event_handlers.h"
#include "devices/events/device_event_names.h"
#include "devices/records/plugin_device_data.h"
#include "framework/object/host_detach.h"
#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"
#include "framework/registrations/registered_classes.h"
#include "host/standin_host.h"
#include "host_api/main_application.h"
#include "host_api/zel_component.h"
#include "host_api/zel_initializer.h"
#include "summing_receiver.h"

namespace {

constexpr int kRoadReceivers = 4;

// The module on a stand-in host, with one continuous device's receivers and handlers.
class DeviceEventsBench {
 public:
  explicit DeviceEventsBench(int64_t receivers) {
    uint32_t version = 0;
    IZelComponent* raw = nullptr;
    EntryPoint(&version, &raw);
    component_ = raw;
    host_.attach(component_.get());
    IPtr<IZelInitializer> adder;
    adder.createInstance(classIdOf("PalperaDataItemAdder"));
    adder->initialise();
    registerDeviceEventNames(ContinuousEventNames::kGroup, ContinuousEventNames::kAll);
    for (int64_t i = 0; i < receivers; ++i) {
      receivers_.emplace_back(new SummingReceiver);
      set_.add(receivers_.back().get());
    }
    handlers_ = makeContinuousEventHandlers(&set_);
  }
  ~DeviceEventsBench() {
    handlers_ = {};
    receivers_.clear();
    detachFromHost();
  }

  IPtr<IZelUnknown> moveRecord(double x) {
    IPtr<IZelPluginDevicePositionOrientationData> record;
    record.createInstance(classIdOf("PluginDevicePositionOrientationData"));
    const double point[3] = {x, 0, 0}, to[3] = {0, 0, -1}, up[3] = {0, 1, 0};
    record->setPoint(point);
    record->setTo(to);
    record->setUp(up);
    return IPtr<IZelUnknown>(record.get());
  }

  IZelDataReceiver* moveHandler() { return handlers_.handlers[3].get(); }
  // The peer of a move's delivery: the same call on each receiver.
  void callDirectly(const Vector3& point) {
    for (IPtr<SummingReceiver>& receiver : receivers_) receiver->onMoved(point, {0, 0, -1}, {0, 1, 0});
  }
  double sum() const { return receivers_.front()->sum; }
  HostMainLoop& loop() { return host_.core().mainLoop(); }

 private:
  StandinHost host_;
  IPtr<IZelComponent> component_;
  DeviceReceivers<IZelHardProbeContinuousDataReceiver> set_;
  std::vector<IPtr<SummingReceiver>> receivers_;
  DeviceEventHandlers handlers_;
};

void BM_MoveThroughTheHandler(benchmark::State& state) {
  DeviceEventsBench bench(state.range(0));
  IPtr<IZelUnknown> record = bench.moveRecord(1);
  runBesidePeer(
      state, 1, "direct",
      [&] { bench.moveHandler()->onDataEvent(ContinuousEventNames::kMoved, record.get()); },
      [&] {
        bench.callDirectly({1, 0, 0});
      });
  benchmark::DoNotOptimize(bench.sum());
}

void BM_MovesPostedAndDelivered(benchmark::State& state) {
  const int64_t moves = state.range(0);
  DeviceEventsBench bench(kRoadReceivers);
  SPtr<IMainApplication> application;
  runBesidePeer(
      state, moves, "direct",
      [&] {
        for (int64_t i = 0; i < moves; ++i) {
          IPtr<IZelDataEvent> event;
          event.getService();
          event->setName(ContinuousEventNames::kMoved);
          event->setData(bench.moveRecord(1).get());
          application->post(event.get());
        }
        bench.loop().runPending();
      },
      [&] {
        for (int64_t i = 0; i < moves; ++i) bench.callDirectly({1, 0, 0});
      });
  benchmark::DoNotOptimize(bench.sum());
}

}  // namespace

BENCHMARK(BM_MoveThroughTheHandler)->ArgName("receivers")->RangeMultiplier(4)->Range(1, 64);
BENCHMARK(BM_MovesPostedAndDelivered)->ArgName("moves")->RangeMultiplier(10)->Range(1, 10000);
