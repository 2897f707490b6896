#pragma once

// The dump command's printing receiver. It answers the receivers of all three device kinds (single-point,
// continuous, laser scan), so any device can feed it, and writes each call as one line on the standard error
// stream, flushed at once, for example:
//
//   setProbeRadius(0.003)
//   onMoved((1,2,3), (0,0,-1), (0,1,0))
//   onSampled((1,2,3), (0,0,-1), (0,1,0), 640 points, stride: 3)
//   onCustomEvent(Error)
//
// Numbers in the stream's default format (6 significant digits) in the "C" locale, whatever the state of the
// standard error stream; vectors as "(x,y,z)"; arguments separated by ", ". A scan line's points and a
// custom event's payload are not printed. Each line is written whole, so lines never interleave. The device
// calls it on the main thread.

#include "commands/plugin_dump/palpera_dump_cmd.h"
#include "framework/object/zel_unknown_impl.h"

class PalperaDumpCmd::Receiver : public IZelHardProbeDataReceiverV2,
                                 public IZelHardProbeContinuousDataReceiver,
                                 public IZelLaserScanDataReceiver,
                                 public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "Receiver";

  void setProbeRadius(double radius) override;
  void onStartCapture() override;
  void onStopCapture() override;
  void onMoved(const Vector3& point, const Vector3& to, const Vector3& up) override;
  void onPointSampled(const Vector3& point) override;
  void onPointSampled(const Vector3& point, const Vector3& to, const Vector3& up) override;
  void onPointStop(const Vector3& point) override;
  void onSampled(const Vector3& point, const Vector3& to, const Vector3& up, const void* points,
                 uint32_t count, uint32_t stride) override;
  void onStop() override;
  void onCustomEvent(const ZelCString& name, IZelUnknown* payload) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
