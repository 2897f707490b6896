#pragma once

// A continuous receiver for benchmarks: it sums the x of every move, so the calls cannot be optimised away.

#include "devices/contracts/plugin_data_receivers.h"
#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"

class SummingReceiver : public IZelHardProbeContinuousDataReceiver, public ZelUnknownImpl {
 public:
  void setProbeRadius(double) override {}
  void onStartCapture() override {}
  void onStopCapture() override {}
  void onMoved(const Vector3& point, const Vector3&, const Vector3&) override { sum += point.x; }
  void onPointSampled(const Vector3&, const Vector3&, const Vector3&) override {}
  void onStop() override {}
  void onCustomEvent(const ZelCString&, IZelUnknown*) override {}
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out)
        .classLeaf("SummingReceiver", this, this)
        .offer<IZelPluginDataReceiver>(this)
        .offer<IZelHardProbeContinuousDataReceiver>(this)
        .end();
  }
  const char* className() override { return "SummingReceiver"; }

  double sum = 0;
};
