// One device event on the main thread: the module's handler (the receiver set copied under the device lock,
// the record read afresh for each receiver) beside calling the same receivers directly, and the whole road
// through the host (a fresh record and data event, posted, then delivered by the main loop).

#include <benchmark/benchmark.h>

#include <vector>

#include "devices/events/device_event_handlers.h"
#include "devices/events/device_event_names.h"
#include "devices/records/plugin_device_data.h"
#include "framework/object/host_detach.h"
#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"
#include "framework/registrations/registered_classes.h"
#include "host/api/main_application.h"
#include "host/api/zel_component.h"
#include "host/api/zel_initializer.h"
#include "host/standin_host.h"
#include "summing_receiver.h"

namespace {

constexpr int kReceivers = 4;

// The module on a stand-in host, with one continuous device's receivers and handlers.
class DeviceEventsBench {
 public:
  DeviceEventsBench() {
    uint32_t version = 0;
    IZelComponent* raw = nullptr;
    EntryPoint(&version, &raw);
    component_ = raw;
    host_.attach(component_.get());
    IPtr<IZelInitializer> adder;
    adder.createInstance(classIdOf("PalperaDataItemAdder"));
    adder->initialise();
    registerDeviceEventNames(ContinuousEventNames::kGroup, ContinuousEventNames::kAll);
    for (int i = 0; i < kReceivers; ++i) {
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
  std::vector<IPtr<SummingReceiver>>& receivers() { return receivers_; }
  HostMainLoop& loop() { return host_.mainLoop(); }

 private:
  StandinHost host_;
  IPtr<IZelComponent> component_;
  DeviceReceivers<IZelHardProbeContinuousDataReceiver> set_;
  std::vector<IPtr<SummingReceiver>> receivers_;
  DeviceEventHandlers handlers_;
};

void BM_MoveThroughTheHandler(benchmark::State& state) {
  DeviceEventsBench bench;
  IPtr<IZelUnknown> record = bench.moveRecord(1);
  for (auto _ : state) bench.moveHandler()->onDataEvent(ContinuousEventNames::kMoved, record.get());
  state.SetItemsProcessed(state.iterations());
}

void BM_MoveByDirectCalls(benchmark::State& state) {
  DeviceEventsBench bench;
  const Vector3 point(1, 0, 0), to(0, 0, -1), up(0, 1, 0);
  for (auto _ : state) {
    for (IPtr<SummingReceiver>& receiver : bench.receivers()) receiver->onMoved(point, to, up);
  }
  benchmark::DoNotOptimize(bench.receivers()[0]->sum);
  state.SetItemsProcessed(state.iterations());
}

void BM_MovePostedAndDelivered(benchmark::State& state) {
  DeviceEventsBench bench;
  SPtr<IMainApplication> application;
  for (auto _ : state) {
    IPtr<IZelDataEvent> event;
    event.getService();
    event->setName(ContinuousEventNames::kMoved);
    event->setData(bench.moveRecord(1).get());
    application->post(event.get());
    bench.loop().runPending();
  }
  state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_MoveThroughTheHandler);
BENCHMARK(BM_MoveByDirectCalls);
BENCHMARK(BM_MovePostedAndDelivered);
