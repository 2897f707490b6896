#include "commands/measure/gen_fit_cross_section_points.h"

#include "framework/memory/assertion.h"
#include "framework/object/host_lookup.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"
#include "host_api/spectrum_prim_fitter.h"
#include "host_api/zel_error_service.h"
#include "host_api/zel_phase.h"

namespace {
const ClassRegistration<GenFitCrossSectionPoints> registration(registeredClass("GenFitCrossSectionPoints"));

constexpr int32_t kWorkingSizeQuery = 1;
// How far a point may lie off its set's plane, as a part of the working size.
constexpr double kPlanarTolerance = 0.01;
}  // namespace

GenFitCrossSectionPoints::GenFitCrossSectionPoints() {
  name_ = tr("Fit Planar Points");
}

void GenFitCrossSectionPoints::createGui(IGuiDialog* dialog) {
  if (!dialog) return;
  dialog->beginGroup("MainBox", 1, ZelString(), true);
  curveWidget_ = new FitCrossSectionPointsWidget(this, kPanelKind);
  curveWidget_->setName("FitCrossSectionPointsWidget");
  curveWidget_->buildGui(dialog, nullptr);
  dialog->endGroup();
}

bool GenFitCrossSectionPoints::activate() {
  SPtr<IPhaseService> phases;
  SPtr<IZelDoc> document;
  const double size = containerQuery(kWorkingSizeQuery);
  bool planar = true;
  if (phases && document) {
    const int32_t kind = phases->kindByName("Point");
    for (int32_t i = 0; IZelDocObject* object = document->objectOfKind(kind, IZelDoc::kAnyPhase, i); ++i) {
      if (IPtr<SectionData> section = sectionOf(object, kPlanarTolerance * size, planar))
        sections_.push_back(std::move(section));
    }
  }
  SPtr<IZelErrorService> errors;
  if (!planar && errors) errors->report(tr("Some point sets are not planar."), 1, emptyZelCString());
  if (curveWidget_) {
    curveWidget_->setWorkingSize(size);
    curveWidget_->activate();
  }
  return true;
}

IPtr<SectionData> GenFitCrossSectionPoints::sectionOf(IZelDocObject* object, double tolerance, bool& planar) {
  RealPArray* points = getPointArray(object);
  if (!points) return {};
  SectionPlane plane{};
  SPtr<ISpectrumPrimFitter> fitter;
  if (fitter) fitter->fitPlane(plane.data(), points, 0, 0, 0, 0, 0);
  for (int32_t i = 1; i <= points->count(); ++i) {
    const double* p = points->at(i);
    // One-sided and not divided by |n|: the fitter's normal is of unit length.
    if (plane[0] * p[0] + plane[1] * p[1] + plane[2] * p[2] - plane[3] > tolerance) planar = false;
  }
  return IPtr<SectionData>(new SectionData(plane, points));
}

void GenFitCrossSectionPoints::deactivate() {
  if (curveWidget_) curveWidget_->deactivate();
  createdObjects_.clear();
  sections_.clear();
}

uint32_t GenFitCrossSectionPoints::hostQuery33() {
  reportAssertion("false", "genfitcrosssectionpoints", 215);
  return 0;
}

void GenFitCrossSectionPoints::queryInterface(const char* name, void** out, bool) {
  queryCommand(name, out, interfaceName, this);
}
