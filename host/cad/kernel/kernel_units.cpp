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

Handle(StepBasic_MeasureValueMember) measure(const char* name, double value) {
  Handle(StepBasic_MeasureValueMember) member = new StepBasic_MeasureValueMember;
  member->SetName(name);
  member->SetReal(value);
  return member;
}

// A unit of that many metres, converted from the metre in one step, as the kernel's reader follows it.
Handle(StepBasic_NamedUnit) metresUnit(const StepUnit& length) {
  Handle(StepBasic_SiUnitAndLengthUnit) metre = new StepBasic_SiUnitAndLengthUnit;
  metre->Init(Standard_False, StepBasic_spMilli, StepBasic_sunMetre);
  StepBasic_Unit in;
  in.SetValue(metre);
  Handle(StepBasic_LengthMeasureWithUnit) factor = new StepBasic_LengthMeasureWithUnit;
  factor->Init(measure("LENGTH_MEASURE", length.size), in);
  Handle(StepBasic_DimensionalExponents) dimensions = new StepBasic_DimensionalExponents;
  dimensions->Init(1., 0., 0., 0., 0., 0., 0.);
  Handle(StepBasic_ConversionBasedUnitAndLengthUnit) unit = new StepBasic_ConversionBasedUnitAndLengthUnit;
  unit->Init(dimensions, new TCollection_HAsciiString(length.name.c_str()), factor);
  return unit;
}

// A unit of that many radians, converted from the radian in one step.
Handle(StepBasic_NamedUnit) radiansUnit(const StepUnit& angle) {
  Handle(StepBasic_SiUnitAndPlaneAngleUnit) radian = new StepBasic_SiUnitAndPlaneAngleUnit;
  radian->Init(Standard_False, StepBasic_spMilli, StepBasic_sunRadian);
  StepBasic_Unit in;
  in.SetValue(radian);
  Handle(StepBasic_PlaneAngleMeasureWithUnit) factor = new StepBasic_PlaneAngleMeasureWithUnit;
  factor->Init(measure("PLANE_ANGLE_MEASURE", angle.size), in);
  Handle(StepBasic_DimensionalExponents) dimensions = new StepBasic_DimensionalExponents;
  dimensions->Init(0., 0., 0., 0., 0., 0., 0.);
  Handle(StepBasic_ConversionBasedUnitAndPlaneAngleUnit) unit =
      new StepBasic_ConversionBasedUnitAndPlaneAngleUnit;
  unit->Init(dimensions, new TCollection_HAsciiString(angle.name.c_str()), factor);
  return unit;
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
