#include "commands/measure/fit_cross_section_points_widget.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "commands/measure/curve_number.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "framework/translation/tr.h"
#include "host_api/data_store.h"
#include "host_api/gui_page.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_phase.h"

namespace {
constexpr const char* kCreaseAngleSetting = "Advanced/Section Crease Angle";
// The document's enumeration kind of curve objects.
constexpr int32_t kCurveKind = 2;
constexpr const char* kFourDecimals = "%.4f";
constexpr const char* kWholeNumber = "%.0f";
constexpr int32_t kInitialControlPoints = 20;

// The rows in the order they are made.
constexpr std::array kRowOrder{
    FitCrossSectionPointsWidget::kName,          FitCrossSectionPointsWidget::kConnectivity,
    FitCrossSectionPointsWidget::kOffset,        FitCrossSectionPointsWidget::kCreaseAngle,
    FitCrossSectionPointsWidget::kCurveType,     FitCrossSectionPointsWidget::kFittingMethod,
    FitCrossSectionPointsWidget::kFitting,       FitCrossSectionPointsWidget::kDistance,
    FitCrossSectionPointsWidget::kTolerance,     FitCrossSectionPointsWidget::kLineArcTolerance,
    FitCrossSectionPointsWidget::kControlPoints, FitCrossSectionPointsWidget::kTension,
    FitCrossSectionPointsWidget::kFlipOffset,    FitCrossSectionPointsWidget::kMultipleCurveObjects,
};

struct Row {
  const char* kind;
  const char16_t* name;
  const char* label;
  std::array<const char*, 3> entries;  // a drop-down's, up to the first null
};

// By control offset; the group (offset 0) is made apart.
constexpr std::array<Row, FitCrossSectionPointsWidget::kControlCount> kRows{{
    {"group", u"MainBox", "Curve Fitting", {}},
    {"dropdown", u"ClosedOpenType", "Connectivity", {"Auto", "Open", "Closed"}},
    {"text", u"Name", "Name", {}},
    {"length", u"Offset", "Offset", {}},
    {"check", u"FlipOffset", "Flip Offset Direction", {}},
    {"number", u"CreaseAngle", "Crease Angle", {}},
    {"dropdown", u"FittingType", "Curve Type", {"Spline", "Line/Arc"}},
    {"dropdown", u"FittingMethod", "Fitting Type", {"Local", "Global"}},
    {"dropdown", u"Fitting", "Fitting", {"Distance", "Tolerance", "Constant"}},
    {"length", u"Distance", "Distance", {}},
    {"length", u"Tolerance", "Tolerance", {}},
    {"length", u"LineArcTolerance", "Tolerance", {}},
    {"number", u"Constant", "Control Points", {}},
    {"number", u"Fairness", "Tension", {}},
    {"check", u"MultipleCurveObjects", "Create Multiple Curve Objects", {}},
}};
}  // namespace

bool FitCrossSectionPointsWidget::buildGui(IGuiDialog* dialog, const ZelString* title) {
  if (!dialog) return false;
  reserveControls(dialog, kControlCount);
  dialog->beginReceiver(this);
  dialog->addControl(id(kMainBox), kRows[kMainBox].kind, ZelString(kRows[kMainBox].name));
  dialog->setControlText(id(kMainBox), !title || title->isEmpty() ? tr("Curve Fitting") : *title);
  IGuiBaseV3* batch = queryPart<IGuiBaseV3>(dialog);
  if (batch) batch->beginBatch();
  for (int32_t offset : kRowOrder) {
    const Row& row = kRows[static_cast<size_t>(offset)];
    dialog->addControl(id(offset), row.kind, ZelString(row.name));
    dialog->setControlText(id(offset), tr(row.label));
    for (const char* entry : row.entries) {
      if (entry) dialog->addListEntry(id(offset), tr(entry));
    }
  }
  if (batch) batch->endBatch();
  dialog->endReceiver();

  dialog->selectListEntry(id(kConnectivity), 0);
  setNumberField(kOffset, 0.0, 1.0, 0.0);
  dialog->setControlValue(id(kFlipOffset), 0.0);
  dialog->setNumberFormat(id(kCreaseAngle), kFourDecimals, 0.0, 180.0);
  dialog->selectListEntry(id(kCurveType), kSpline);
  dialog->selectListEntry(id(kFittingMethod), kLocal);
  dialog->selectListEntry(id(kFitting), kByDistance);
  dialog->setNumberFormat(id(kControlPoints), kWholeNumber, 4.0, 1000.0);
  dialog->setControlValue(id(kControlPoints), kInitialControlPoints);
  setNumberField(kTension, 0.0, 1.0, 0.0);
  dialog->setControlValue(id(kMultipleCurveObjects), 1.0);
  return true;
}

bool FitCrossSectionPointsWidget::activate() {
  if (!dialog()) return false;
  reset(nextFreeCurveNumber());
  return true;
}

