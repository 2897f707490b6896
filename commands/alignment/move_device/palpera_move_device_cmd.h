#pragma once

// The command "Move Device": hosts the move-device wizard (MoveDeviceWidget) and a matrix display, connects
// the hard-probe device, hands the wizard the active plug-in and sets every transform the wizard announces
// ("NewTransform") as the device's hardware matrix at once. "Show Position" (control 1) shows the live probe
// with the info tile until the probe's stop button. Cancel gives back the hardware matrix the device had at
// activation (never the combined matrix, which already holds the temperature scale).
//
// Deactivation ends a wizard pass or the position display that still runs, so no receiver of the command or
// the wizard outlives it on the device, then disconnects the device. Created by the host per use; main
// thread only, where the device's events also arrive.

#include <cstdint>

#include "commands/alignment/common/device_transform_steps.h"
#include "devices/contracts/plugin.h"
#include "devices/contracts/plugin_device.h"
#include "framework/commands/comp_base_cmd.h"
#include "framework/object/iptr.h"
#include "framework/subject/zel_subject.h"
#include "framework/widgets/izel_widget.h"

class PalperaMoveDeviceCmd : public CompBaseCmd, public IZelListener {
 public:
  static constexpr const char* interfaceName = "PalperaMoveDeviceCmd";
  static constexpr int32_t kShowPositionButton = 1;

  PalperaMoveDeviceCmd();

  bool canRun(IZelUnknown* context) override;
  void createGui(IGuiDialog* dialog) override;
  // False, with "No plug-ins are installed." or "Unable to connect to hard probe device." shown, when there
  // is no active hard-probe plug-in or the device does not connect; the device is then let go disconnected.
  bool activate() override;
  void deactivate() override;
  bool cancel() override;
  void onGuiEvent(int32_t id, int32_t value) override;
  void onNotify(const char* event, IZelSubject* subject, void* data) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  MatrixWidget* matrixDisplay() const;
  void applyTransform(const Matrix4x4& hardware);
  void setSensitive(bool sensitive);
  void showPosition();
  void stopShowPosition();
  // Reports text and lets the device go, disconnected when it was connected.
  bool refuse(const char* text, bool connected);

  IPtr<IZelWidget> wizard_;
  IPtr<IZelWidget> matrix_;
  KeptHardwareMatrix kept_;
  IPtr<IZelPluginDevice> device_;
  IZelPlugin* plugin_ = nullptr;  // the plug-in manager's, held without a reference while active
  PositionDisplay position_;
};
