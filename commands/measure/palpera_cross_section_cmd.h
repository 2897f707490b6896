#pragma once

// The command "Probe Sections": the operator sweeps a continuous hard probe over the part, and wherever the
// tip's path crosses one of a family of parallel section planes a point goes into that plane's section.
// Finishing fits planar curves through the sections ("Curve" objects); apply writes the section points as
// point objects. The command owns the section planes (MultiplePlanesWidget, laid out from the host's plane
// widget), the receiver of a capture run, one section per plane and the curve-fitting panel.
//
// Created by the host per use; main thread only, where the device also calls the receiver.

#include <array>
#include <cstdint>
#include <vector>

#include "commands/measure/fit_cross_section_points_widget.h"
#include "commands/measure/multiple_planes_widget.h"
#include "commands/measure/section_plane_list.h"
#include "devices/contracts/plugin.h"
#include "devices/contracts/plugin_device.h"
#include "framework/commands/comp_base_cmd.h"
#include "framework/object/iptr.h"
#include "gen/palpera/palpera_cross_section_fitters.h"
#include "host_api/sound_player.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_plane_widget.h"
#include "ui/camera/zel_virtual_camera.h"
#include "ui/probe/zel_hard_probe_probe_gfx.h"

class PalperaCrossSectionCmd : public CompBaseCmdInt, public SectionPlanesOwner, public IZelPlaneWidgetOwner {
 public:
  static constexpr const char* interfaceName = "PalperaCrossSectionCmd";
  class HardProbeDataReceiver;

  // The dialog's own controls.
  enum Control : int32_t {
    kMainBox = 0,
    kPointObjectBox = 3,
    kPointObjectName = 4,
    kMultiplePointObjects = 5,
    kAutomaticViewResize = 6,
    kVirtualCamera = 7,
    kStartCapture = 8,
    kDisplayBox = 10,
    kShowCurveEnds = 11,
  };
  // The curve-fitting panel's kind for this command.
  static constexpr int32_t kPanelKind = 9;

  PalperaCrossSectionCmd();
  ~PalperaCrossSectionCmd() override;

  void onGuiEvent(int32_t id, int32_t value) override;
  void onGuiValueByReference(int32_t id, void* value) override;
  void onGuiValueChanged(int32_t id, int32_t value) override;
  // The plane widget moved its plane: the section planes follow.
  void onPlaneWidgetChange(int32_t kind) override;
  // The view's input goes to the plane widget while no capture runs.
  bool onMousePress(IGfxMouseData* mouse) override;
  bool onMouseMove(IGfxMouseData* mouse) override;
  bool onMouseRelease(IGfxMouseData* mouse) override;
  bool onKeyPress(IGfxKeyData* key) override;

  bool canRun(IZelUnknown* context) override;
  void createGui(IGuiDialog* dialog) override;
  // Connects the device and prepares the panels; false, with "Unable to connect to hard probe device.", when
  // the device is missing or does not connect.
  bool activate() override;
  void deactivate() override;
  // Writes the section points as point objects (one per section when asked and there are several) and the
  // settings.
  bool apply() override;
  // Removes what the command made.
  bool cancel() override;
  // Ends a capture run and fits the curves anew from every section point so far.
  void finish() override;

  // Shows or hides the curve ends of every curve made, as the "Curve Ends" check box says.
  void showCurveEnds();

  // Capture runs.
  // Tells the operator, and starts nothing, while no base plane is picked and no section holds points.
  void startCapture();
  // The sections anew on the planes the widgets give now; false, leaving none, without a base plane.
  bool placeSections();
  void stopCapture(bool finished);
  // approach is the probe's direction as it crossed the plane, toward the material: the side the curve's
  // offset goes to.
  void addSectionPoint(int32_t plane, const Vector3& point, const Vector3& approach);
  void onAcquisitionError();
  void setControlsEnabled(bool enabled);
  // The probe radius becomes the curve offset.
  void setOffset(double radius);
  // Moves the virtual camera with the probe, when there is one.
  void followProbe(const Vector3& position, const Vector3& to, const Vector3& up);
  bool hasDisplayModel() const { return displayModel_.get() != nullptr; }

  bool planeRectangle(std::array<Vector3, 4>& corners) override;

  // For the host's tests.
  const std::vector<IPtr<SectionData>>& sections() const { return sections_; }
  const SectionPlaneList& planes() const { return planes_; }
  IZelDocObject* pointObject() const { return pointObject_.get(); }
  const std::vector<IPtr<IZelDocObject>>& curveObjects() const { return curveObjects_; }
  IZelDocObject* curveGroup() const { return curveGroup_.get(); }
  bool capturing() const { return receiver_.get() != nullptr; }
  MultiplePlanesWidget* multiplePlanesWidget() const { return planesWidget_.get(); }
  FitCrossSectionPointsWidget* curvePanel() const { return curvePanel_.get(); }
  IZelPlaneWidget* planeWidget() const { return planeWidget_.get(); }
  IZelVirtualCamera* virtualCamera() const { return camera_.get(); }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // The plane widget's plane in the section planes' coordinates; invalid without one.
  Plane sectionBasePlane();
  void onCheck(int32_t id, bool on);
  void createVirtualCamera();
  void readSettings();
  void writeSettings();
  void removeCurves();
  bool sectionsHoldPoints() const;
  // Builds one "Point" object per section into a group; false, leaving the document as it was, when one
  // could not be built.
  bool writeSectionPointObjects();
  // Fits each section's curves and builds the curve objects.
  void makeCurves();
  bool checked(int32_t id);
  double value(int32_t id);

  IPtr<IZelPluginDevice> device_;
  IPtr<IZelPlugin> plugin_;
  IPtr<HardProbeDataReceiver> receiver_;
  SectionPlaneList planes_;
  std::vector<IPtr<SectionData>> sections_;
  std::vector<bool> sectionWritten_;              // by section: its array moved into a point object
  std::vector<std::vector<Vector3>> approaches_;  // by section: the probe's direction at each of its points
  IPtr<IZelDocObject> pointObject_;
  IPtr<IZelPoints> displayModel_;
  std::vector<IPtr<IZelDocObject>> curveObjects_;
  IPtr<IZelDocObject> curveGroup_;
  IPtr<IZelPlaneWidget> planeWidget_;
  bool savedPlaneWidgetState_ = false;
  IPtr<MultiplePlanesWidget> planesWidget_;
  IPtr<FitCrossSectionPointsWidget> curvePanel_;
  bool autoResize_ = true;
  double size_ = 0.0;
  IPtr<IZelVirtualCamera> camera_;
  IPtr<IZelHardProbeProbeGfx> probeGfx_;
  IPtr<IZelSoundPlayer> soundPlayer_;
  std::vector<IPtr<IZelDocObject>> activationObjects_;
};
