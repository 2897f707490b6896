#include "framework/host_glue/length_text.h"

#include <algorithm>
#include <cstdio>

#include "framework/host_glue/unit_service.h"
#include "framework/object/iptr.h"
#include "framework/translation/tr.h"
#include "host_api/data_store.h"

namespace {

constexpr const char* kDecimalPlacesKey = "General/Decimal Places";
// A double holds no more significant decimals than this; more would only print noise.
constexpr int32_t kMostDecimalPlaces = 17;

}  // namespace

int32_t userDecimalPlaces() {
  SPtr<IDataStore> store;
  const int32_t places = store ? store->getInt(kDecimalPlacesKey, 0) : 0;
  return std::clamp(places, 0, kMostDecimalPlaces);
}

ZelString userLengthText(double metres) {
  const int32_t unit = UnitService::currentLengthUnit();
  char digits[400];  // room for the widest double in fixed notation with the most places
  std::snprintf(digits, sizeof digits, "%.*f", userDecimalPlaces(), metres * UnitService::unitFactor(unit));
  return tr("%1 %2", ZelString(digits), UnitService::unitName(unit));
}
