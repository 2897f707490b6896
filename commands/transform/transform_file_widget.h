#pragma once

// A small panel with two buttons for transform files, embedded in the commands that align the device. Load
// reads a ".tfm" file the user chooses and announces its matrix, when it is a rotation and a shift, to the
// listeners as "NewTransform" (data: the 16 doubles, valid during the call); the hosting command applies it
// as the hardware matrix. Save writes the device plug-in's
// hardware matrix to a ".tfm" file, which is what a load gives back: the object and temperature-scale
// matrices the plug-in combines with it are its command's own and are not saved with it.
//
// Controls from the widget's first id b: the box "<name>:TransformFileWidget:Box" (b), the buttons "Load"
// (b + 2) and "Save" (b + 3); b + 1 is reserved and unused. Created by the host per request; main thread
// only.

#include <cstdint>

#include "devices/contracts/plugin.h"
#include "framework/subject/palpera_subject_base.h"
#include "framework/widgets/zel_widget.h"

class TransformFileWidget : public PalperaSubjectBase, public ZelWidget {
 public:
  static constexpr const char* interfaceName = "TransformFileWidget";
  static constexpr int32_t kControlCount = 4;
  static constexpr ZelWidget::Control kLoad{2, "Load"};
  static constexpr ZelWidget::Control kSave{3, "Save"};

  // The title is not used: the box is always titled tr("Transform File").
  bool buildGui(IGuiDialog* dialog, const ZelString* title) override;
  bool activate() override { return true; }
  void deactivate() override {}
  void setEnabled(bool enabled) override { enableBox(enabled); }
  bool isEnabled() override { return isBoxEnabled(); }
  // Load, and Save once the plug-in is set; any other control does nothing.
  void onGuiEvent(int32_t id, int32_t value) override;

  // The device plug-in whose matrix Save writes; the hosting command's, held without a reference.
  void setPlugin(IZelPlugin* plugin) { plugin_ = plugin; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // A cancelled load announces nothing. A file that cannot be read, or that holds no rotation and shift,
  // announces nothing either and is reported as the manage-transform command reports it, since the hosting
  // command would take its matrix as the hardware matrix.
  void load();
  void save();

  IZelPlugin* plugin_ = nullptr;
};
