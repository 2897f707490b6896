#pragma once

// The oval slot ("IZelOvalSlot"): its ends are half circles of the slot's width (host_slot_outline.h).

#include "host/document/features/host_slot_outline.h"

class HostOvalSlot final : public HostSlotOutline<HostOvalSlot, IZelOvalSlot> {
 public:
  static constexpr const char* interfaceName = "HostOvalSlot";

  double cornerRadius() const { return std::fabs(shape().width) / 2.0; }
};
