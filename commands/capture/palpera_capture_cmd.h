#pragma once

// The host command "Probe Capture": collects point clouds with the hard probe into point objects of the
// document. In single-point mode every button press of the device "HardProbe" is a pass of one point, and the
// undo key takes back the capture's last one; in time and distance mode every start/stop of the device
// "HardProbeContinuous" is a pass, of which the points at least the interval apart in time or in space are
// taken. Each pass is one point object named from the
// dialog's name field. Apply appends the passes to the test object, merges them into a new one, makes a
// single pass the test object or groups them; cancel removes them.
//
// The command is its own device receiver. Created by the host per run; main thread only (device events are
// delivered there). Settings are read at activation and written only by apply.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "basic_types/vector3.h"
#include "devices/contracts/plugin.h"
#include "devices/contracts/plugin_data_receivers.h"
#include "devices/contracts/plugin_device.h"
#include "framework/commands/comp_base_cmd.h"
#include "framework/object/iptr.h"
#include "framework/threads/high_resolution_timer.h"
#include "host_api/points.h"
#include "host_api/sound_player.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_scene_node.h"
#include "ui/camera/zel_virtual_camera.h"
#include "ui/probe/zel_hard_probe_probe_gfx.h"

class PalperaCaptureCmd : public CompBaseCmd,
                          public IZelHardProbeContinuousDataReceiver,
                          public IZelHardProbeDataReceiverV2 {
 public:
  static constexpr const char* interfaceName = "PalperaCaptureCmd";

  enum CaptureMode : int32_t { kSinglePoint = 0, kTime = 1, kDistance = 2 };

  // The dialog's controls.
  enum Control : int32_t {
    kMainBox = 0,
    kPointObjectBox = 1,
    kPointObjectName = 2,
    kPointObjectNameReset = 3,
    kMerge = 4,
    kSampling = 5,
    kSpacing = 6,
    kModeBox = 7,
    kProbeModeSingle = 8,
    kProbeModeSingleImage = 9,
    kProbeModeTime = 10,
    kProbeModeTimeImage = 11,
    kProbeModeDistance = 12,
    kProbeModeDistanceImage = 13,
    kTimeRate = 14,
    kDistanceRate = 15,
    kAutomaticViewResize = 16,
    kVirtualCamera = 17,
    kStartCapture = 18,
  };

  PalperaCaptureCmd();
  PalperaCaptureCmd(const PalperaCaptureCmd&) = delete;
  PalperaCaptureCmd& operator=(const PalperaCaptureCmd&) = delete;
  ~PalperaCaptureCmd() override;

  void onGuiEvent(int32_t id, int32_t value) override;
  void onGuiValue(int32_t id, double value) override;
  // A box's value entered rather than clicked: taken as a click that leaves the box at value.
  void onGuiValueChanged(int32_t id, int32_t value) override;
  bool canRun(IZelUnknown* context) override;
  void createGui(IGuiDialog* dialog) override;
  bool activate() override;
  void deactivate() override;
  bool apply() override;
  bool cancel() override;
  // The host's stop after cancel: ends a capture still running.
  void finish() override { stopCapture(); }

  // Both devices' events (receiver operations shared by both interfaces are answered once).
  void setProbeRadius(double) override {}
  void onMoved(const Vector3& point, const Vector3& to, const Vector3& up) override;
  void onCustomEvent(const ZelCString& name, IZelUnknown* payload) override;
  // The continuous device's.
  void onStartCapture() override { startPass(); }
  void onStopCapture() override { stopPass(); }
  void onPointSampled(const Vector3& point, const Vector3& to, const Vector3& up) override;
  void onStop() override { stopCapture(); }
  // The single-point device's.
  void onPointSampled(const Vector3& point) override { takePoint(point); }
  void onPointStop(const Vector3&) override { stopCapture(); }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // Dialog and settings.
  void readSettings();
  // Keeps the objects current at activation, which cancel makes current again.
  void rememberCurrentObjects();
  void writeSettings();
  void showMode();
  // Takes the state a check box was set to; false for an id that is no box of the command's.
  bool takeBox(int32_t id, bool on);
  // Shows in the Virtual Camera box whether the command holds a camera.
  void showVirtualCamera();
  void chooseMode(CaptureMode mode);
  void updatePointObjectName();
  void enableCaptureControls(bool on);
  void enable(int32_t id, bool on);

  // Device connection.
  bool connectDevice();
  bool connect(const char* deviceName);
  void disconnectDevice();

  // Acquisition.
  void startCapture();
  void stopCapture();
  void startPass();
  void stopPass();
  void takePoint(const Vector3& point);
  // Single-point mode: removes the last point taken in this capture (its pass); nothing when there is none.
  void undoLastPoint();
  void followProbe(const Vector3& position, const Vector3& direction, const Vector3& up);
  void startVirtualCamera();
  void beginPass();
  void addPoint(const Vector3& point, bool click);
  void endPass();
  // Fits the view when the n-th point of the pass lies outside it, or at the 75th point of a first pass;
  // whether it did.
  bool fitViewFor(const Vector3& point, int32_t n);

  // Results.
  bool appendToTestObject();
  void mergePasses();
  void groupPasses();
  void removeAll();

  IPtr<IZelPluginDevice> device_;
  IZelPlugin* plugin_ = nullptr;  // the "HardProbe" manager's active plug-in while a device is connected
  std::vector<IPtr<IZelDocObject>> pointObjects_;  // the passes since activation, oldest first
  IZelGroupNode* passNode_ = nullptr;              // the running pass's, held by its object
  IZelPoints* igp_ = nullptr;                      // the running pass's points, held by its object
  bool autoViewResize_ = true;
  IPtr<IZelVirtualCamera> virtualCamera_;
  bool merge_ = true;
  bool sampling_ = false;
  double spacing_ = 0;
  int32_t mode_ = kSinglePoint;
  bool firstPass_ = true;
  bool firstPoint_ = true;
  double timeRate_ = 1.0;
  HighResolutionTimer timer_;
  double distanceRate_ = 1.0;
  double distanceRate2_ = 1.0;
  Vector3 lastPoint_;
  IPtr<IZelHardProbeProbeGfx> probeGfx_;
  IPtr<IZelSoundPlayer> soundPlayer_;
  // The document's current objects at activation, the first one first; held, so that cancel never hands the
  // document one it removed.
  std::vector<IPtr<IZelDocObject>> activationObjects_;
  bool passOpen_ = false;          // a continuous pass started and not yet stopped
  size_t firstPassOfCapture_ = 0;  // the index in pointObjects_ of the running capture's first pass
  bool capturing_ = false;         // the command is device_'s receiver, from startCapture to stopCapture
};
