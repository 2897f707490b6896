#include "ui/options/info_size_slider.h"

#include <algorithm>

#include "framework/object/iptr.h"
#include "host_api/data_store.h"

namespace {

constexpr int32_t kFirstPosition = 1;
constexpr int32_t kLastPosition = 10;
constexpr double kSteps = kLastPosition - kFirstPosition;

}  // namespace

std::optional<ScaleRange> infoScaleRange() {
  SPtr<IDataStore> store;
  if (!store) return std::nullopt;
  ScaleRange range{};
  bool known = false;
  store->getRange(kInfoScaleKey, &range.minimum, &range.maximum, &known);
  return known ? std::optional<ScaleRange>(range) : std::nullopt;
}

int32_t sliderPosition(double scale, std::optional<ScaleRange> range) {
  if (!range) return 0;
  const double k = 1.0 / (range->maximum - range->minimum);
  const double position =
      static_cast<double>(static_cast<int64_t>((k * scale - k * range->minimum) * kSteps + 0.5));
  return std::clamp(static_cast<int32_t>(position) + kFirstPosition, kFirstPosition, kLastPosition);
}

double sliderScale(int32_t position, std::optional<ScaleRange> range) {
  if (!range) return 0.0;
  const double k = 1.0 / (range->maximum - range->minimum);
  const double scale = ((position - kFirstPosition) / kSteps + k * range->minimum) / k;
  if (scale < range->minimum) return range->minimum;
  if (scale >= range->maximum) return range->maximum;
  return scale;
}
