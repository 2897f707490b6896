#pragma once

// The stand-in host's units (the service "IUnitService"), with the table and the contract of
// host_api/unit_service.h. The current unit starts as the millimetre.

#include <atomic>
#include <cstdint>

#include "host/core/host_unknown.h"
#include "host_api/unit_service.h"

class HostUnitService : public IUnitService, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostUnitService";
  static constexpr int32_t kInch = 0;
  static constexpr int32_t kMillimetre = 1;
  static constexpr int32_t kFoot = 2;
  static constexpr int32_t kCentimetre = 3;
  static constexpr int32_t kMicrometre = 4;
  static constexpr int32_t kMetre = 7;
  static constexpr int32_t kOpenModel = 0;

  int32_t currentLengthUnit() override { return current_; }
  double modelScale(int32_t model) override;
  double unitFactor(int32_t unit) override;
  bool setCurrentLengthUnit(int32_t unit) override;
  ZelString unitName(int32_t unit) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::atomic<int32_t> current_{kMillimetre};
};
