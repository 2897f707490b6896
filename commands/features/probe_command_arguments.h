#pragma once

// The argument text the host starts the feature-probing command with: comma-separated key=value pairs such
// as "IZelFeature=IZelPlane,IZelFeatureCollector=Plane,UsePlane=false". The text is taken as it is: nothing
// is trimmed and keys match exactly, case included, so "IZelFeature =IZelPlane" names no key. A pair without
// a value or a key, and a key other than the three, is skipped; a later pair replaces an earlier value of its
// key; a second '=' ends the value.

#include <optional>
#include <string>
#include <string_view>

struct ProbeCommandArguments {
  std::string feature;    // "IZelFeature": the feature interface name
  std::string collector;  // "IZelFeatureCollector": the collector name
  std::string usePlane;   // "UsePlane": "true" or "false" in any case
};

ProbeCommandArguments parseProbeCommandArguments(std::string_view text);

// "true" or "false" in any case; nothing for any other text.
std::optional<bool> parseUsePlane(std::string_view value);
