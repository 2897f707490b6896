#pragma once

// "3-2-1 Device Alignment": aligns the hard-probe device to the part by three planes. The user picks (or
// types) three points of plane 1, two of plane 2 and one of plane 3 on the reference object "RefObject",
// then probes the same faces on the part: SAMPLE points on each face and one STOP point above it. The
// device planes are solved onto the reference planes (plane_alignment_solve.h) and the result becomes the
// device's hardware matrix. Flip reverses a reference plane and solves again, Align solves on demand, and
// "Show Position" follows the probe without recording. With "Palpera/Gfx/ShowProbe" set, each SAMPLE point
// shows where the probe took it, in its plane's colour, while the run goes on, and an undo from the device
// takes it back with the point; the points of a finished run are drawn again through the device transform
// after each alignment.
//
// The hardware matrix found at activation comes back when the command is cancelled; one found when a
// probing run starts comes back when that run is cancelled or its planes cannot be solved. A run that ends
// early leaves the planes and points of the last finished one; a finished run keeps its own, and aligns
// once the references are complete. Deactivation first ends a probing run (as
// cancelled) or the position display, so no receiver outlives the command.
//
// Dialog ids: 0 main box, 1 instructions, 2 to 4 the plane radios (planes 1 to 3), 8 the point radio group
// with 9 to 11 its radios, 12 the point field, 13 Flip, 14 "Probe Points", 15 Align, 16 "Show Position".
// Main thread only.

#include <array>
#include <memory>
#include <vector>

#include "basic_types/plane.h"
#include "commands/alignment/common/device_transform_steps.h"
#include "commands/alignment/device_to_part/device_plane_receiver.h"
#include "commands/alignment/device_to_part/probed_point_graphics.h"
#include "commands/alignment/device_to_part/reference_plane_graphics.h"
#include "commands/alignment/device_to_part/reference_planes.h"
#include "commands/alignment/plane_probing/sampled_point_markers.h"
#include "commands/transform/matrix_widget.h"
#include "devices/contracts/plugin.h"
#include "devices/contracts/plugin_device.h"
#include "framework/commands/comp_base_cmd.h"
#include "framework/object/iptr.h"
#include "framework/subject/zel_subject.h"
#include "host_api/vector_input.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_style_nodes.h"
#include "ui/probe/zel_hard_probe_probe_gfx.h"

class PalperaDeviceToPartAlignmentCmd : public CompBaseCmd, public IZelListener, public DevicePlaneOwner {
 public:
  static constexpr const char* interfaceName = "PalperaDeviceToPartAlignmentCmd";
  using Data = DeviceToPartReferencePlanes;
  using HardProbeDataReceiver = DevicePlaneReceiver;
  using Markers = ReferencePointMarkers;
  using PlaneGfx = ReferencePlaneWidgets;

  PalperaDeviceToPartAlignmentCmd();

  bool canRun(IZelUnknown* context) override;
  void createGui(IGuiDialog* dialog) override;
  // Checks that a hard-probe plug-in and the active reference model are ready (commandReady), connects the
  // "HardProbe" device, finds "RefObject" and starts picking plane 1. False, with the device let go, when
  // the device or its plug-in is missing.
  bool activate() override;
  void deactivate() override;
  // Gives back the hardware matrix the device had at activation.
  bool cancel() override;
  void onGuiEvent(int32_t controlId, int32_t value) override;
  // The point field's text.
  void onGuiValueByReference(int32_t controlId, void* value) override;
  bool onMousePress(IGfxMouseData* mouse) override;
  bool onMouseMove(IGfxMouseData* mouse) override;
  bool onMouseRelease(IGfxMouseData* mouse) override;

  // The Data's announcements and the position display's "Stop".
  void onNotify(const char* event, IZelSubject* subject, void* data) override;

  // DevicePlaneOwner
  void onProbeSampled(const Vector3& point, int step) override;
  void onProbeSampleUndone() override;
  void onProbeStep(int step) override;
  void finishProbing(bool cancelled) override;

  // Solves the current reference and device planes and, when that succeeds, makes the result the device's
  // hardware matrix and answers true; otherwise the device keeps its transform.
  bool applyAlignment();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  bool connectDevice();
  void pick(IGfxMouseData* mouse);
  // Whether the face picked for a point of plane 1 to 3, of this surface normal, fixes what its plane is to fix
  // of the part beyond the planes before it; said to the operator, with its angle, when not.
  bool faceCanServe(int plane, int index, const Vector3& normal);
  void typePoint(const Vector3& point);
  void choosePlane(int radio);
  int selectedPlane();
  int selectedPointIndex();
  void showReferencePoint(int plane, int index);
  void updateFlipButton();
  void updateAlignButton();
  bool canAlign();
  // The faces the reference planes stand for, as far as they are picked.
  std::array<ReferenceFace, 3> referenceFaces() const;
  void startProbing();
  void startShowPosition();
  void stopShowPosition();
  // Switches the main box and the standard controls off for a run of the device, or back on.
  void enableForDevice(bool enabled);
  void select(int32_t id);
  void enable(int32_t id, bool enabled);
  void dropProbeGraphics();
  void showMarkersOf(int plane);

  IPtr<IZelVectorInput> surfaceInput_;
  IPtr<IZelVectorWidget> pointWidget_;
  IPtr<MatrixWidget> matrixWidget_;
  IPtr<IZelDocObject> refObj_;
  IPtr<Data> data_;
  IPtr<PlaneGfx> planeGfx_;
  IPtr<Markers> markers_;
  std::array<Plane, 3> devicePlanes_{};
  std::array<ProbedFace, 3> probedFaces_{};  // what the last finished run told of the faces it probed
  IPtr<IZelPluginDevice> device_;
  IZelPlugin* plugin_ = nullptr;  // the manager's current plug-in, while active
  IPtr<HardProbeDataReceiver> receiver_;
  PositionDisplay position_;
  KeptHardwareMatrix activationMatrix_;
  KeptHardwareMatrix savedMatrix_;  // while probing
  IPtr<IZelHardProbeProbeGfx> probeGraphics_;
  std::unique_ptr<SampledPointMarkers> sampledMarkers_;  // beside the probe graphics
  std::vector<ProbedPoint> probing_;                     // the points of the running probing run
  std::vector<ProbedPoint> probedPoints_;  // those of the last finished run, drawn after each alignment
  ProbedPointGraphics probedGraphics_;
  int32_t planeGroupId_ = 0;
};
