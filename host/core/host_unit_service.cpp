#include "host/core/host_unit_service.h"

#include <array>
#include <limits>

#include "framework/object/query_chain.h"

namespace {

// Indexed by unit id; exact definitions of each unit in metres.
constexpr std::array<double, 7> kFactors{
    1.0, 1000.0, 100.0, 1e6, 1.0 / 0.0254, 1.0 / 0.3048, 1.0 / 0.9144,
};

bool isKnown(int32_t unit) {
  return unit >= 0 && static_cast<size_t>(unit) < kFactors.size();
}

}  // namespace

double HostUnitService::unitFactor(int32_t unit) {
  return isKnown(unit) ? kFactors[static_cast<size_t>(unit)] : std::numeric_limits<double>::quiet_NaN();
}

bool HostUnitService::setCurrentLengthUnit(int32_t unit) {
  if (!isKnown(unit)) return false;
  current_ = unit;
  return true;
}

void HostUnitService::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IUnitService>(this).end();
}
