#include "commands/alignment/orient_to_world/palpera_alignment_cmd.h"

#include "basic_types/no_destructor.h"
#include "commands/alignment/move_device/move_device_widget.h"
#include "commands/alignment/orient_to_world/alignment_321_widget.h"
#include "commands/common/command_readiness.h"
#include "commands/transform/matrix_widget.h"
#include "commands/transform/transform_file_widget.h"
#include "devices/alignment/rigid_transform_rule.h"
#include "devices/contracts/plugin.h"
#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/commands/command_context.h"
#include "framework/host_glue/unit_service.h"
#include "framework/host_glue/user_error.h"
#include "framework/object/kept_service.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "framework/registrations/registered_classes.h"
#include "framework/subject/event_name.h"
#include "framework/translation/tr.h"
#include "host_api/component_command.h"
#include "host_api/zel_doc.h"

namespace {

const ClassRegistration<PalperaAlignmentCmd> registration(registeredClass("PalperaAlignmentCmd"));

constexpr const char* kDevice = "HardProbe";
constexpr int32_t kMetre = 7;
constexpr int32_t kMillimetre = 1;
constexpr int32_t kStandardControl0 = IGuiDialog::kStandardControl1 - 1;

constexpr const char* kInstructions =
    "<b>1.</b> Click an icon to specify the axis direction of the primary alignment plane.\n<b>2.</b> Click "
    "an icon to specify the axis direction of the secondary alignment plane.\n<b>3.</b> Click <b>Probe "
    "Points</b> to define corresponding planes on the Test object.";

// The registry, looked up on first use and kept while the module is attached to its host.
IPtr<IZelPluginService> pluginService() {
  static NoDestructor<KeptService<IZelPluginService>> kept;
  return kept->get();
}

// Asked anew each time: the user may choose another plug-in while the command runs.
IZelPlugin* currentPlugin() {
  IPtr<IZelPluginService> service = pluginService();
  IZelPluginManager* manager = service ? service->getManager(ZelCString(kDevice)) : nullptr;
  return manager ? manager->currentPlugin() : nullptr;
}

IPtr<IZelDocObject> findTestObject() {
  SPtr<IZelDoc> document;
  return IPtr<IZelDocObject>(document ? document->findObject(ZelString(u"TestObject")) : nullptr);
}

}  // namespace

PalperaAlignmentCmd::PalperaAlignmentCmd() {
  name_ = tr("Orient To World");
}

bool PalperaAlignmentCmd::canRun(IZelUnknown* context) {
  return !contextFlag(context, IComponentCommandContainerV2::kInCommand) &&
         !contextFlag(context, IComponentCommandContainerV2::kRecordingMacro);
}

IPtr<IZelWidget> PalperaAlignmentCmd::buildWidget(const char* className, IGuiDialog* dialog, bool listen) {
  IPtr<IZelWidget> widget;
  widget.createInstance(classIdOf(className));
  if (!widget) return widget;
  widget->buildGui(dialog, nullptr);
  if (auto* subject = queryPart<IZelSubject>(widget.get()); subject && listen) subject->attach(this);
  return widget;
}

