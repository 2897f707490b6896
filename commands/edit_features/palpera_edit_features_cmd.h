#pragma once

// The host command "Edit Probed Features": the user picks a probed feature of the active object, selects some
// of its sampled points, deletes them and has the feature refitted at once from its probing record, with
// undo and redo inside the command. A table shows the current feature's fit statistics. Cancelling puts every
// probed feature of the object back as it was at activation; finishing keeps the edits.
//
// Created by the host per use; main thread only.

#include <cstdint>
#include <memory>
#include <vector>

#include "commands/edit_features/edit_state.h"
#include "commands/edit_features/fitting_statistics_table.h"
#include "framework/commands/comp_base_cmd.h"
#include "framework/object/iptr.h"
#include "host_api/feature_selection_widget.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_scene_node.h"
#include "host_api/zel_sub_objects.h"
#include "ui/visibility/zel_sub_object_visibility_mgr.h"

class PalperaEditFeaturesCmd : public CompBaseCmd {
 public:
  class PointIterator;

  static constexpr const char* interfaceName = "PalperaEditFeaturesCmd";
  static constexpr int32_t kFeatureSelectionId = 1;
  // The display flag cleared on the probed sub-objects while the command runs.
  static constexpr uint32_t kProbedDisplayFlag = 4;

  PalperaEditFeaturesCmd();
  PalperaEditFeaturesCmd(const PalperaEditFeaturesCmd&) = delete;
  PalperaEditFeaturesCmd& operator=(const PalperaEditFeaturesCmd&) = delete;

  // False inside another command, while a macro is recorded or a section or boundary is current.
  bool canRun(IZelUnknown* context) override;
  void createGui(IGuiDialog* dialog) override;
  // False, after telling the operator (commandReady), when the active object holds no probed feature.
  bool activate() override;
  void deactivate() override;
  bool cancel() override;
  // The feature-selection widget's choice (id 1, value 1) makes its sub-object the current feature.
  void onGuiEvent(int32_t id, int32_t value) override;
  void onEvent(IHostEvent* event) override;
  // A rubber band in the view: dragged with the select action it adds the points inside to the selection,
  // with the unselect action it takes them out. A plain click is left to the view.
  bool onMousePress(IGfxMouseData* mouse) override;
  bool onMouseMove(IGfxMouseData* mouse) override;
  bool onMouseRelease(IGfxMouseData* mouse) override;

  // Makes the sub-object's feature the current one; choosing another feature starts a fresh history, the
  // same one keeps it. A null sub-object is ignored.
  void selectFeature(IZelFeatureSubObject* subObject);
  // The state shown, or null while the command is not active.
  EditState* currentState() { return history_.empty() ? nullptr : history_.back().get(); }
  int32_t historySize() const { return static_cast<int32_t>(history_.size()); }
  int32_t redoSize() const { return static_cast<int32_t>(redo_.size()); }
  // The probed sub-objects of the active object, in the object's order.
  std::vector<IZelFeatureSubObject*> probedSubObjects() const;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // A probed sub-object with what the command changes of it, as it was at activation.
  struct Probed {
    IPtr<IZelFeatureSubObject> subObject;
    bool displayFlag;
    IPtr<IZelFeature> savedFeature;
  };

  void selectAll();
  void clearAll();
  void deleteSelectedPoints();
  void undo();
  void redo();
  // Shows the top state: its feature on the current sub-object, its statistics, the refreshed GUI.
  void showTopState();
  void applyFeatureToSubObject(IZelFeatureSubObject* subObject, IZelFeature* feature);
  void fillStatisticsTable();
  void startHistory();
  // Draws the top state's points under the command's scene node, the selected ones marked.
  void buildPointGraphics();
  // Redraws the points after the selection changed.
  void showSelection();
  void createSceneNode();
  void removeSceneNode();

  IPtr<IZelFeatureSelectionWidget> featureSelection_;
  IPtr<IZelDocObject> object_;
  IPtr<IZelFeatureSubObject> current_;
  // Under the active object's node while the command runs.
  IPtr<IZelGroupNode> sceneNode_;
  EditStates history_;
  EditStates redo_;
  bool canUndo_ = false;
  IPtr<IZelSubObjectVisibilityMgr> visibility_;
  std::vector<Probed> probed_;
  std::unique_ptr<FittingStatisticsTable> table_;
};
