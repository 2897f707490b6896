#pragma once

// The nodes of one kind anywhere below a node of the stand-in host's scene, in drawing order.

#include <vector>

#include "framework/object/query_part.h"
#include "host/scene/host_scene_nodes.h"

template <class T>
std::vector<T*> nodesUnder(HostNode& node) {
  std::vector<T*> found;
  for (const IPtr<IZelUnknown>& child : node.children()) {
    if (auto* part = queryPart<T>(child.get())) found.push_back(part);
    if (auto* inner = queryPart<HostNode>(child.get())) {
      for (T* deeper : nodesUnder<T>(*inner)) found.push_back(deeper);
    }
  }
  return found;
}
