#include "commands/transform/palpera_manage_transform_cmd.h"

#include <limits>
#include <string>
#include <utility>

#include "commands/transform/matrix_widget.h"
#include "devices/alignment/alignment_services.h"
#include "devices/alignment/rigid_transform_rule.h"
#include "framework/commands/command_context.h"
#include "framework/host_glue/renderer_scope.h"
#include "framework/registrations/class_registration.h"
#include "framework/registrations/registered_classes.h"
#include "framework/translation/tr.h"
#include "host_api/data_store.h"

namespace {

const ClassRegistration<PalperaManageTransformCmd> registration(registeredClass("PalperaManageTransformCmd"));

using Hardware = IZelPluginDeviceHardwareAlignmentService;
using Object = IZelPluginDeviceObjectAlignmentService;
using Scale = IZelPluginDeviceScaleAlignmentService;

constexpr const char* kLoadHardwareKey = "Palpera/Alignment/LoadHardwareTransformation";
constexpr const char* kLoadSoftwareKey = "Palpera/Alignment/LoadSoftwareTransformation";
constexpr double kReferenceTemperature = 20.0;
// The dialog's controls by id.
constexpr const char* kControlNames[] = {
    "MainBox",          "HardwareReset", "HardwareRestore", "HardwareLoadPrevious", "HardwareLoadFile",
    "HardwareSaveFile", "SoftwareReset", "SoftwareRestore", "SoftwareLoadPrevious", "SoftwareLoadFile",
    "SoftwareSaveFile", "ScaleValue",    "ScaleReset",      "ScaleRestore"};

// The part temperature the scale service holds.
double scaleTemperature(Scale& scale) {
  ZelCString material;
  double temperature = kReferenceTemperature;
  scale.material(material, temperature);
  return temperature;
}

}  // namespace

PalperaManageTransformCmd::PalperaManageTransformCmd() {
  name_ = tr("Manage Transform");
}

bool PalperaManageTransformCmd::canRun(IZelUnknown* context) {
  return !contextFlag(context, IComponentCommandContainerV2::kInCommand) &&
         !contextFlag(context, IComponentCommandContainerV2::kRecordingMacro);
}

void PalperaManageTransformCmd::createGui(IGuiDialog* dialog) {
  gui_ = dialog;
  if (!gui_) return;
  gui_->beginGroupBox("MainBox", kMainBox, ZelString());
  gui_->beginPanel(tr("Scaling"), true);
  gui_->addControl(kScaleValue, "number", ZelString(u"ScaleValue"));
  gui_->setControlText(kScaleValue, tr("Scale Factor"));
  gui_->setNumberFormat(kScaleValue, "%.4f", std::numeric_limits<double>::lowest(),
                        std::numeric_limits<double>::max());
  gui_->endPanel();
  gui_->beginVerticalLayout();
  addButtonRow({{kScaleReset, "Reset"}, {kScaleRestore, "Restore"}});
  gui_->endLayout();

  hardwareWidget_ = buildMatrixWidget("HardwareMatrixWidget", "Hardware Transformation Matrix");
  gui_->beginVerticalLayout();
  addButtonRow(
      {{kHardwareReset, "Reset"}, {kHardwareRestore, "Restore"}, {kHardwareLoadPrevious, "Load Previous"}});
  addButtonRow({{kHardwareLoadFile, "Load File"}, {kHardwareSaveFile, "Save File"}});
  gui_->endLayout();
  softwareWidget_ = buildMatrixWidget("SoftwareMatrixWidget", "Software Transformation Matrix");
  gui_->beginVerticalLayout();
  addButtonRow(
      {{kSoftwareReset, "Reset"}, {kSoftwareRestore, "Restore"}, {kSoftwareLoadPrevious, "Load Previous"}});
  addButtonRow({{kSoftwareLoadFile, "Load File"}, {kSoftwareSaveFile, "Save File"}});
  gui_->endLayout();

  gui_->beginPanel(tr("Options"), true);
  gui_->beginPanel(tr("Load Previous Transformation Matrix with New File"), true);
  hardwareOption_ = buildToggle(kLoadHardwareKey, "Hardware");
  softwareOption_ = buildToggle(kLoadSoftwareKey, "Software");
  gui_->endPanel();
  gui_->endPanel();
  gui_->endGroup();
  gui_->enableWidgetControl(IGuiDialog::kStandardControl2, false, nullptr);
}

void PalperaManageTransformCmd::addButtonRow(std::initializer_list<std::pair<Control, const char*>> buttons) {
  gui_->beginLayout(false);
  for (const auto& [id, label] : buttons) gui_->addButtonAt(kControlNames[id], id, tr(label), true);
  gui_->endLayout();
}

IPtr<IZelWidget> PalperaManageTransformCmd::buildMatrixWidget(const char* name, const char* title) {
  IPtr<IZelWidget> widget;
  widget.createInstance(classIdOf(MatrixWidget::interfaceName));
  if (!widget) return widget;
  widget->setName(name);
  const ZelString shownTitle = tr(title);
  widget->buildGui(gui_, &shownTitle);
  return widget;
}

IPtr<IZelToggleWidget> PalperaManageTransformCmd::buildToggle(const char* key, const char* label) {
  IPtr<IZelToggleWidget> toggle;
  toggle.getService();
  if (!toggle) return toggle;
  toggle->setKey(key);
  toggle->buildInDialog(gui_, tr(label));
  return toggle;
}