void PalperaAlignmentCmd::createGui(IGuiDialog* dialog) {
  gui_ = dialog;
  if (!dialog) return;
  dialog->beginFramedGroupBox("MainBox", kMainBox, false, ZelString(), true);
  dialog->beginFramedGroupBox("Instructions", dialog->reserveControlIds(1), true, tr("Instructions"), true);
  dialog->addControl(kInstructionsLabel, "label", ZelString("InstructionsLabel"));
  dialog->setControlText(kInstructionsLabel, tr(kInstructions));
  dialog->endGroup();
  transformFile_ = buildWidget("TransformFileWidget", dialog, true);
  planes_ = buildWidget("Alignment321Widget", dialog, true);
  dialog->beginFramedGroupBox("Probe", dialog->reserveControlIds(1), true, tr("Probe"), true);
  dialog->addButtonAt("StartProbing", kStartProbing, tr("Probe Points"), true);
  dialog->addButtonAt("ShowPositionButton", kShowPosition, tr("Show Position"), true);
  dialog->endGroup();
  dialog->beginFramedGroupBox("PluginNameBox", kPluginBox, true, tr("Plug-In"), true);
  dialog->addControl(kPluginName, "label", ZelString("PluginName"));
  dialog->endGroup();
  matrix_ = buildWidget("MatrixWidget", dialog, false);
  if (MatrixWidget* display = matrixDisplay()) dialog->setControlValue(display->idBase(), 0);
  wizard_ = buildWidget("MoveDeviceWidget", dialog, true);
  dialog->endGroup();
  dialog->enableWidgetControl(IGuiDialog::kStandardControl2, false, nullptr);
  dialog->enableWidgetControl(kPluginBox, false, nullptr);
}

MatrixWidget* PalperaAlignmentCmd::matrixDisplay() const {
  return queryPart<MatrixWidget>(matrix_.get());
}

bool PalperaAlignmentCmd::activate() {
  if (!commandReady(name_, {.hardProbe = true})) return false;
  IPtr<IZelPluginService> service = pluginService();
  device_ = service ? service->getDevice(ZelCString(kDevice)) : nullptr;
  if (!device_ || !device_->connect()) {
    reportUserError(tr("Unable to connect to hard probe device."));
    device_.release();
    return false;
  }
  if (UnitService::currentLengthUnit() == kMetre) UnitService::setCurrentLengthUnit(kMillimetre);
  IZelPlugin* plugin = currentPlugin();
  if (gui_) gui_->enableControl(kMethodChoice, plugin != nullptr, IGuiDialog::kEnableDefault);
  if (plugin) {
    kept_.keep(*plugin);
    handWidgetsThePlugin(plugin);
  }
  if (gui_)
    gui_->enableControl(kTestObjectMethod, static_cast<bool>(findTestObject()), IGuiDialog::kEnableDefault);
  if (transformFile_) {
    transformFile_->activate();
    transformFile_->setEnabled(false);
  }
  if (planes_) planes_->activate();
  if (matrix_) matrix_->activate();
  if (wizard_) {
    wizard_->activate();
    wizard_->setEnabled(false);
  }
  if (gui_) gui_->setControlText(kPluginName, plugin ? plugin->getName() : ZelString());
  if (plugin) {
    showDeviceTransform(*plugin, matrixDisplay());
  } else if (MatrixWidget* display = matrixDisplay()) {
    display->setMatrix(kept_.matrix().m);
  }
  return true;
}

void PalperaAlignmentCmd::handWidgetsThePlugin(IZelPlugin* plugin) {
  if (auto* files = queryPart<TransformFileWidget>(transformFile_.get())) files->setPlugin(plugin);
  if (auto* wizard = queryPart<MoveDeviceWidget>(wizard_.get())) wizard->setPlugin(plugin);
  if (Alignment321Widget* planes = planesWidget()) planes->setPlugin(plugin);
}

Alignment321Widget* PalperaAlignmentCmd::planesWidget() const {
  return queryPart<Alignment321Widget>(planes_.get());
}

void PalperaAlignmentCmd::deactivate() {
  stopShowPosition();
  cancelPlaneProbing();
  if (matrix_) matrix_->deactivate();
  if (wizard_) wizard_->deactivate();
  if (planes_) planes_->deactivate();
  if (transformFile_) transformFile_->deactivate();
  handWidgetsThePlugin(nullptr);
  kept_.forget();
  if (device_) device_->disconnect();
  device_.release();
}

bool PalperaAlignmentCmd::cancel() {
  stopShowPosition();
  cancelPlaneProbing();
  if (IZelPlugin* plugin = currentPlugin()) kept_.giveBack(*plugin, matrixDisplay());
  return true;
}

