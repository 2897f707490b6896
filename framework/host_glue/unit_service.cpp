#include "framework/host_glue/unit_service.h"

#include "framework/object/iptr.h"
#include "host_api/unit_service.h"

namespace UnitService {

int32_t currentLengthUnit() {
  SPtr<IUnitService> units;
  return units ? units->currentLengthUnit() : kDefaultLengthUnit;
}

double unitFactor(int32_t unit) {
  SPtr<IUnitService> units;
  return units ? units->unitFactor(unit) : 1.0;
}

double modelScale(int32_t model) {
  SPtr<IUnitService> units;
  return units ? units->modelScale(model) : 1.0;
}

bool setCurrentLengthUnit(int32_t unit) {
  SPtr<IUnitService> units;
  return units && units->setCurrentLengthUnit(unit);
}

ZelString unitName(int32_t unit) {
  SPtr<IUnitService> units;
  return units ? units->unitName(unit) : ZelString();
}

}  // namespace UnitService
