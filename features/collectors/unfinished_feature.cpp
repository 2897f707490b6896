#include "features/collectors/unfinished_feature.h"

#include "features/collectors/feature_collector_base.h"
#include "features/collectors/quick_probe_slot_collectors.h"
#include "framework/translation/tr.h"

namespace {

void addCount(TouchCount& count, IZelFeatureCollector* collector) {
  auto* base = queryPart<FeatureCollectorBase>(collector);
  if (!base) return;
  count.taken += static_cast<int32_t>(base->sampledPoints().size());
  count.required += base->pointsRequired();
  for (const IPtr<IZelFeatureCollector>& child : base->children()) addCount(count, child.get());
  if (auto* slot = dynamic_cast<QuickProbeSlotCollector*>(base)) {
    for (const IPtr<IZelFeatureCollector>& component : slot->componentCollectors())
      addCount(count, component.get());
  }
}

}  // namespace

TouchCount touchCount(IZelFeatureCollector& collector) {
  TouchCount count;
  addCount(count, &collector);
  return count;
}

ZelString whatFeatureNeeds(const ZelString& feature, IZelFeatureCollector& collector) {
  const TouchCount count = touchCount(collector);
  if (count.taken < count.required)
    return tr("%1 needs %2 touches and has %3.", feature, ZelString::number(count.required),
              ZelString::number(count.taken));
  return tr(
      "%1 cannot be made from its %2 touches, which do not settle one; add touches spread wider over it.",
      feature, ZelString::number(count.taken));
}
