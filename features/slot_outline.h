#pragma once

// The outline of a slot of any of the three kinds (oval, rectangular, rounded): the outline itself names no
// interface a feature answers, so each kind is asked in turn.

#include "host_api/feature_kinds.h"

// The feature's slot outline; null for a feature that is no slot.
IZelSlotOutline* slotOutlineOf(IZelFeature* feature);
