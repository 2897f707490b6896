#include "commands/features/probe_command_arguments.h"

#include <algorithm>
#include <cctype>

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

void takePair(std::string_view pair, ProbeCommandArguments& arguments) {
  const size_t equals = pair.find('=');
  if (equals == std::string_view::npos) return;
  const std::string_view key = pair.substr(0, equals);
  std::string_view value = pair.substr(equals + 1);
  value = value.substr(0, value.find('='));
  if (key.empty() || value.empty()) return;
  if (key == "IZelFeature") {
    arguments.feature = value;
  } else if (key == "IZelFeatureCollector") {
    arguments.collector = value;
  } else if (key == "UsePlane") {
    arguments.usePlane = value;
  }
}

}  // namespace

ProbeCommandArguments parseProbeCommandArguments(std::string_view text) {
  ProbeCommandArguments arguments;
  while (true) {
    const size_t comma = text.find(',');
    takePair(text.substr(0, comma), arguments);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return arguments;
}

std::optional<bool> parseUsePlane(std::string_view value) {
  if (equalsIgnoringCase(value, "true")) return true;
  if (equalsIgnoringCase(value, "false")) return false;
  return std::nullopt;
}
