#pragma once

// The stand-in host's units (the service "IUnitService"). Its own table of length units, by id:
//
//   id  unit         factor from metres
//   0   metre        1
//   1   millimetre   1000
//   2   centimetre   100
//   3   micrometre   1e6
//   4   inch         1 / 0.0254
//   5   foot         1 / 0.3048
//   6   yard         1 / 0.9144
//
// An id outside the table has no factor: unitFactor answers NaN, so a value converted with it cannot pass
// for a number. The current unit starts as millimetres. Safe on any thread.

#include <atomic>
#include <cstdint>

#include "host/api/unit_service.h"
#include "host/core/host_unknown.h"

class HostUnitService : public IUnitService, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostUnitService";
  static constexpr int32_t kMetre = 0;
  static constexpr int32_t kMillimetre = 1;
  static constexpr int32_t kCentimetre = 2;
  static constexpr int32_t kMicrometre = 3;
  static constexpr int32_t kInch = 4;
  static constexpr int32_t kFoot = 5;
  static constexpr int32_t kYard = 6;

  int32_t currentLengthUnit() override { return current_; }
  double unitFactor(int32_t unit) override;

  // False, changing nothing, for an id outside the table.
  bool setCurrentLengthUnit(int32_t unit);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::atomic<int32_t> current_{kMillimetre};
};
