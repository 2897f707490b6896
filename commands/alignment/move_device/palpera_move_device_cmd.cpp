#include "commands/alignment/move_device/palpera_move_device_cmd.h"

#include "commands/alignment/move_device/move_device_widget.h"
#include "commands/transform/matrix_widget.h"
#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/commands/command_context.h"
#include "framework/host_glue/user_error.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "framework/registrations/registered_classes.h"
#include "framework/subject/event_name.h"
#include "framework/translation/tr.h"
#include "host_api/component_command.h"

namespace {

const ClassRegistration<PalperaMoveDeviceCmd> registration(registeredClass("PalperaMoveDeviceCmd"));

constexpr int32_t kMainBox = 0;

}  // namespace

PalperaMoveDeviceCmd::PalperaMoveDeviceCmd() {
  name_ = tr("Move Device");
}

bool PalperaMoveDeviceCmd::canRun(IZelUnknown* context) {
  return !contextFlag(context, IComponentCommandContainerV2::kInCommand) &&
         !contextFlag(context, IComponentCommandContainerV2::kRecordingMacro);
}

void PalperaMoveDeviceCmd::createGui(IGuiDialog* dialog) {
  gui_ = dialog;
  if (!dialog) return;
  dialog->beginFramedGroupBox("MainBox", kMainBox, false, ZelString(), true);
  wizard_.createInstance(classIdOf("MoveDeviceWidget"));
  if (wizard_) {
    wizard_->buildGui(dialog, nullptr);
    if (auto* subject = queryPart<IZelSubject>(wizard_.get())) subject->attach(this);
  }
  dialog->beginPanel(tr("Probe"), true);
  dialog->addButtonAt("ShowPositionButton", kShowPositionButton, tr("Show Position"), true);
  dialog->endPanel();
  matrix_.createInstance(classIdOf("MatrixWidget"));
  if (matrix_) {
    matrix_->buildGui(dialog, nullptr);
    if (MatrixWidget* display = matrixDisplay()) dialog->setControlValue(display->idBase(), 0);
  }
  dialog->endGroup();
  dialog->setControlFlag(IGuiDialog::kStandardControl2, false);
}

MatrixWidget* PalperaMoveDeviceCmd::matrixDisplay() const {
  return queryPart<MatrixWidget>(matrix_.get());
}

bool PalperaMoveDeviceCmd::activate() {
  SPtr<IZelPluginService> devices;
  if (!devices) return refuse("No plug-ins are installed.", false);
  IZelPluginManager* manager = devices->getManager(ZelCString("HardProbe"));
  device_ = devices->getDevice(ZelCString("HardProbe"));
  if (!manager || !device_ || !device_->connect())
    return refuse("Unable to connect to hard probe device.", false);
  plugin_ = manager->currentPlugin();
  auto* wizard = queryPart<MoveDeviceWidget>(wizard_.get());
  if (!plugin_ || !wizard || !matrix_) return refuse("No plug-ins are installed.", true);
  kept_.keep(*plugin_);
  wizard->setPlugin(plugin_);
  wizard_->activate();
  matrix_->activate();
  showDeviceTransform(*plugin_, matrixDisplay());
  return true;
}

bool PalperaMoveDeviceCmd::refuse(const char* text, bool connected) {
  reportUserError(tr(text));
  if (connected) device_->disconnect();
  device_.release();
  plugin_ = nullptr;
  return false;
}

void PalperaMoveDeviceCmd::deactivate() {
  position_.stop();
  if (matrix_) matrix_->deactivate();
  if (wizard_) wizard_->deactivate();
  kept_.forget();
  if (device_) device_->disconnect();
  device_.release();
  plugin_ = nullptr;
}

bool PalperaMoveDeviceCmd::cancel() {
  if (plugin_) kept_.giveBack(*plugin_, matrixDisplay());
  return true;
}

void PalperaMoveDeviceCmd::applyTransform(const Matrix4x4& hardware) {
  if (plugin_) setDeviceTransform(*plugin_, hardware, matrixDisplay());
}

void PalperaMoveDeviceCmd::onGuiEvent(int32_t id, int32_t) {
  if (id == kShowPositionButton) showPosition();
}

void PalperaMoveDeviceCmd::onNotify(const char* event, IZelSubject* subject, void* data) {
  if (position_.isSender(subject) && isEvent(event, "Stop")) stopShowPosition();
  if (isEvent(event, "NewTransform") && data) {
    Matrix4x4 hardware;
    hardware.assign(static_cast<const double*>(data));
    applyTransform(hardware);
  } else if (isEvent(event, "ProbeStart")) {
    setSensitive(false);
    if (wizard_) wizard_->setEnabled(false);
  } else if (isEvent(event, "ProbeStop")) {
    setSensitive(true);
    if (wizard_) wizard_->setEnabled(true);
  } else if (isEvent(event, "ShowPosition")) {
    showPosition();
  } else if (isEvent(event, "Sensitivity") && data) {
    setSensitive(*static_cast<bool*>(data));
  }
}

void PalperaMoveDeviceCmd::setSensitive(bool sensitive) {
  if (!gui_) return;
  for (int32_t control :
       {kShowPositionButton, IGuiDialog::kStandardControl1 - 1, IGuiDialog::kStandardControl1})
    gui_->enableControl(control, sensitive, IGuiDialog::kEnableDefault);
}

void PalperaMoveDeviceCmd::showPosition() {
  if (!device_ || position_.isRunning()) return;
  if (position_.start(*device_, *this, nullptr, true)) setSensitive(false);
}

void PalperaMoveDeviceCmd::stopShowPosition() {
  position_.stop();
  setSensitive(true);
}

void PalperaMoveDeviceCmd::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, this, static_cast<CompBaseCmd*>(this)).offer<IZelListener>(this);
  queryCommandChain(chain);
}