void FitCrossSectionPointsWidget::reset(int32_t n) {
  IGuiDialog* dialog = this->dialog();
  if (!dialog) return;
  const double s = workingSize_;
  setNumberField(kDistance, s * 1e-6, s, s * 0.01);
  setNumberField(kTolerance, s * 1e-7, s, s * 0.001);
  setNumberField(kLineArcTolerance, s * 1e-7, s, s * 0.002);
  dialog->setControlText(id(kName), tr("Curves %1", ZelString::number(n)));
  SPtr<IDataStore> settings;
  if (settings) dialog->setControlValue(id(kCreaseAngle), settings->getDouble(kCreaseAngleSetting, 0.0));
  dialog->selectListEntry(id(kConnectivity), 0);
  updateSwitchedStates();
}

void FitCrossSectionPointsWidget::setNumberField(int32_t offset, double minimum, double maximum,
                                                 double value) {
  dialog()->setNumberFormat(id(offset), kFourDecimals, minimum, maximum);
  dialog()->setControlValue(id(offset), value);
}

// The box alone holds the choice, clicked or given a value, so what it shows is what finish, apply and the
// other section commands read.
bool FitCrossSectionPointsWidget::flipOffset() {
  return dialog() && value(kFlipOffset) != 0.0;
}

void FitCrossSectionPointsWidget::onGuiValue(int32_t id, double value) {
  if (id != this->id(kCreaseAngle)) return;
  SPtr<IDataStore> settings;
  if (settings) settings->setDouble(nullptr, kCreaseAngleSetting, value);
}

void FitCrossSectionPointsWidget::onGuiValueChanged(int32_t, int32_t) {
  updateSwitchedStates();
}

void FitCrossSectionPointsWidget::updateSwitchedStates() {
  const bool spline = selection(kCurveType) == kSpline;
  const int32_t fitting = selection(kFitting);
  IGuiDialog* dialog = this->dialog();
  dialog->setControlFlag(id(kCreaseAngle), spline);
  dialog->setControlFlag(id(kFitting), spline);
  dialog->setControlFlag(id(kDistance), spline && fitting == kByDistance);
  dialog->setControlFlag(id(kTolerance), spline && fitting == kByTolerance);
  dialog->setControlFlag(id(kLineArcTolerance), !spline);
  dialog->setControlFlag(id(kControlPoints), spline && fitting == kConstant);
  dialog->setControlFlag(id(kTension), spline);
  dialog->setControlFlag(id(kFittingMethod), selection(kCurveType) == kLineArc);
}

void FitCrossSectionPointsWidget::fillCurveFitData(ICurveFitData* data) {
  if (!data || !dialog()) return;
  data->setTension(value(kTension));
  int32_t mode = -1;
  if (selection(kCurveType) == kSpline) {
    switch (selection(kFitting)) {
      case kByDistance:
        data->setSpacing(value(kDistance), -1.0);
        mode = ICurveFitDataV2::kSplineByDistance;
        break;
      case kByTolerance:
        data->setTolerance(value(kTolerance));
        mode = ICurveFitDataV2::kSplineByTolerance;
        break;
      case kConstant:
        data->setControlPoints(static_cast<int32_t>(std::lround(value(kControlPoints))));
        mode = ICurveFitDataV2::kSplineByControlPoints;
        break;
      default:
        return;
    }
  } else if (selection(kCurveType) == kLineArc) {
    data->setTolerance(value(kLineArcTolerance));
    mode = selection(kFittingMethod) == kGlobal ? ICurveFitDataV2::kLineArcGlobal
                                                : ICurveFitDataV2::kLineArcLocal;
  } else {
    return;
  }
  void* extended = nullptr;
  data->queryInterface(ICurveFitDataV2::interfaceName, &extended, false);
  if (extended) static_cast<ICurveFitDataV2*>(extended)->setMode(mode);
}

int32_t FitCrossSectionPointsWidget::nextFreeCurveNumber() {
  SPtr<IPhaseService> phases;
  SPtr<IZelDoc> document;
  int32_t n = 1;
  if (!phases || !document) return n;
  const int32_t phase = phases->currentPhase();
  for (int32_t i = 0; IZelDocObject* object = document->objectOfKind(kCurveKind, phase, i); ++i) {
    ZelString name = object->objectName();
    if (std::optional<int32_t> v = curveNumber(name.c_str())) n = std::max(n, *v + 1);
  }
  return n;
}

double FitCrossSectionPointsWidget::value(int32_t offset) {
  double value = 0.0;
  dialog()->getControlValue(id(offset), &value);
  return value;
}

int32_t FitCrossSectionPointsWidget::selection(int32_t offset) {
  return dialog()->listSelection(id(offset));
}

void FitCrossSectionPointsWidget::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, this, static_cast<IZelUnknown*>(static_cast<ZelWidget*>(this)));
  queryWidgetChain(chain);
}
