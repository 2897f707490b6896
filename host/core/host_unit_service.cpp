#include "host/core/host_unit_service.h"

#include <limits>

#include "framework/object/query_chain.h"

namespace {

struct Unit {
  int32_t code;
  const char16_t* name;
  double factor;  // exact definitions of each unit in metres
};

constexpr Unit kUnits[] = {
    {HostUnitService::kInch, u"in", 1.0 / 0.0254},   {HostUnitService::kMillimetre, u"mm", 1000.0},
    {HostUnitService::kFoot, u"ft", 1.0 / 0.3048},   {HostUnitService::kCentimetre, u"cm", 100.0},
    {HostUnitService::kMicrometre, u"\u00b5m", 1e6}, {HostUnitService::kMetre, u"m", 1.0},
};

const Unit* unitOf(int32_t code) {
  for (const Unit& unit : kUnits) {
    if (unit.code == code) return &unit;
  }
  return nullptr;
}

constexpr double kNoNumber = std::numeric_limits<double>::quiet_NaN();

}  // namespace

double HostUnitService::modelScale(int32_t model) {
  return model == kOpenModel ? 1.0 : kNoNumber;
}

double HostUnitService::unitFactor(int32_t unit) {
  const Unit* known = unitOf(unit);
  return known ? known->factor : kNoNumber;
}

bool HostUnitService::setCurrentLengthUnit(int32_t unit) {
  if (!unitOf(unit)) return false;
  current_ = unit;
  return true;
}

ZelString HostUnitService::unitName(int32_t unit) {
  const Unit* known = unitOf(unit);
  return ZelString(known ? known->name : u"");
}

void HostUnitService::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IUnitService>(this).end();
}
