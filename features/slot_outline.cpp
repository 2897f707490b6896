#include "features/slot_outline.h"

#include "framework/object/query_part.h"

IZelSlotOutline* slotOutlineOf(IZelFeature* feature) {
  if (auto* oval = queryPart<IZelOvalSlot>(feature)) return oval;
  if (auto* rectangular = queryPart<IZelRectangularSlot>(feature)) return rectangular;
  return queryPart<IZelRoundedSlot>(feature);
}
