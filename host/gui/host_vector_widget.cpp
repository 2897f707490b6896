#include "host/gui/host_vector_widget.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "host_api/gui_dialog.h"
#include "host_api/unit_service.h"

namespace {

// Metres to the host's current length unit; 1 without a unit service.
double unitFactor() {
  SPtr<IUnitService> units;
  return units ? units->unitFactor(units->currentLengthUnit()) : 1.0;
}

}  // namespace

bool HostVectorWidget::build(IGuiDialog* dialog, int32_t id, const char* name, const ZelString& label) {
  if (!dialog) return false;
  dialog_ = dialog;
  id_ = id;
  const int32_t labelId = dialog->reserveControlIds(1);
  dialog->addControl(labelId, "label", ZelString((std::string(name) + ":Label").c_str()));
  dialog->setControlText(labelId, label);
  if (!dialog->addControl(id, "text", ZelString(name))) return false;
  setVector(point_);
  return true;
}

void HostVectorWidget::setEditable(bool editable) {
  if (dialog_) dialog_->enableControl(id_, editable, IGuiDialog::kEnableDefault);
}

void HostVectorWidget::setVector(const Vector3& point) {
  point_ = point;
  if (!dialog_) return;
  const double factor = unitFactor();
  char text[128];
  std::snprintf(text, sizeof text, "%.4f, %.4f, %.4f", point.x * factor, point.y * factor, point.z * factor);
  dialog_->setControlText(id_, ZelString(text));
}

bool HostVectorWidget::takeText(const ZelString& typed) {
  std::string text = typed.toUtf8();
  for (char& c : text) {
    if (c == ',') c = ' ';
  }
  double values[3];
  const char* at = text.c_str();
  for (double& value : values) {
    char* end = nullptr;
    value = std::strtod(at, &end);
    if (end == at || !std::isfinite(value)) return false;
    at = end;
  }
  while (*at == ' ') ++at;
  if (*at != '\0') return false;
  const double factor = unitFactor();
  point_ = {values[0] / factor, values[1] / factor, values[2] / factor};
  return true;
}

void HostVectorWidget::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelVectorWidget>(this).end();
}
