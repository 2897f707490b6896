#pragma once

// The probe graphics' two device receivers: the single-point one moves the probe on moves only, the
// continuous one on moves and on sampled points; both resize it on a new probe radius. Each calls its probe
// graphics through a plain pointer, which the probe graphics cuts when it lets the receiver go, so a device
// that still holds the receiver reaches nothing. A receiver made without probe graphics reports it and stays
// inert.

#include "devices/contracts/plugin_data_receivers.h"
#include "framework/object/zel_unknown_impl.h"
#include "ui/probe/hard_probe_probe_gfx.h"

class HardProbeProbeGfx::DataReceiver : public IZelHardProbeDataReceiverV2, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "HardProbeProbeGfx::DataReceiver";

  explicit DataReceiver(HardProbeProbeGfx* parent);
  void cut() { parent_ = nullptr; }

  void setProbeRadius(double radius) override;
  void onMoved(const Vector3& point, const Vector3& to, const Vector3& up) override;
  void onPointSampled(const Vector3&) override {}
  void onPointStop(const Vector3&) override {}
  void onCustomEvent(const ZelCString&, IZelUnknown*) override {}

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  HardProbeProbeGfx* parent_;
};

class HardProbeProbeGfx::ContinuousDataReceiver : public IZelHardProbeContinuousDataReceiver,
                                                  public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "HardProbeProbeGfx::ContinuousDataReceiver";

  explicit ContinuousDataReceiver(HardProbeProbeGfx* parent);
  void cut() { parent_ = nullptr; }

  void setProbeRadius(double radius) override;
  void onStartCapture() override {}
  void onStopCapture() override {}
  void onMoved(const Vector3& point, const Vector3& to, const Vector3& up) override;
  void onPointSampled(const Vector3& point, const Vector3& to, const Vector3& up) override;
  void onStop() override {}
  void onCustomEvent(const ZelCString&, IZelUnknown*) override {}

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  HardProbeProbeGfx* parent_;
};
