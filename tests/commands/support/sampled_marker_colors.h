#pragma once

// Reads back the sampled-point markers that a probing run hangs under a document object's scene node.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "framework/object/query_part.h"
#include "host/scene/host_style_nodes.h"

// The markers' colours, oldest first, printed as tuples of four floats; none without a node.
inline std::vector<std::string> sampledMarkerColors(IZelUnknown* objectNode) {
  std::vector<std::string> colors;
  auto* node = queryPart<HostNode>(objectNode);
  if (!node) return colors;
  for (const IPtr<IZelUnknown>& child : node->children()) {
    auto* group = queryPart<HostNode>(child.get());
    if (!group || group->name() != "sampled points") continue;
    for (const IPtr<IZelUnknown>& marker : group->children())
      for (const IPtr<IZelUnknown>& part : queryPart<HostNode>(marker.get())->children())
        if (auto* color = queryPart<HostColorNode>(part.get())) {
          const ColorRGBA& c = color->color();
          colors.push_back(testing::PrintToString(std::tuple(c.r, c.g, c.b, c.a)));
        }
  }
  return colors;
}

// A marker colour as sampledMarkerColors prints it.
inline std::string printedColor(const ColorRGBA& c) {
  return testing::PrintToString(std::tuple(c.r, c.g, c.b, c.a));
}
