#pragma once

// The host command "Manage Transform": shows the two matrices of the device-to-part transform (the hardware
// and the software transform) and the temperature scale, and lets the user reset, restore, reload, load from
// a file and save each transform, and reset or restore the scale. Every change acts on the alignment services
// at once; a device takes it up at its next start of acquisition. Apply stores the transforms that changed;
// Cancel puts back both matrices, the part temperature and the two load-previous options as they were on
// activation.
//
// A file loaded as either transform must be a rotation and a shift, as near as a file writes one
// (rigidFromFile), and is taken as that gives it, rounding taken out: the device refuses any other as its
// object matrix, and one as the hardware matrix would stretch or flatten every touch. Such a file is refused
// with a message naming it and changes nothing.
//
// Created by the host per use; main thread only.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <utility>

#include "basic_types/matrix4x4.h"
#include "commands/transform/transform_file_dialogs.h"
#include "devices/alignment/rigid_transform_rule.h"
#include "framework/commands/comp_base_cmd.h"
#include "framework/object/iptr.h"
#include "framework/widgets/izel_widget.h"
#include "host_api/gui_page.h"

class PalperaManageTransformCmd : public CompBaseCmd {
 public:
  static constexpr const char* interfaceName = "PalperaManageTransformCmd";

  // The dialog's own controls.
  enum Control : int32_t {
    kMainBox = 0,
    kHardwareReset = 1,
    kHardwareRestore = 2,
    kHardwareLoadPrevious = 3,
    kHardwareLoadFile = 4,
    kHardwareSaveFile = 5,
    kSoftwareReset = 6,
    kSoftwareRestore = 7,
    kSoftwareLoadPrevious = 8,
    kSoftwareLoadFile = 9,
    kSoftwareSaveFile = 10,
    kScaleValue = 11,
    kScaleReset = 12,
    kScaleRestore = 13,
  };

  PalperaManageTransformCmd();

  // False inside another command and while a macro is recorded.
  bool canRun(IZelUnknown* context) override;
  void createGui(IGuiDialog* dialog) override;
  bool activate() override;
  void deactivate() override;
  void onGuiEvent(int32_t id, int32_t value) override;
  // Stores the transforms that changed; the scale keeps its own state.
  bool apply() override;
  bool cancel() override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // Runs a button's action; false for an id that is none of them.
  bool runAction(int32_t id);
  // Loads a file into a matrix that starts as the identity; nothing when the user cancels, it is unread or it
  // is refused as the transformation.
  std::optional<Matrix4x4> loadFile(Transformation which);
  void loadHardwareFile();
  void loadSoftwareFile();
  // Sets the scale service's part temperature, keeping its material.
  void setTemperature(double temperature);
  void refresh();
  void showMatrix(IZelWidget* widget, const Matrix4x4* matrix);
  IPtr<IZelWidget> buildMatrixWidget(const char* name, const char* title);
  void addButtonRow(std::initializer_list<std::pair<Control, const char*>> buttons);
  IPtr<IZelToggleWidget> buildToggle(const char* key, const char* label);

  IPtr<IZelWidget> hardwareWidget_;
  IPtr<IZelWidget> softwareWidget_;
  IPtr<IZelToggleWidget> hardwareOption_;
  IPtr<IZelToggleWidget> softwareOption_;
  std::optional<Matrix4x4> hardwareSnapshot_;
  std::optional<Matrix4x4> softwareSnapshot_;
  double savedTemperature_ = 20.0;
  bool hardwareOptionAtStart_ = false;
  bool softwareOptionAtStart_ = false;
  bool hardwareChanged_ = false;
  bool softwareChanged_ = false;
  TransformFileDialogs files_;
};
