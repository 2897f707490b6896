#pragma once

// "Iterative Alignment": the device is aligned to the part on targets the user picks anywhere on the
// reference model ("RefObject") or loads from a location set, and probes roughly where they were picked.
// After every probed point the device is realigned (iterative_realignment.h) and the view flies to the next
// target; a table shows each target's align error and zone deviation. Picks and loaded sets are undone and
// redone with the keys 294 and 295 while nothing probes.
//
// Frames: a probed point is stored with the hardware matrix its acquisition started with taken off (its
// temperature scale kept), so the alignment computed from the stored points is the whole hardware matrix
// the device needs. Each realignment restarts the device with the new matrix; a touch still on its way
// arrives during that restart's stop and is taken off with the matrix the device converted it with. The
// hardware matrix found at activation comes back on cancel. A pass that starts unaligned with reset probes
// through the identity; any pass that ends without an alignment, cancelled or not, gives back the hardware
// matrix it found; one that ends aligned leaves the device with the alignment the table shows. Outside a pass
// a failed realignment gives the device the hardware matrix from activation; inside one the identity, so the
// points keep arriving untransformed. Deactivation first ends a pass (as cancelled) or the position display,
// so no receiver outlives the command.
//
// Dialog ids: 0 main box, 1 instructions, 2 options group, 3 tolerance, 4 targets table, 5 "Probe Points",
// 6 "Show Position", 7 location-set group, 8 location-set list, 9 "Load", 10 statistics label.
// Main thread only: the device calls the receivers there too.

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "basic_types/matrix4x4.h"
#include "basic_types/vector3.h"
#include "commands/alignment/common/alignment_tolerance.h"
#include "commands/alignment/common/device_transform_steps.h"
#include "framework/commands/comp_base_cmd.h"
#include "framework/object/iptr.h"
#include "framework/subject/zel_subject.h"

class IZelDocObject;
class IZelGroupNode;
class IZelHardProbeProbeGfx;
class IZelPlugin;
class IZelPluginDevice;
class IZelSubObjectVisibilityMgr;
class IZelUnknown;
class IZelVectorInput;
class IZelWidget;
class IterativeRealignment;
class MatrixWidget;
class TargetData;
class TargetGraphics;
class ViewPoint;

class PalperaIterativeAlignmentCmd : public CompBaseCmd, public IZelListener {
 public:
  class Target;
  class DiscIterator;
  class RingIterator;
  class DashedRingIterator;
  class ActiveVisibilitySource;
  class BullseyeMaterialSource;
  class ClosestPointFinder;
  class ClosestPointFinderCAD;
  class ClosestPointFinderMesh;
  class HardProbeDataReceiver;
  class FreeHardProbeDataReceiver;
  class TemporaryViewTheme;
  class TargetsTable;
  class IUndoItem;
  class TargetUndoItem;
  class LocationSetUndoItem;

  static constexpr const char* interfaceName = "PalperaIterativeAlignmentCmd";

  enum Control : int32_t {
    kMainBox = 0,
    kInstructionsLabel = 1,
    kOptionsBox = 2,
    kTolerance = 3,
    kTable = 4,
    kStartProbing = 5,
    kShowPosition = 6,
    kLocationSetsBox = 7,
    kLocationSetsList = 8,
    kLoadButton = 9,
    kStatisticsLabel = 10,
  };
  static constexpr int32_t kUndoKey = 294;
  static constexpr int32_t kRedoKey = 295;
  static constexpr int32_t kMinimumTargets = 3;
  static constexpr const char* kToleranceKey = kAlignmentToleranceKey;

  PalperaIterativeAlignmentCmd();
  ~PalperaIterativeAlignmentCmd() override;
  PalperaIterativeAlignmentCmd(const PalperaIterativeAlignmentCmd&) = delete;
  PalperaIterativeAlignmentCmd& operator=(const PalperaIterativeAlignmentCmd&) = delete;

  bool canRun(IZelUnknown* context) override;
  void createGui(IGuiDialog* dialog) override;
  // Checks that a hard-probe plug-in and the active reference model are ready (commandReady), connects the
  // "HardProbe" device and sets everything up on "RefObject". False, with the device let go, without a
  // plug-in, a device that does not connect or a reference object.
  bool activate() override;
  void deactivate() override;
  // Stores the tolerance; the device keeps its alignment.
  bool apply() override;
  // Gives the device back the hardware matrix it had at activation.
  bool cancel() override;
  void onGuiEvent(int32_t controlId, int32_t value) override;
  void onGuiValue(int32_t controlId, double value) override;
  void onGuiValueChanged(int32_t controlId, int32_t value) override;
  // Picks and keys are taken only while nothing probes and the position is not shown.
  bool onMousePress(IGfxMouseData* mouse) override;
  bool onMouseMove(IGfxMouseData* mouse) override;
  bool onMouseRelease(IGfxMouseData* mouse) override;
  bool onKeyPress(IGfxKeyData* key) override;
  // The position display's "Stop".
  void onNotify(const char* event, IZelSubject* subject, void* data) override;

