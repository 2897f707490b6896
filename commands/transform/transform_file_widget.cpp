#include "commands/transform/transform_file_widget.h"

#include <optional>
#include <utility>

#include "basic_types/matrix4x4.h"
#include "commands/transform/transform_file_dialogs.h"
#include "devices/alignment/rigid_transform_rule.h"
#include "framework/object/iptr.h"
#include "framework/registrations/class_registration.h"
#include "framework/registrations/static_constants.h"
#include "framework/translation/tr.h"
#include "host_api/file_services.h"

namespace {

const ClassRegistration<TransformFileWidget> registration(registeredClass("TransformFileWidget"));

constexpr ZelWidget::Control kBox{0, "Box"};

}  // namespace

bool TransformFileWidget::buildGui(IGuiDialog* dialog, const ZelString*) {
  reserveControls(dialog, kControlCount);
  if (!dialog) return false;
  dialog->beginReceiver(this);
  ControlId box = controlId(kBox);
  dialog->beginFramedGroupBox(box.text.c_str(), box.number, true, tr("Transform File"), true);
  for (const auto& [control, label] : {std::pair(kLoad, "Load"), std::pair(kSave, "Save")}) {
    ControlId button = controlId(control);
    dialog->addButtonAt(button.text.c_str(), button.number, tr(label), true);
  }
  dialog->endGroup();
  dialog->endReceiver();
  return true;
}

void TransformFileWidget::onGuiEvent(int32_t id, int32_t) {
  const int32_t offset = id - idBase();
  if (offset == kLoad.index) {
    load();
  } else if (offset == kSave.index && plugin_) {
    save();
  }
}

void TransformFileWidget::load() {
  Matrix4x4 matrix;
  SPtr<IGuiUtil> dialogs;
  if (!dialogs) return;
  ZelString name;
  int32_t filterIndex = 0;
  if (!dialogs->openFileDialog(name, filterIndex, emptyZelString(), transformFilesFilter(), false, nullptr))
    return;
  SPtr<ITransformUtil> transforms;
  if (!transforms || !loadTfmFile(*transforms, name, matrix.m)) return;
  // The hosting command makes it the hardware matrix.
  if (std::optional<Matrix4x4> rigid = rigidFromFile(matrix, name, Transformation::kHardware))
    notify("NewTransform", rigid->m);
}

void TransformFileWidget::save() {
  SPtr<IGuiUtil> dialogs;
  if (!dialogs) return;
  if (std::optional<TransformSavePath> path = askTransformSavePath(*dialogs, nullptr))
    writeTransformFile(*path, plugin_->hardwareMatrix().m);
}

void TransformFileWidget::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, this, static_cast<ZelWidget*>(this));
  queryWidgetChain(chain);
  querySubjectChain(chain);
}