bool PalperaManageTransformCmd::activate() {
  SPtr<Hardware> hardware;
  SPtr<Object> object;
  SPtr<Scale> scale;
  if (hardware) hardwareSnapshot_ = *hardware->matrix();
  if (object) softwareSnapshot_ = *object->matrix();
  if (scale) savedTemperature_ = scaleTemperature(*scale);
  if (hardwareOption_) hardwareOptionAtStart_ = hardwareOption_->state();
  if (softwareOption_) softwareOptionAtStart_ = softwareOption_->state();
  if (hardwareWidget_) hardwareWidget_->activate();
  if (softwareWidget_) softwareWidget_->activate();
  refresh();
  hardwareChanged_ = false;
  softwareChanged_ = false;
  return true;
}

void PalperaManageTransformCmd::deactivate() {
  if (hardwareWidget_) hardwareWidget_->deactivate();
  if (softwareWidget_) softwareWidget_->deactivate();
  hardwareSnapshot_.reset();
  softwareSnapshot_.reset();
  hardwareChanged_ = false;
  softwareChanged_ = false;
}

void PalperaManageTransformCmd::refresh() {
  SPtr<Hardware> hardware;
  SPtr<Object> object;
  SPtr<Scale> scale;
  if (hardware) showMatrix(hardwareWidget_.get(), hardware->matrix());
  if (object) showMatrix(softwareWidget_.get(), object->matrix());
  if (scale && gui_) gui_->setControlValue(kScaleValue, scale->matrix()->m[0]);
}

void PalperaManageTransformCmd::showMatrix(IZelWidget* widget, const Matrix4x4* matrix) {
  void* display = nullptr;
  if (widget) widget->queryInterface(MatrixWidget::interfaceName, &display, false);
  if (display) static_cast<MatrixWidget*>(display)->setMatrix(matrix->m);
}

void PalperaManageTransformCmd::onGuiEvent(int32_t id, int32_t) {
  if (runAction(id)) refresh();
  requestRedraw(false);
}

bool PalperaManageTransformCmd::runAction(int32_t id) {
  SPtr<Hardware> hardware;
  SPtr<Object> object;
  SPtr<Scale> scale;
  switch (id) {
    case kHardwareReset:
      if (hardware) hardware->setMatrix(Matrix4x4::identity(), false);
      hardwareChanged_ = true;
      return true;
    case kHardwareRestore:
      if (hardwareSnapshot_ && hardware) {
        hardware->setMatrix(*hardwareSnapshot_, false);
        hardwareChanged_ = true;
      }
      return true;
    case kHardwareLoadPrevious:
      if (hardware) hardware->loadStored();
      hardwareChanged_ = true;
      return true;
    case kHardwareLoadFile:
      loadHardwareFile();
      return true;
    case kHardwareSaveFile:
      if (hardware) files_.saveTransformFile(hardware->matrix()->m);
      return false;
    case kSoftwareReset:
      if (object) object->setMatrix(Matrix4x4::identity());
      softwareChanged_ = true;
      return true;
    case kSoftwareRestore:
      if (softwareSnapshot_ && object) object->setMatrix(*softwareSnapshot_);
      softwareChanged_ = true;
      return true;
    case kSoftwareLoadPrevious:
      if (object) object->loadStored();
      softwareChanged_ = true;
      return true;
    case kSoftwareLoadFile:
      loadSoftwareFile();
      return true;
    case kSoftwareSaveFile:
      if (object) files_.saveTransformFile(object->matrix()->m);
      return false;
    case kScaleReset:
      setTemperature(kReferenceTemperature);
      return true;
    case kScaleRestore:
      setTemperature(savedTemperature_);
      return true;
    default:
      return false;
  }
}

std::optional<Matrix4x4> PalperaManageTransformCmd::loadFile(Transformation which) {
  Matrix4x4 matrix = Matrix4x4::identity();
  if (!files_.loadTransformFile(matrix.m)) return std::nullopt;
  // Taken, it would be stored as the user's setting and stretch, flatten or mirror every later touch.
  return rigidFromFile(matrix, files_.lastFile(), which);
}

void PalperaManageTransformCmd::loadHardwareFile() {
  SPtr<Hardware> hardware;
  if (!hardware) return;
  std::optional<Matrix4x4> loaded = loadFile(Transformation::kHardware);
  if (!loaded) return;
  hardware->setMatrix(*loaded, false);
  hardwareChanged_ = true;
}

void PalperaManageTransformCmd::loadSoftwareFile() {
  SPtr<Object> object;
  if (!object) return;
  std::optional<Matrix4x4> loaded = loadFile(Transformation::kSoftware);
  if (!loaded) return;
  object->setMatrix(*loaded);
  softwareChanged_ = true;
}

void PalperaManageTransformCmd::setTemperature(double temperature) {
  SPtr<Scale> scale;
  if (!scale) return;
  ZelCString material;
  double current = kReferenceTemperature;
  scale->material(material, current);
  scale->setMaterial(material, temperature);
}

bool PalperaManageTransformCmd::apply() {
  SPtr<Hardware> hardware;
  SPtr<Object> object;
  if (hardwareChanged_ && hardware) hardware->store();
  if (softwareChanged_ && object) object->store();
  return true;
}

bool PalperaManageTransformCmd::cancel() {
  SPtr<Hardware> hardware;
  SPtr<Object> object;
  if (hardwareSnapshot_ && hardware) hardware->setMatrix(*hardwareSnapshot_, false);
  if (softwareSnapshot_ && object) object->setMatrix(*softwareSnapshot_);
  setTemperature(savedTemperature_);
  SPtr<IDataStore> store;
  if (store && hardwareOption_) store->setInt(nullptr, kLoadHardwareKey, hardwareOptionAtStart_ ? 1 : 0);
  if (store && softwareOption_) store->setInt(nullptr, kLoadSoftwareKey, softwareOptionAtStart_ ? 1 : 0);
  return true;
}

void PalperaManageTransformCmd::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, static_cast<PalperaManageTransformCmd*>(this),
                  static_cast<IZelUnknown*>(this));
  queryCommandChain(chain);
}
