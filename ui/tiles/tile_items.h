#pragma once

// The short item names of the tile facade and the data-store keys they write, one table per kind of value.

#include <array>
#include <string_view>

struct TileItem {
  std::string_view name;
  const char* key;
};

inline constexpr const char* kTileClearEvent = "Palpera/Tile/Clear";
inline constexpr const char* kTileActiveKey = "Palpera/Tile/Active";
inline constexpr const char* kTileFullInstructionsKey = "Palpera/Tile/FullInstructions";

inline constexpr std::array<TileItem, 1> kInstructionsItems{{
    {"FullInstructions", kTileFullInstructionsKey},
}};

inline constexpr std::array<TileItem, 3> kTextItems{{
    {"FeatureName", "Palpera/Tile/FeatureName"},
    {"BriefInstructions", "Palpera/Tile/BriefInstructions"},
    {"DimensionHeader", "Palpera/Tile/DimensionHeader"},
}};

// A vector item writes three keys, x, y and z in that order.
struct TileVectorItem {
  std::string_view name;
  std::array<const char*, 3> keys;
};

inline constexpr std::array<TileVectorItem, 1> kVectorItems{{
    {"RealTimeDeviation",
     {"Palpera/Tile/RealTimeDeviationX", "Palpera/Tile/RealTimeDeviationY",
      "Palpera/Tile/RealTimeDeviationZ"}},
}};

inline constexpr std::array<TileItem, 6> kValueItems{{
    {"FeatureStandardDeviation", "Palpera/Tile/FeatureStandardDeviation"},
    {"FeatureMaxNegativeDistance", "Palpera/Tile/FeatureMaxNegativeDistance"},
    {"FeatureMaxPositiveDistance", "Palpera/Tile/FeatureMaxPositiveDistance"},
    {"RealTimeDeviation", "Palpera/Tile/RealTimeDeviation"},
    {"DimensionDistance", "Palpera/Tile/DimensionDistance"},
    {"DimensionAngle", "Palpera/Tile/DimensionAngle"},
}};

inline constexpr std::array<TileItem, 8> kFlagItems{{
    {"PointsTaken", "Palpera/Tile/NumPointsTaken"},
    {"PointsRequired", "Palpera/Tile/NumPointsRequired"},
    {"ShowFeatureInfo", "Palpera/Tile/FeatureInfoVisible"},
    {"ShowFeatureStatistics", "Palpera/Tile/FeatureStatisticsVisible"},
    {"ShowBriefInstructions", "Palpera/Tile/BriefInstructionsVisible"},
    {"RealTimeDeviationStatus", "Palpera/Tile/RealTimeDeviationStatus"},
    {"DimensionDistanceVisible", "Palpera/Tile/DimensionDistanceVisible"},
    {"DimensionAngleVisible", "Palpera/Tile/DimensionAngleVisible"},
}};

// The entry of a table named item, or null; a null item names nothing.
template <class Table>
const typename Table::value_type* findTileItem(const Table& table, const char* item) {
  if (!item) return nullptr;
  for (const auto& entry : table) {
    if (entry.name == item) return &entry;
  }
  return nullptr;
}