  // Picking and the target list.
  void addTarget(Target* target);
  // A target picked at point with the surface normal there, with its undo item.
  void onPickedVector(const Vector3& point, const Vector3& normal);
  void onToleranceChanged(double value);
  void onListSelection(int32_t entry);
  // 294 undoes, 295 redoes the last pick or loaded set; nothing while probing.
  void onKey(int32_t code);
  bool loadLocationSet(int32_t index);
  // Removes the last entry of the target list.
  void removeLastTarget();
  void setLocationSetEntryEnabled(int32_t index, bool enabled);

  // The probing flow.
  void startProbing(bool reset);
  void stopProbing(bool cancelled);
  void onMoved(const Vector3& point);
  // A point the running acquisition delivers, in the model's own coordinates, where the targets are kept: the
  // device delivers world points once aligned, so its hardware matrix comes off and the last alignment to the
  // model goes on.
  Vector3 inModel(const Vector3& devicePoint) const;
  void onPointMeasured(const Vector3& point, const Vector3& direction, double radius);
  void undoLastSampled();
  void goToTarget(Target* target);
  void showFreeProbingTile();
  // Free probing: puts the target the probe came near at the front of the queue and flies to it; drops it
  // again.
  void approachTarget(Target* target);
  void dropFreeTarget();
  void startShowPosition();
  void stopShowPosition();

  // What tests and scripts read.
  const std::vector<TargetData>& targets() const { return targetData_; }
  std::vector<TargetData>& targets() { return targetData_; }
  double sizeScale() const { return sizeScale_; }
  double tolerance() const { return tolerance_; }
  bool isProbing() const { return static_cast<bool>(receiver_); }
  bool isFreeProbing() const { return freeProbing_; }
  bool isShowingPosition() const { return position_.isRunning(); }
  bool isAligned() const;
  const std::deque<IPtr<Target>>& probeQueue() const { return probeQueue_; }
  size_t undoCount() const { return undoStack_.size(); }
  size_t redoCount() const { return redoStack_.size(); }
  double lastViewSize() const { return lastViewSize_; }
  double zoomDistance() const { return zoomDistance_; }
  bool hasPendingViewPoint() const { return pendingViewPoint_ != nullptr; }
  // The largest side of the reference object's bounding box; 0 when it has none.
  double referenceSize() const { return referenceSize_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  bool connectDevice();
  void releaseDevice();
  void readReferenceSize();
  void fillLocationSets();
  void hideReferenceSubObjects();
  void showStatusText();
  // Realigns, redraws and refreshes the table: what follows every change of the list.
  bool realign();
  void refreshTable();
  void rebuildGraphics();
  void enableForDevice(bool enabled);
  void pushUndoItem(IUndoItem* item);
  void loadSelectedLocationSet();
  bool canTakeInput() const;
  void restartAcquisition();
  // Starts acquisition with the receivers registered; undoes the start of a pass when it fails.
  bool startAcquisition(bool savedSnapshot);
  void removeReceivers();
  void showProbe();
  void dropProbe();
  void askReprobeFailed();
  // Tells the operator when the targets leave the part's far corners freer than the tolerance.
  void tellLooseTargets();
  void flyTo(const ViewPoint& viewPoint);
  TargetData* entryOf(const Target* target);

  IPtr<IZelDocObject> refObj_;
  IPtr<IZelVectorInput> vectorInput_;
  IPtr<IZelWidget> matrixWidget_;
  MatrixWidget* matrixDisplay_ = nullptr;
  IPtr<HardProbeDataReceiver> receiver_;
  IPtr<FreeHardProbeDataReceiver> freeReceiver_;
  PositionDisplay position_;
  IPtr<IZelPluginDevice> device_;
  IZelPlugin* plugin_ = nullptr;
  KeptHardwareMatrix activationMatrix_;
  Matrix4x4 probingSnapshot_;      // the hardware matrix the running or last pass found at its start
  bool resetPass_ = false;         // whether that pass took the matrix off to probe through the identity
  Matrix4x4 acquisitionHardware_;  // the running acquisition's: the device converts its points with it
  IPtr<IZelHardProbeProbeGfx> probeGraphics_;
  std::unique_ptr<TemporaryViewTheme> viewTheme_;
  std::deque<IPtr<Target>> probeQueue_;
  std::deque<IPtr<Target>> probedHistory_;
  std::vector<TargetData> targetData_;
  std::deque<IPtr<IUndoItem>> undoStack_;
  std::vector<IPtr<IUndoItem>> redoStack_;
  std::vector<IPtr<IZelDocObject>> locationSets_;
  double zoomDistance_ = 0;
  std::unique_ptr<ViewPoint> pendingViewPoint_;
  double lastViewSize_ = 0;
  IPtr<IZelSubObjectVisibilityMgr> visibility_;
  IPtr<IZelGroupNode> graphicsRoot_;
  std::unique_ptr<TargetGraphics> graphics_;
  std::unique_ptr<IterativeRealignment> realignment_;
  double sizeScale_ = 1.0;
  double referenceSize_ = 0;
  double tolerance_ = 0.001;
  bool freeProbing_ = false;
  bool restarting_ = false;          // inside a restart's stop, where the touches in transit arrive
  bool reprobeQuestionDue_ = false;  // a pass ended inside that stop; the question waits for its end
  std::unique_ptr<TargetsTable> table_;
};
