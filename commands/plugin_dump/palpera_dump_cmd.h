#pragma once

// The diagnostic command "Plugin Data Dump": connects the continuous hard-probe device
// ("HardProbeContinuous") and prints every event it delivers as one line on the standard error stream (see
// Receiver), so a device plug-in's event stream can be checked without any measuring logic. Its dialog has
// a Start and a Stop button that start and stop acquisition.
//
// Created by the host per use; main thread only, where the device also calls the receiver. Queries answer
// the command base's names only; the class name is the command's own, as it is registered.

#include <cstdint>

#include "devices/contracts/plugin_data_receivers.h"
#include "devices/contracts/plugin_device.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/commands/comp_base_cmd.h"
#include "framework/object/iptr.h"

class PalperaDumpCmd : public CompBaseCmd {
 public:
  class Receiver;

  // The dialog's numbers of the two buttons, as their events come and as they are enabled.
  static constexpr int32_t kStartButton = 0;
  static constexpr int32_t kStopButton = 2;
  // The icon numbers of the two buttons.
  static constexpr int32_t kStartIcon = 1;
  static constexpr int32_t kStopIcon = 3;

  PalperaDumpCmd();

  // False inside another command.
  bool canRun(IZelUnknown* context) override;
  void createGui(IGuiDialog* dialog) override;
  // Connects the device and registers the printing receiver; acquisition waits for Start. False when the
  // device does not connect. Without a registry or a device there is nothing to print, and it succeeds.
  bool activate() override;
  // Unregisters the receiver and disconnects the device, which ends a running acquisition.
  void deactivate() override;
  // Start and Stop.
  void onGuiEvent(int32_t id, int32_t value) override;

  const char* className() override { return "PalperaDumpCmd"; }

 private:
  void start();
  void stop();
  // Start enabled and Stop disabled while idle, the other way round while acquiring.
  void showAcquiring(bool acquiring);

  IPtr<IZelPluginService> pluginService_;
  IPtr<IZelPluginDevice> device_;  // connected while held
  IPtr<IZelHardProbeContinuousDataReceiver> receiver_;
};