void PalperaAlignmentCmd::setTransform(const Matrix4x4& hardware) {
  if (IZelPlugin* plugin = currentPlugin()) setDeviceTransform(*plugin, hardware, matrixDisplay());
}

void PalperaAlignmentCmd::onGuiEvent(int32_t id, int32_t) {
  switch (id) {
    case kTestObjectMethod:
    case kTransformFileMethod:
    case kIdentityMethod:
    case kPlanesMethod:
    case kMoveDeviceMethod:
      chooseMethod(id);
      break;
    case kStartProbing:
      if (Alignment321Widget* planes = planesWidget()) planes->startProbing();
      break;
    case kShowPosition:
      showPosition();
      break;
    default:
      break;
  }
}

void PalperaAlignmentCmd::chooseMethod(int32_t method) {
  if (transformFile_) transformFile_->setEnabled(method == kTransformFileMethod);
  if (planes_) planes_->setEnabled(method == kPlanesMethod);
  if (wizard_) wizard_->setEnabled(method == kMoveDeviceMethod);
  if (method == kTestObjectMethod) applyTestObjectTransform();
  if (method == kIdentityMethod) setTransform(Matrix4x4::identity());
}

void PalperaAlignmentCmd::applyTestObjectTransform() {
  IPtr<IZelDocObject> object = findTestObject();
  Matrix4x4 placement;
  if (!object || !object->transform(placement.m)) return;
  // The placement carries the device frame along: it must be one the hardware matrix can be.
  if (!acceptRigidTransform(placement, tr("The transform of \"TestObject\""), Transformation::kHardware))
    return;
  setTransform(placement * kept_.matrix());
}

void PalperaAlignmentCmd::onNotify(const char* event, IZelSubject* subject, void* data) {
  if (!subject) return;
  if (isEvent(event, "Stop")) {
    if (position_.isSender(subject)) stopShowPosition();
  } else if (isEvent(event, "NewTransform")) {
    if (!data) return;
    Matrix4x4 hardware;
    hardware.assign(static_cast<const double*>(data));
    setTransform(hardware);
  } else if (isEvent(event, "ProbeStart") || isEvent(event, "ProbeStop")) {
    setSensitive(isEvent(event, "ProbeStop"));
  } else if (isEvent(event, "ShowPosition")) {
    showPosition();
  } else if (isEvent(event, "Sensitivity") && data) {
    enableOtherSources(*static_cast<bool*>(data));
  }
}

void PalperaAlignmentCmd::enableOtherSources(bool enabled) {
  if (!gui_) return;
  gui_->enableControl(kMethodChoice, enabled && currentPlugin(), IGuiDialog::kEnableDefault);
  for (int32_t control : {kStartProbing, kShowPosition})
    gui_->enableControl(control, enabled, IGuiDialog::kEnableDefault);
}

void PalperaAlignmentCmd::setSensitive(bool sensitive) {
  if (!gui_) return;
  for (int32_t control : {static_cast<int32_t>(kMainBox), kStandardControl0, IGuiDialog::kStandardControl1})
    gui_->enableControl(control, sensitive, IGuiDialog::kEnableDefault);
}

void PalperaAlignmentCmd::showPosition() {
  if (!device_ || position_.isRunning()) return;
  if (position_.start(*device_, *this, nullptr, true)) setSensitive(false);
}

void PalperaAlignmentCmd::stopShowPosition() {
  if (!position_.isRunning()) return;
  position_.stop();
  setSensitive(true);
}

void PalperaAlignmentCmd::cancelPlaneProbing() {
  Alignment321Widget* planes = planesWidget();
  if (planes && planes->isProbing()) planes->onCustomEvent(ZelCString("Cancel"), nullptr);
}

void PalperaAlignmentCmd::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, this, static_cast<CompBaseCmd*>(this)).offer<IZelListener>(this);
  queryCommandChain(chain);
}
