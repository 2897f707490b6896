#include "commands/plugin_dump/palpera_dump_cmd.h"

#include "commands/plugin_dump/dump_receiver.h"
#include "devices/contracts/plugin.h"
#include "devices/managers/izel_plugin_manager.h"
#include "framework/commands/command_context.h"
#include "framework/host_glue/user_error.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"

namespace {

const ClassRegistration<PalperaDumpCmd> registration(registeredClass("PalperaDumpCmd"));

constexpr const char* kDevice = "HardProbeContinuous";

// The emulator probes on the document's reference model only; without one, its run ends at once with nothing
// but an error event, so the user is told first what is missing.
void tellOfMissingReferenceModel(IZelPluginService& service) {
  IZelPluginManager* manager = service.getManager(ZelCString("HardProbe"));
  IZelPlugin* active = manager ? manager->activePlugin() : nullptr;
  auto* emulator = active ? queryPart<IZelEmulatorPlugin>(active) : nullptr;
  if (emulator && !emulator->hasReferenceObject()) {
    reportUserError(
        ZelString(u"The hard-probe emulator has no model to probe on: the document has no object named "
                  u"\"RefObject\"."));
  }
}

}  // namespace

PalperaDumpCmd::PalperaDumpCmd() {
  // A diagnostic command: its name is not translated.
  name_ = ZelString(u"Plugin Data Dump");
}

bool PalperaDumpCmd::canRun(IZelUnknown* context) {
  return !contextFlag(context, IComponentCommandContainerV2::kInCommand);
}

void PalperaDumpCmd::createGui(IGuiDialog* dialog) {
  gui_ = dialog;
  if (!gui_) return;
  gui_->beginPanel(ZelString(), true);
  gui_->beginLayout(true);
  gui_->beginPanel(ZelString(), true);
  gui_->setControlIcon(kStartIcon, "hp_start");
  gui_->addImageButton("StartButton", kStartButton, tr("Start"), true);
  gui_->setControlIcon(kStopIcon, "hp_stop");
  gui_->addImageButton("StopButton", kStopButton, tr("Stop"), true);
  gui_->endPanel();
  gui_->endLayout();
  gui_->endPanel();
  gui_->setControlFlag(IGuiDialog::kStandardControl1, false);
  gui_->setControlFlag(IGuiDialog::kStandardControl2, false);
}

bool PalperaDumpCmd::activate() {
  pluginService_.getService();
  if (!pluginService_) return true;
  device_ = pluginService_->getDevice(ZelCString(kDevice));
  if (!device_) return true;
  if (!device_->connect()) {
    device_.release();
    reportUserError(ZelString(u"Unable to connect to device."));
    return false;
  }
  receiver_ = new Receiver;
  device_->addReceiver(receiver_.get());
  return true;
}

void PalperaDumpCmd::deactivate() {
  if (device_) {
    device_->removeReceiver(receiver_.get());
    receiver_.release();
    device_->disconnect();
    device_.release();
  }
  pluginService_.release();
}

void PalperaDumpCmd::onGuiEvent(int32_t id, int32_t) {
  if (id == kStartButton) start();
  if (id == kStopButton) stop();
}

void PalperaDumpCmd::start() {
  if (!device_) return;
  tellOfMissingReferenceModel(*pluginService_);
  if (device_->startAcquisition()) {
    showAcquiring(true);
    return;
  }
  // A start that fails half way (the worker thread did not start) leaves the device's event handlers
  // subscribed; stopping takes the device back to idle, so Start can be pressed again.
  device_->stopAcquisition();
  reportUserError(ZelString(u"Unable to start data acquisition."));
}

void PalperaDumpCmd::stop() {
  if (device_) device_->stopAcquisition();
  showAcquiring(false);
}

void PalperaDumpCmd::showAcquiring(bool acquiring) {
  if (!gui_) return;
  gui_->enableControl(kStartButton, !acquiring, IGuiDialog::kEnableDefault);
  gui_->enableControl(kStopButton, acquiring, IGuiDialog::kEnableDefault);
}
