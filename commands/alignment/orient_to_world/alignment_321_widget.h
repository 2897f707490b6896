#pragma once

// The 3-2-1 plane panel of "Orient To World": puts the device in world coordinates by three probed faces of
// the part. The user first names the signed world axis each of the first two faces looks along (the third
// follows by the right-hand rule), then probes three points on face 1, two on face 2 and one on face 3, each
// face ended by a STOP point taken above it. The faces become probe-compensated planes whose intersection is
// the world origin, and the widget announces "NewTransform" (data: the 16 doubles of the device-to-world
// matrix, row-major, valid during the call), which the hosting command sets on the device.
//
// The hosting command hands it the active plug-in (setPlugin) before activation and listens to its subject:
// "ProbeStart" and "ProbeStop" bracket a probing run. While it probes the device works with the identity as
// its hardware matrix, so the points arrive as the device measures them; a run that does not finish (a
// cancel, a device error, a STOP before any touch) gives back the hardware matrix the device had before.
// Every run ends with the choices cleared. A STOP that cannot build its plane (too few points, a face that
// gives no plane, two plane-2 touches that may lie on a face parallel to plane 1 or whose stop cannot tell
// their side, planes that do not meet in one point) keeps the run, the planes built and the plane's points,
// and tells the operator what the plane needs (ProbedPlanes::refusal).
//
// Controls from the widget's first id b: b the "Planes" box, b + code the six axis buttons (codes 1 to 6:
// +X, -X, +Y, -Y, +Z, -Z), b + code + 6 their pictures, b + 13 "Reset", b + 14 the order label. Created by
// the host per request; main thread only, where the device's events also arrive.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "basic_types/matrix4x4.h"
#include "commands/alignment/common/device_transform_steps.h"
#include "commands/alignment/common/shown_probe.h"
#include "commands/alignment/plane_probing/probed_planes.h"
#include "commands/alignment/plane_probing/probed_points_frame.h"
#include "commands/alignment/plane_probing/sampled_point_markers.h"
#include "devices/contracts/plugin.h"
#include "devices/contracts/plugin_data_receivers.h"
#include "devices/contracts/plugin_device.h"
#include "framework/subject/palpera_subject_base.h"
#include "framework/widgets/zel_widget.h"

class Alignment321Widget : public ZelWidget, public PalperaSubjectBase, public IZelHardProbeDataReceiverV2 {
 public:
  static constexpr const char* interfaceName = "Alignment321Widget";
  static constexpr int32_t kControlCount = 15;
  // An axis choice not made yet.
  static constexpr uint32_t kUnset = 0xFFFFFFFF;
  // Three planes whose normals span less than this volume (the determinant of the three unit normals) do
  // not meet in one point.
  static constexpr double kSmallestDeterminant = 1e-6;

  // The controls, by their offset from the widget's first id.
  enum Control : int32_t {
    kBox = 0,
    kPlusX = 1,
    kMinusX = 2,
    kPlusY = 3,
    kMinusY = 4,
    kPlusZ = 5,
    kMinusZ = 6,
    kPictureOffset = 6,  // a button's picture is at its code + this
    kReset = 13,
    kOrderLabel = 14,
  };

  Alignment321Widget() = default;
  ~Alignment321Widget() override;

  bool buildGui(IGuiDialog* dialog, const ZelString* title) override;
  // Clears the choices.
  bool activate() override;
  // Cancels a probing run first (the device gets its matrix back), then lets the plug-in go.
  void deactivate() override;
  void setEnabled(bool enabled) override { enableBox(enabled); }
  bool isEnabled() override { return isBoxEnabled(); }
  // An axis button chooses its code for the next plane; "Reset" clears the choices.
  void onGuiEvent(int32_t id, int32_t value) override;

  // The active hard-probe plug-in, held without a reference until deactivation.
  void setPlugin(IZelPlugin* plugin) { plugin_ = plugin; }

  // Starts probing plane 1. False, with a message and nothing notified, while a choice is unset; false,
  // with everything undone and "ProbeStop" notified, when the device does not start.
  bool startProbing();
  bool isProbing() const { return probing_; }

  // The axis code chosen for plane 1 to 3, or kUnset.
  uint32_t axisChoice(int plane) const { return choices_[plane - 1]; }
  // The code of plane 3 for the codes of planes 1 and 2 (on different axes): the one that makes the three
  // signed axes right-handed; kUnset for anything else.
  static uint32_t thirdAxis(uint32_t first, uint32_t second);
  // The device-to-world matrix of three planes (n . x = d, unit normals) chosen as codes: each world axis is
  // the signed normal of the plane chosen for it, and the origin is where the planes meet. None when they
  // do not meet in one point or the codes do not name three axes.
  static std::optional<Matrix4x4> worldTransform(const std::array<Plane, 3>& planes,
                                                 const std::array<uint32_t, 3>& codes);

  // IZelHardProbeDataReceiver
  void setProbeRadius(double radius) override { planes_.probeRadius = radius; }
  // The moves make the approach of the next SAMPLE point.
  void onMoved(const Vector3& point, const Vector3& to, const Vector3& up) override;
  void onPointSampled(const Vector3& point) override;
  void onPointStop(const Vector3& point) override;
  // "UndoLastSampled" takes back the last point of the current plane, "Cancel" ends the run, "Error" ends
  // it with a message.
  void onCustomEvent(const ZelCString& name, IZelUnknown* payload) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  int32_t id(int32_t control) const { return idBase() + control; }
  void enable(int32_t control, bool enabled);
  void reset();
  void choose(uint32_t code);
  void refreshLabel();

  // Shows the probe and the markers of the sampled points when "Palpera/Gfx/ShowProbe" is set.
  void showProbeGraphics();
  // Builds the plane of the current step from its points and its stop point; after plane 3 announces the
  // transform. False when a plane or the transform cannot be made.
  bool completeStep();
  // Ends the run: the device stops hearing the widget, the temporary objects go, and with restore the
  // device gets back the hardware matrix it had at the start. Notifies "ProbeStop" and clears the choices.
  void stopProbing(bool restore);
  void fitViewAfterProbing();

  IZelPlugin* plugin_ = nullptr;  // the host command's, held without a reference
  std::array<uint32_t, 3> choices_{kUnset, kUnset, kUnset};
  bool probing_ = false;
  int step_ = 1;                     // the plane being probed
  ProbedPlanes planes_;              // with the current plane's points, its stop point and the probe radius
  int32_t markersAtPlaneStart_ = 0;  // the markers of the planes done
  KeptHardwareMatrix savedMatrix_;   // while probing
  IPtr<IZelPluginDevice> device_;    // while it acquires for the widget
  std::unique_ptr<ProbedPointsFrame> points_;  // the current plane's points, kept in view
  ShownProbe probe_;
  std::unique_ptr<SampledPointMarkers> markers_;
};
