#pragma once

// The move-device wizard's saved state in the host data store, under the group
// "Plugins/" + plug-in name + "/MoveDeviceWidget": the wizard's step ("State") and eight slots per point
// list, each slot E = group + "/" + list prefix ("Ref" or "Tar") + slot number + "_" holding E + "X", "Y",
// "Z" (metres), "Type" (the kind: 7, 9 or 11) and "Name" (empty: a free slot). Every item is a user setting.

#include <cstdint>
#include <string>

#include "basic_types/zel_string.h"
#include "host_api/data_store.h"

namespace move_device_keys {

inline constexpr uint32_t kFlags = 3;
inline constexpr int32_t kSlots = 8;
inline constexpr int32_t kNameLength = 256;
// The range of a stored coordinate: that of a float, so the host may keep it in one.
inline constexpr double kCoordinateLimit = 3.4028234663852886e38;
inline constexpr int32_t kLastStep = 4;

// The group of the plug-in's wizard state; registers it (with the groups above it) when store is given.
std::string group(const ZelString& pluginName, IDataStore* store = nullptr);
inline std::string state(const std::string& group) {
  return group + "/State";
}
// The entry key E of a slot, to which the field name ("X", "Name", ...) is appended.
inline std::string entry(const std::string& group, const char* prefix, int32_t slot) {
  return group + "/" + prefix + std::to_string(slot) + "_";
}

}  // namespace move_device_keys
