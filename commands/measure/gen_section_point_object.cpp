#include "commands/measure/gen_section_point_object.h"

#include "framework/commands/command_context.h"
#include "framework/object/host_lookup.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"
#include "gen/palpera/palpera_cross_section_fitters.h"
#include "host_api/zel_phase.h"

namespace {
const ClassRegistration<GenSectionPointObject> registration(registeredClass("GenSectionPointObject"));

constexpr int32_t kWorkingSizeQuery = 1;
constexpr const char* kPointType = "Point";
}  // namespace

GenSectionPointObject::GenSectionPointObject() {
  name_ = tr("Cross Section Points");
}

bool GenSectionPointObject::canRun(IZelUnknown* context) {
  return contextReady(context) && contextAllowsType(context, kPointType);
}

void GenSectionPointObject::createGui(IGuiDialog* dialog) {
  if (!dialog) return;
  dialog->addControl(kMainBox, "group", ZelString(u"MainBox"));
  dialog->addControl(kSliceOptions, "group", ZelString(u"SliceOptions"));
  dialog->setControlText(kSliceOptions, tr("Point Options"));
  dialog->addControl(kSliceDepth, "length", ZelString(u"SliceDepth"));
  dialog->setControlText(kSliceDepth, tr("Slice Thickness"));
  curveWidget_ = new FitCrossSectionPointsWidget(this, kPanelKind);
  curveWidget_->setName("GenSectionPointObjectCurveWidegt");
  curveWidget_->buildGui(dialog, nullptr);
}

bool GenSectionPointObject::activate() {
  SPtr<IPhaseService> phases;
  SPtr<IZelDoc> document;
  if (phases && document)
    pointObject_ = document->objectOfKind(phases->kindByName(kPointType), IZelDoc::kAnyPhase, 0);
  pointArray_ = getPointArray(pointObject_.get());
  if (curveWidget_) {
    curveWidget_->setWorkingSize(containerQuery(kWorkingSizeQuery));
    curveWidget_->activate();
  }
  return true;
}

void GenSectionPointObject::deactivate() {
  if (curveWidget_) curveWidget_->deactivate();
  createdObjects_.clear();
  pointArray_.release();
  pointObject_.release();
}

void GenSectionPointObject::queryInterface(const char* name, void** out, bool) {
  queryCommand(name, out, interfaceName, this);
}
