#pragma once

// The command "Real-Time Deviation": while it runs, every move of the hard probe is measured against the CAD
// reference model ("RefObject"), and the signed deviation with its pass state goes to the real-time
// deviation tile; every sampled point is recorded as a row of the point table (Pt1, Pt2, ...) and drawn in
// the view. The table can be cleared, its labels edited, its last point undone from the device and its
// points exported. The tolerance is the setting "Palpera/RealTimeDeviation/Tolerance", written back only by
// apply. A device error ends the run, keeping the table to export. Main thread only, where the device also
// calls the receiver.

#include <cstdint>

#include "commands/deviation/deviation_export.h"
#include "commands/deviation/deviation_graphics.h"
#include "commands/deviation/deviation_points.h"
#include "commands/deviation/point_table_widget.h"
#include "commands/deviation/probe_deviation.h"
#include "devices/contracts/plugin_data_receivers.h"
#include "devices/contracts/plugin_device.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/commands/comp_base_cmd.h"
#include "framework/host_glue/document_glue.h"
#include "framework/object/iptr.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_mesh.h"
#include "host_api/zel_table.h"
#include "ui/probe/zel_hard_probe_probe_gfx.h"
#include "ui/tiles/zel_hard_probe_tile.h"

class PalperaRealTimeDeviationCmd : public CompBaseCmd,
                                    public IZelHardProbeDataReceiverV2,
                                    public IZelTableModifier {
 public:
  static constexpr const char* interfaceName = "PalperaRealTimeDeviationCmd";

  // Dialog controls.
  enum Control : int32_t {
    kToleranceBox = 0,
    kTableButtonBox = 1,
    kClearTableButton = 2,
    kExportButton = 3,
    kOptionsBox = 4,
    kIncludeLabelsCheck = 5,
    kIncludeDeviationsCheck = 6,
    kIncludePassFailCheck = 7,
  };
  // The longest label a user may give a point.
  static constexpr int32_t kMaxLabelLength = 64;

  PalperaRealTimeDeviationCmd();

  bool canRun(IZelUnknown* context) override;
  void createGui(IGuiDialog* dialog) override;
  // Finds the reference model, connects the device and shows the tile; false, with everything undone, when
  // one of them fails.
  bool activate() override;
  void deactivate() override;
  bool apply() override;
  void onGuiEvent(int32_t controlId, int32_t value) override;
  void onGuiValue(int32_t controlId, double value) override;
  // A check box reports its state either way, as an event or as a changed value.
  void onGuiValueChanged(int32_t controlId, int32_t value) override;

  // IZelHardProbeDataReceiver
  void setProbeRadius(double radius) override { probeRadius_ = radius; }
  void onMoved(const Vector3& point, const Vector3& to, const Vector3& up) override;
  void onPointSampled(const Vector3& point) override;
  void onPointStop(const Vector3&) override {}
  void onCustomEvent(const ZelCString& name, IZelUnknown* payload) override;

  // IZelTableModifier: only the labels of the points' rows may be edited.
  bool isCellEditable(int32_t row, int32_t column) override;
  void cellChanged(int32_t row, int32_t column, const ZelString& text) override;
  void subjectCreated(IZelUnknown*) override {}
  void subjectDestroyed(IZelUnknown*) override {}

  // The recorded points and the table, for the host's inspection.
  DeviationPoints& points() { return points_; }
  PointTableWidget& pointTable() { return *pointTable_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  bool findReference();
  bool connect();
  // Takes back what connect did, as far as it got.
  void disconnect();
  void restoreReferenceDisplay();
  void closeTile();
  std::optional<ProbeDeviation> measure(const Vector3& centre) const;
  void enableTableButtons(bool enabled);
  // Stores a check box's state in its export option; false for a control that is none of them.
  bool setExportOption(int32_t controlId, int32_t value);

  // The run's end at a device error: the device is let go, the table kept.
  void endAfterError();
  void undoLastPoint();
  void clearPoints();
  void refreshLabels();

  IPtr<PointTableWidget> pointTable_;
  IPtr<IZelHardProbeTile> tile_;
  IPtr<IZelDocObject> refObject_;
  IPtr<IZelMeshExt> mesh_;
  ObjectPlacement placement_;  // of refObject_, read at activation
  IPtr<IZelClosestPointOnCad> closestPoint_;
  IPtr<ICSysService> csys_;
  bool connected_ = false;
  double probeRadius_ = 0;
  double tolerance_ = 1e-7;
  int32_t pointCounter_ = 0;
  DeviationPoints points_;
  DeviationGraphics graphics_;
  ShownReference referenceDisplay_;
  DeviationExportOptions exportOptions_;

  IPtr<IZelPluginService> pluginService_;
  IPtr<IZelPluginDevice> device_;  // held while connected, and while a failed connection is undone
  IPtr<IZelHardProbeProbeGfx> probeGfx_;
};
