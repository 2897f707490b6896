#pragma once

// The information-window size slider: positions 1 to 10 for the scale range the key "Palpera/Tile/Scale" was
// registered with. Both directions keep their order of operations, so positions and scales round-trip as
// the host's users have always seen them (a scale of 2/3 lands on position 5, not 6).

#include <cstdint>
#include <optional>

constexpr const char* kInfoScaleKey = "Palpera/Tile/Scale";

struct ScaleRange {
  double minimum;
  double maximum;
};

// The registered range of "Palpera/Tile/Scale", or none when the key has none.
std::optional<ScaleRange> infoScaleRange();

// 1 to 10; 0 without a range.
int32_t sliderPosition(double scale, std::optional<ScaleRange> range);
// Within the range; 0.0 without one.
double sliderScale(int32_t position, std::optional<ScaleRange> range);
