#pragma once

// The rectangular slot ("IZelRectangularSlot"): sharp corners (host_slot_outline.h).

#include "host/document/features/host_slot_outline.h"

class HostRectangularSlot final : public HostSlotOutline<HostRectangularSlot, IZelRectangularSlot> {
 public:
  static constexpr const char* interfaceName = "HostRectangularSlot";

  double cornerRadius() const { return 0.0; }
};
