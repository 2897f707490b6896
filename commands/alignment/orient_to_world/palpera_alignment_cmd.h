#pragma once

// The command "Orient To World": puts the hard-probe device in world coordinates. The host's dialog resource
// offers five ways to the device transform (radio group 2): the transform the object "TestObject" was moved
// by (3), a transform file (5, TransformFileWidget), the identity (7), three probed planes (9,
// Alignment321Widget, probed from "Probe Points") and the move-device wizard (11, MoveDeviceWidget). Every
// transform a widget announces ("NewTransform") becomes the device's hardware matrix at once, and the
// matrix display shows the combined matrix the device then works with. A "TestObject" transform or a file
// that is not a rotation and a shift is refused with a word, and the device keeps its matrix. "Show
// Position" follows the probe with the info tile until the probe's stop button.
//
// Cancel gives back the hardware matrix the device had at activation: the hardware matrix itself, never the
// combined one, which already holds the temperature scale. It first cancels a probing run of the planes and
// ends the position display, so that nothing sets another matrix after it. Deactivation does the same, but
// keeps the matrix the device has; after it, a cancel changes nothing. No receiver of the command or of its
// widgets outlives deactivation on the device.
//
// Created by the host per use; main thread only, where the device's events also arrive.

#include <cstdint>

#include "commands/alignment/common/device_transform_steps.h"
#include "devices/contracts/plugin_device.h"
#include "framework/commands/comp_base_cmd.h"
#include "framework/object/iptr.h"
#include "framework/subject/zel_subject.h"
#include "framework/widgets/izel_widget.h"

class Alignment321Widget;
class IZelPlugin;

class PalperaAlignmentCmd : public CompBaseCmd, public IZelListener {
 public:
  static constexpr const char* interfaceName = "PalperaAlignmentCmd";

  // The dialog's controls; 2 to 11 are the host's method choice.
  enum Control : int32_t {
    kMainBox = 0,
    kInstructionsLabel = 1,
    kMethodChoice = 2,
    kTestObjectMethod = 3,
    kTransformFileMethod = 5,
    kIdentityMethod = 7,
    kPlanesMethod = 9,
    kMoveDeviceMethod = 11,
    kPluginBox = 13,
    kPluginName = 14,
    kStartProbing = 15,
    kShowPosition = 16,
  };

  PalperaAlignmentCmd();

  // False while the host is in a command or records a macro. Whether a hard-probe plug-in is chosen (and the
  // emulator has something to probe) is asked at activation, which tells the operator (commandReady).
  bool canRun(IZelUnknown* context) override;
  void createGui(IGuiDialog* dialog) override;
  // Checks that a hard-probe plug-in is ready (commandReady), connects the "HardProbe" device (false, with
  // "Unable to connect to hard probe device.", when it is missing or does not connect) and keeps the current
  // plug-in's hardware matrix.
  bool activate() override;
  void deactivate() override;
  bool cancel() override;
  void onGuiEvent(int32_t id, int32_t value) override;
  // "NewTransform", "ProbeStart" and "ProbeStop" of the widgets, "Sensitivity" of the wizard, "Stop" of
  // the position display and "ShowPosition"; a null sender is ignored.
  void onNotify(const char* event, IZelSubject* subject, void* data) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<IZelWidget> buildWidget(const char* className, IGuiDialog* dialog, bool listen);
  MatrixWidget* matrixDisplay() const;
  Alignment321Widget* planesWidget() const;
  void handWidgetsThePlugin(IZelPlugin* plugin);
  void chooseMethod(int32_t method);
  void applyTestObjectTransform();
  // The one way a matrix reaches the device; nothing without a current plug-in.
  void setTransform(const Matrix4x4& hardware);
  void setSensitive(bool sensitive);
  // A wizard run spans several passes, and the device's transform must stay the same across them: while it
  // runs, the method choice, "Probe Points" and "Show Position" are off.
  void enableOtherSources(bool enabled);
  void showPosition();
  void stopShowPosition();
  // Cancels a probing run of the planes, which gives back the matrix from before the run.
  void cancelPlaneProbing();

  IPtr<IZelWidget> transformFile_;
  IPtr<IZelWidget> planes_;
  IPtr<IZelWidget> wizard_;
  IPtr<IZelWidget> matrix_;
  KeptHardwareMatrix kept_;
  IPtr<IZelPluginDevice> device_;
  PositionDisplay position_;
};
