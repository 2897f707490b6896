#pragma once

// The rounded slot ("IZelRoundedSlot"): corners rounded to its corner diameter (host_slot_outline.h).

#include "host/document/features/host_slot_outline.h"

class HostRoundedSlot final : public HostSlotOutline<HostRoundedSlot, IZelRoundedSlot> {
 public:
  static constexpr const char* interfaceName = "HostRoundedSlot";

  void setCornerDiameter(double diameter) override { shape().cornerDiameter = diameter; }
  double cornerDiameter() override { return shape().cornerDiameter; }
  double cornerRadius() const { return std::fabs(shape().cornerDiameter) / 2.0; }
};
