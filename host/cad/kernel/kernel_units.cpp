#include "host/cad/kernel/kernel_units.h"

#include <vector>

#include <StepBasic_ConversionBasedUnitAndLengthUnit.hxx>
#include <StepBasic_ConversionBasedUnitAndPlaneAngleUnit.hxx>
#include <StepBasic_DimensionalExponents.hxx>
#include <StepBasic_HArray1OfNamedUnit.hxx>
#include <StepBasic_LengthMeasureWithUnit.hxx>
#include <StepBasic_MeasureValueMember.hxx>
#include <StepBasic_PlaneAngleMeasureWithUnit.hxx>
#include <StepBasic_SiUnitAndLengthUnit.hxx>
#include <StepBasic_SiUnitAndPlaneAngleUnit.hxx>
#include <StepBasic_Unit.hxx>
#include <StepGeom_GeomRepContextAndGlobUnitAssCtxAndGlobUncertaintyAssCtx.hxx>
#include <StepGeom_GeometricRepresentationContextAndGlobalUnitAssignedContext.hxx>
#include <StepRepr_GlobalUnitAssignedContext.hxx>
#include <TCollection_HAsciiString.hxx>

namespace {

// The unit list of a context in each of the shapes the kernel's reader gives it.
Handle(StepRepr_GlobalUnitAssignedContext) unitsOf(const Handle(Standard_Transient) & entity) {
  const auto both =
      Handle(StepGeom_GeomRepContextAndGlobUnitAssCtxAndGlobUncertaintyAssCtx)::DownCast(entity);
  if (!both.IsNull()) return both->GlobalUnitAssignedContext();
  const auto units =
      Handle(StepGeom_GeometricRepresentationContextAndGlobalUnitAssignedContext)::DownCast(entity);
  if (!units.IsNull()) return units->GlobalUnitAssignedContext();
  return Handle(StepRepr_GlobalUnitAssignedContext)::DownCast(entity);
}

bool isLength(const Handle(StepBasic_NamedUnit) & unit) {
  return unit->IsKind(STANDARD_TYPE(StepBasic_SiUnitAndLengthUnit)) ||
         unit->IsKind(STANDARD_TYPE(StepBasic_ConversionBasedUnitAndLengthUnit));
}

bool isPlaneAngle(const Handle(StepBasic_NamedUnit) & unit) {
  return unit->IsKind(STANDARD_TYPE(StepBasic_SiUnitAndPlaneAngleUnit)) ||
         unit->IsKind(STANDARD_TYPE(StepBasic_ConversionBasedUnitAndPlaneAngleUnit));
}

// A unit of that size, converted in one step from the SI unit of its kind (siName, without a prefix), as the
// kernel's reader follows it. lengthExponent is the kind's power of length: 1 for a length, 0 for a plane
// angle, which has no dimension.
template <class SiUnit, class MeasureWithUnit, class ConvertedUnit>
Handle(StepBasic_NamedUnit) convertedUnit(StepBasic_SiUnitName siName, const char* measureName,
                                          double lengthExponent, const StepUnit& size) {
  Handle(SiUnit) si = new SiUnit;
  si->Init(Standard_False, StepBasic_spMilli, siName);
  StepBasic_Unit in;
  in.SetValue(si);
  Handle(StepBasic_MeasureValueMember) value = new StepBasic_MeasureValueMember;
  value->SetName(measureName);
  value->SetReal(size.size);
  Handle(MeasureWithUnit) factor = new MeasureWithUnit;
  factor->Init(value, in);
  Handle(StepBasic_DimensionalExponents) dimensions = new StepBasic_DimensionalExponents;
  dimensions->Init(lengthExponent, 0., 0., 0., 0., 0., 0.);
  Handle(ConvertedUnit) unit = new ConvertedUnit;
  unit->Init(dimensions, new TCollection_HAsciiString(size.name.c_str()), factor);
  return unit;
}

Handle(StepBasic_NamedUnit) metresUnit(const StepUnit& length) {
  return convertedUnit<StepBasic_SiUnitAndLengthUnit, StepBasic_LengthMeasureWithUnit,
                       StepBasic_ConversionBasedUnitAndLengthUnit>(StepBasic_sunMetre, "LENGTH_MEASURE", 1.,
                                                                   length);
}

Handle(StepBasic_NamedUnit) radiansUnit(const StepUnit& angle) {
  return convertedUnit<StepBasic_SiUnitAndPlaneAngleUnit, StepBasic_PlaneAngleMeasureWithUnit,
                       StepBasic_ConversionBasedUnitAndPlaneAngleUnit>(StepBasic_sunRadian,
                                                                       "PLANE_ANGLE_MEASURE", 0., angle);
}

void replaceUnits(const Handle(StepRepr_GlobalUnitAssignedContext) & context,
                  const StepContextUnits& declared) {
  std::vector<Handle(StepBasic_NamedUnit)> kept;
  if (declared.length) kept.push_back(metresUnit(*declared.length));
  if (declared.planeAngle) kept.push_back(radiansUnit(*declared.planeAngle));
  for (Standard_Integer i = 1; i <= context->NbUnits(); ++i) {
    const Handle(StepBasic_NamedUnit) unit = context->UnitsValue(i);
    if (unit.IsNull()) continue;
    if ((declared.length && isLength(unit)) || (declared.planeAngle && isPlaneAngle(unit))) continue;
    kept.push_back(unit);
  }
  Handle(StepBasic_HArray1OfNamedUnit) units =
      new StepBasic_HArray1OfNamedUnit(1, static_cast<Standard_Integer>(kept.size()));
  for (size_t i = 0; i < kept.size(); ++i) units->SetValue(static_cast<Standard_Integer>(i + 1), kept[i]);
  context->SetUnits(units);
}

}  // namespace

bool putUnits(const Handle(StepData_StepModel) & model, const StepUnits& units) {
  size_t put = 0;
  for (Standard_Integer i = 1; i <= model->NbEntities(); ++i) {
    const Handle(Standard_Transient)& entity = model->Value(i);
    const auto found = units.contexts.find(static_cast<uint64_t>(model->IdentLabel(entity)));
    if (found == units.contexts.end()) continue;
    const Handle(StepRepr_GlobalUnitAssignedContext) context = unitsOf(entity);
    if (context.IsNull()) return false;
    replaceUnits(context, found->second);
    ++put;
  }
  return put == units.contexts.size();
}
