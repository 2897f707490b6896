#pragma once

// The "Move Device Wizard": a panel that a command embeds to carry the device transform across a move of the
// device or of the part. Before the move the user probes up to eight references (single points, sphere
// centres, circle centres, or the targets of the previous move); after it the same features again, as
// targets, in the same order. The wizard best-fits the targets onto the references and on "Done" announces
// the corrected hardware matrix as "NewTransform" (data: 16 doubles, valid during the call), which the
// hosting command sets on the device. Its step and its two lists live in the data store (move_device_keys.h),
// so a run can be left and resumed, and the targets of one move are offered as references of the next.
// While the last fit failed, "Done" is disabled and "Exit" shown instead, so the saved lists are kept; a
// "Done" before every reference has its target stores nothing and says so. A pair further apart than the
// alignment tolerance asks before "Done" stores the fit, and "yes" probes the targets again from that pair
// on. References on one line are told before the move, while more can be probed; references so near one line
// that the probing error alone may turn the move beyond the alignment tolerance are asked about then.
//
// The hosting command sets the plug-in (setPlugin) before activate and listens to the widget's subject:
// "ProbeStart" and "ProbeStop" bracket each probing pass, "Sensitivity" (data: a bool, read back) asks it to
// enable or disable its own controls while a run goes on. The device must be connected.
//
// Controls from the widget's first id b: control n is b + n, n from 0 to 40 (the table in
// move_device_controls.h); the pictures of the type and reference-list buttons have the fixed numbers 8 to
// 21, those of the target buttons and "Delete Pair" b + 25, b + 27, b + 29 and b + 35. Created by the host
// per request; main thread only, where the device's events also arrive.

#include <cstdint>
#include <memory>

#include "basic_types/matrix4x4.h"
#include "commands/alignment/common/shown_probe.h"
#include "commands/alignment/move_device/move_device_point_container.h"
#include "commands/features/zel_hard_probe_feature_collector.h"
#include "devices/contracts/plugin.h"
#include "framework/subject/palpera_subject_base.h"
#include "framework/subject/zel_subject.h"
#include "framework/widgets/zel_widget.h"
#include "host_api/zel_doc.h"
#include "ui/probe/zel_hard_probe_probe_gfx.h"

class IZelUserInstructions;

class MoveDeviceWidget : public IZelListener, public ZelWidget, public PalperaSubjectBase {
 public:
  static constexpr const char* interfaceName = "MoveDeviceWidget";
  static constexpr int32_t kControlCount = 41;

  using PointContainer = MoveDevicePointContainer;
  using ReferencePointContainer = MoveDeviceReferencePointContainer;
  using TargetPointContainer = MoveDeviceTargetPointContainer;

  // The kinds of reference, which are also the numbers of their type buttons.
  static constexpr uint32_t kSinglePoint = 7;
  static constexpr uint32_t kSphereCenter = 9;
  static constexpr uint32_t kCircleCenter = 11;

  // The steps, as saved.
  enum Step : uint32_t { kNotStarted = 0, kReferences = 1, kTargets = 2, kResult = 3, kFinished = 4 };

  MoveDeviceWidget() = default;
  ~MoveDeviceWidget() override;

  bool buildGui(IGuiDialog* dialog, const ZelString* title) override;
  // Loads the step and the lists saved for the plug-in and shows the start page. False without a plug-in.
  bool activate() override;
  // Ends a probing pass that still runs, then lets the lists, the collector and the plug-in go.
  void deactivate() override;
  void setEnabled(bool enabled) override { enableBox(enabled); }
  bool isEnabled() override { return isBoxEnabled(); }
  void onGuiEvent(int32_t id, int32_t value) override;
  // Events of the probed-feature collector; any other sender is ignored.
  void onNotify(const char* event, IZelSubject* sender, void* data) override;

  // The active hard-probe plug-in, held without a reference until deactivation.
  void setPlugin(IZelPlugin* plugin) { plugin_ = plugin; }

  // Pairs reference i with target i and fits the targets onto the references with the host's datum-based
  // aligner. True when the fit ran and its matrix is a proper rigid motion: result and deviations are then
  // set; otherwise deviations says why. See move_device_best_fit.h.
  bool bestFit(Matrix4x4& result, ZelString& deviations);

  uint32_t step() const { return step_; }
  const PointContainer& references() const { return references_; }
  const PointContainer& targets() const { return targets_; }
  bool isProbing() const { return probing_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  int32_t id(int32_t control) const { return idBase() + control; }
  void show(int32_t control, bool shown);
  void enable(int32_t control, bool enabled);
  void addListEntry(int32_t control, const ZelString& text);
  void setText(int32_t control, const ZelString& text);
  void buildControls(IGuiDialog& dialog);

  void setState(uint32_t step);
  void updatePage();
  // Notifies "Sensitivity" and keeps what the listeners left in it.
  void notifySensitivity(bool sensitive);
  // The copies of both lists a run begins or resumes from, and the plug-in name on all four.
  void keepPreviousLists();
  void nameLists();

  void begin();
  void resume();
  // Adds every entry of from to to, names unchanged, and each name to the list control.
  void copyEntries(const PointContainer& from, PointContainer& to, int32_t list);
  void resumeTargets();
  void resumeReferences();
  void usePreviousTargets();
  void moveReferenceUp();
  void moveReferenceDown();
  void deleteReference();
  void next();
  // Takes back the targets from index first on and probes the next.
  void removeTargetsFrom(int32_t first);
  void deletePair();
  void exit();
  void saveAndExit();
  // Whether "Done" may store the fit: a complete fit, whose pairs lie within the alignment tolerance or
  // whose operator keeps them; else says why, or goes back to probe the targets from the first that failed.
  bool confirmDone();
  void finish(bool apply);
  void endRun();

  bool startProbing(uint32_t kind);
  void onNewFeatureEvent();
  bool onNewFeature(IZelFeature& feature);
  void onProbeStop();
  void onAcquisitionError();
  // Stops the device's acquisition and takes the feature collector's receiver off the device, so that the
  // next pass's collector is the only one that hears the probe.
  void stopDevice();
  void endProbing();
  bool startNextTarget();
  void showTargetPrompt();
  bool computeFit();
  // Tells the operator in a message, which the operator acknowledges.
  void tell(const ZelString& text) const;
  void tellFitFailure() const;
  // Whether the operator, asked because the references' spread leaves the move open beyond the alignment
  // tolerance at the probing error, probes another reference before the move.
  bool probeFurtherOff() const;
  void showTiles(bool on);
  void showInstructions(IZelUserInstructions* instructions);
  void showCollectorInstructions();
  void releaseCollector();

  uint32_t step_ = kNotStarted;
  Matrix4x4 result_;
  bool fitted_ = false;  // whether result_ is a fit that passed its checks
  ZelString deviations_;
  std::string group_;             // the data-store group of the plug-in's state, from activation
  IZelPlugin* plugin_ = nullptr;  // the host command's, held without a reference
  IPtr<IZelHardProbeFeatureCollector> collector_;
  bool referenceMode_ = true;
  bool probing_ = false;  // between startProbing and endProbing
  bool runOpen_ = false;  // from Begin or Resume to the run's end or save: the start page is hidden
  ZelString featureName_;
  uint32_t kind_ = 0;
  ShownProbe probe_;
  bool sensitivity_ = true;
  ReferencePointContainer references_;
  TargetPointContainer targets_;
  std::unique_ptr<ReferencePointContainer> previousReferences_;
  std::unique_ptr<TargetPointContainer> previousTargets_;
};
