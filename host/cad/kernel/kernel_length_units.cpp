#include "host/cad/kernel/kernel_length_units.h"

#include <vector>

#include <StepBasic_ConversionBasedUnitAndLengthUnit.hxx>
#include <StepBasic_DimensionalExponents.hxx>
#include <StepBasic_HArray1OfNamedUnit.hxx>
#include <StepBasic_LengthMeasureWithUnit.hxx>
#include <StepBasic_MeasureValueMember.hxx>
#include <StepBasic_SiUnitAndLengthUnit.hxx>
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

// A unit of that many metres, converted from the metre in one step, as the kernel's reader follows it.
Handle(StepBasic_NamedUnit) metresUnit(const StepLengthUnit& length) {
  Handle(StepBasic_SiUnitAndLengthUnit) metre = new StepBasic_SiUnitAndLengthUnit;
  metre->Init(Standard_False, StepBasic_spMilli, StepBasic_sunMetre);
  Handle(StepBasic_MeasureValueMember) value = new StepBasic_MeasureValueMember;
  value->SetName("LENGTH_MEASURE");
  value->SetReal(length.metres);
  StepBasic_Unit in;
  in.SetValue(metre);
  Handle(StepBasic_LengthMeasureWithUnit) factor = new StepBasic_LengthMeasureWithUnit;
  factor->Init(value, in);
  Handle(StepBasic_DimensionalExponents) dimensions = new StepBasic_DimensionalExponents;
  dimensions->Init(1., 0., 0., 0., 0., 0., 0.);
  Handle(StepBasic_ConversionBasedUnitAndLengthUnit) unit = new StepBasic_ConversionBasedUnitAndLengthUnit;
  unit->Init(dimensions, new TCollection_HAsciiString(length.name.c_str()), factor);
  return unit;
}

void replaceLengthUnits(const Handle(StepRepr_GlobalUnitAssignedContext) & context,
                        const StepLengthUnit& length) {
  std::vector<Handle(StepBasic_NamedUnit)> kept{metresUnit(length)};
  for (Standard_Integer i = 1; i <= context->NbUnits(); ++i) {
    const Handle(StepBasic_NamedUnit) unit = context->UnitsValue(i);
    if (!unit.IsNull() && !isLength(unit)) kept.push_back(unit);
  }
  Handle(StepBasic_HArray1OfNamedUnit) units =
      new StepBasic_HArray1OfNamedUnit(1, static_cast<Standard_Integer>(kept.size()));
  for (size_t i = 0; i < kept.size(); ++i) units->SetValue(static_cast<Standard_Integer>(i + 1), kept[i]);
  context->SetUnits(units);
}

}  // namespace

bool putLengthUnits(const Handle(StepData_StepModel) & model,
                    const std::map<uint64_t, StepLengthUnit>& contexts) {
  size_t put = 0;
  for (Standard_Integer i = 1; i <= model->NbEntities(); ++i) {
    const Handle(Standard_Transient)& entity = model->Value(i);
    const auto found = contexts.find(static_cast<uint64_t>(model->IdentLabel(entity)));
    if (found == contexts.end()) continue;
    const Handle(StepRepr_GlobalUnitAssignedContext) context = unitsOf(entity);
    if (context.IsNull()) return false;
    replaceLengthUnits(context, found->second);
    ++put;
  }
  return put == contexts.size();
}
